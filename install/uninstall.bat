@echo off
rem Removes what install.bat put on this machine. Run it from the package
rem folder in a command prompt with administrator rights. It runs padremove.exe,
rem imports unregister.reg and deletes the files of manifest.txt from the
rem system directory. Running it again changes nothing more.
setlocal EnableExtensions

if /i "%PROCESSOR_ARCHITECTURE%"=="AMD64" if not defined PROCESSOR_ARCHITEW6432 (
  "%SystemRoot%\SysWOW64\cmd.exe" /c "%~f0"
  exit /b %errorlevel%
)
set "REGEDIT=regedit"
if defined PROCESSOR_ARCHITEW6432 set "REGEDIT=%SystemRoot%\SysWOW64\regedit.exe"

set "PACKAGE=%~dp0"
set "SYSDIR=%SystemRoot%\System32"
pushd "%PACKAGE%"

if exist "%SYSDIR%\padremove.exe" (
  start "" /wait "%SYSDIR%\padremove.exe"
) else if exist "padremove.exe" (
  start "" /wait "%PACKAGE%padremove.exe"
)
"%REGEDIT%" /s "%PACKAGE%unregister.reg"

rem The parents padsetup creates where they are missing go when nothing else
rem lives in them, deepest first; the system's own keep what they hold.
set "MEDIA=HKLM\System\CurrentControlSet\Control\MediaProperties"
set "JOYSTICK=%MEDIA%\PrivateProperties\Joystick"
for %%k in ("%JOYSTICK%\OEM" "%JOYSTICK%" "%MEDIA%\PrivateProperties" "%MEDIA%" "HKLM\Enum\HID" "HKLM\Enum") do call :prune %%k

for /f "usebackq eol=# tokens=1,2" %%a in ("manifest.txt") do call :remove "%%a" "%%b"
rem The pad's own data folders go once they are empty, deepest first.
for %%d in (Zororo\Image Zororo\Wav Zororo) do rd "%SYSDIR%\%%d" 2>nul

popd
echo The pad's software is removed from %SYSDIR%.
exit /b 0

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
