@echo off
rem Removes what install.bat put on this machine. Run it from the package
rem folder in a command prompt with administrator rights. It runs
rem padremove.exe, removes the keys of unregister.reg from every registry view
rem and deletes the files of each half's manifest.txt from its system folder.
rem Running it again changes nothing more.
setlocal EnableExtensions

if defined PROCESSOR_ARCHITEW6432 (
  "%SystemRoot%\Sysnative\cmd.exe" /c "%~f0"
  exit /b %errorlevel%
)

set "PACKAGE=%~dp0"
set "NATIVE=%PACKAGE%"
if /i not "%PROCESSOR_ARCHITECTURE%"=="x86" set "NATIVE=%PACKAGE%x64\"
pushd "%PACKAGE%"

if exist "%SystemRoot%\System32\padremove.exe" (
  start "" /wait "%SystemRoot%\System32\padremove.exe"
) else if exist "%NATIVE%padremove.exe" (
  start "" /wait "%NATIVE%padremove.exe"
)
if /i "%PROCESSOR_ARCHITECTURE%"=="x86" (
  regedit /s "%PACKAGE%unregister.reg"
) else (
  rem Each key of unregister.reg by name, in both views.
  for /f "usebackq tokens=1 delims=[]" %%k in ("unregister.reg") do call :unregister "%%k"
)

rem The parents padsetup creates where they are missing go when nothing else
rem lives in them, deepest first; the system's own keep what they hold.
set "MEDIA=HKLM\System\CurrentControlSet\Control\MediaProperties"
set "JOYSTICK=%MEDIA%\PrivateProperties\Joystick"
for %%k in ("%JOYSTICK%\OEM" "%JOYSTICK%" "%MEDIA%\PrivateProperties" "%MEDIA%" "HKLM\Enum\HID" "HKLM\Enum") do call :prune %%k

if /i "%PROCESSOR_ARCHITECTURE%"=="x86" (
  call :half "%PACKAGE%" "%SystemRoot%\System32"
) else (
  call :half "%PACKAGE%" "%SystemRoot%\SysWOW64"
  call :half "%PACKAGE%x64\" "%SystemRoot%\System32"
)

popd
echo The pad's software is removed.
exit /b 0

:unregister
set "KEY=%~1"
if not "%KEY:~0,1%"=="-" goto :eof
reg delete "%KEY:~1%" /reg:32 /f >nul 2>&1
reg delete "%KEY:~1%" /reg:64 /f >nul 2>&1
goto :eof

:half
rem Deletes the files of one half's manifest.txt from one system folder, then
rem the pad's own data folders there once they are empty, deepest first.
set "FROMDIR=%~1"
set "SYSDIR=%~2"
if exist "%FROMDIR%manifest.txt" (
  pushd "%FROMDIR%"
  for /f "usebackq eol=# tokens=1,2" %%a in ("manifest.txt") do call :remove "%%a" "%%b"
  popd
)
for %%d in (Zororo\Image Zororo\Wav Zororo) do rd "%SYSDIR%\%%d" 2>nul
goto :eof

:remove
set "FROM=%~1"
set "TO=%~2"
set "FROM=%FROM:/=\%"
set "TO=%TO:/=\%"
if "%TO%"=="." (set "TO=%SYSDIR%") else set "TO=%SYSDIR%\%TO%"
rem Manifest paths hold no spaces, so the pattern goes unquoted.
for %%f in (%FROM%) do if exist "%TO%\%%~nxf" del /f /q "%TO%\%%~nxf"
goto :eof

:prune
rem An empty key lists its own name and nothing else.
set "KEY=%~1"
set LINES=0
for /f "delims=" %%l in ('reg query "%KEY%" 2^>nul') do set /a LINES+=1
if "%LINES%"=="1" reg delete "%KEY%" /f >nul 2>&1
goto :eof
