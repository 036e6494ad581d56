@echo off
rem Installs the pad's software on this Windows machine. Run it from the
rem package folder in a command prompt with administrator rights. It copies
rem the files of each half's manifest.txt into its system folder, registers
rem the classes and runs padsetup.exe. Running it again gives the same result.
rem
rem 32-bit Windows: this folder's files go to System32, register.reg into the
rem registry. 64-bit Windows: this folder's 32-bit files go to SysWOW64, where
rem 32-bit games and programs load them, and x64\ to System32; register.reg
rem goes into both registry views, and the 64-bit padsetup.exe runs.
setlocal EnableExtensions

rem A 32-bit command processor on 64-bit Windows would see SysWOW64 as its
rem System32: run under the native one instead.
if defined PROCESSOR_ARCHITEW6432 (
  "%SystemRoot%\Sysnative\cmd.exe" /c "%~f0"
  exit /b %errorlevel%
)

set "PACKAGE=%~dp0"
pushd "%PACKAGE%"
if /i "%PROCESSOR_ARCHITECTURE%"=="x86" (
  call :half "%PACKAGE%" "%SystemRoot%\System32"
  regedit /s "%PACKAGE%register.reg"
) else (
  call :half "%PACKAGE%" "%SystemRoot%\SysWOW64"
  call :half "%PACKAGE%x64\" "%SystemRoot%\System32"
  reg import "%PACKAGE%register.reg" /reg:32 >nul 2>&1
  reg import "%PACKAGE%register.reg" /reg:64 >nul 2>&1
)
rem padsetup ends with exit code 1 whatever it found; the OEM type key it
rem writes is shared by both registry views.
start "" /wait "%SystemRoot%\System32\padsetup.exe"

popd
echo The pad's software is installed.
exit /b 0

:half
rem Copies the files of one half's manifest.txt into one system folder.
set "FROMDIR=%~1"
set "SYSDIR=%~2"
if not exist "%FROMDIR%manifest.txt" (
  echo Not in this package, not installed: %FROMDIR%
  goto :eof
)
pushd "%FROMDIR%"
for /f "usebackq eol=# tokens=1,2" %%a in ("manifest.txt") do call :place "%%a" "%%b"
popd
goto :eof

:place
set "FROM=%~1"
set "TO=%~2"
set "FROM=%FROM:/=\%"
set "TO=%TO:/=\%"
if "%TO%"=="." (set "TO=%SYSDIR%") else set "TO=%SYSDIR%\%TO%"
if not exist "%FROM%" (
  echo Not in this package, not installed: %FROMDIR%%FROM%
  goto :eof
)
if not exist "%TO%\" mkdir "%TO%"
copy /y "%FROM%" "%TO%\" >nul
goto :eof
