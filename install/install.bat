@echo off
rem Installs the pad's software on this Windows machine. Run it from the
rem package folder in a command prompt with administrator rights. It copies the
rem files of manifest.txt into the system directory, imports register.reg and
rem runs padsetup.exe. Running it again gives the same result.
setlocal EnableExtensions

rem The DLLs are 32-bit: on 64-bit Windows run under the 32-bit command
rem processor, whose System32 is the 32-bit system directory.
if /i "%PROCESSOR_ARCHITECTURE%"=="AMD64" if not defined PROCESSOR_ARCHITEW6432 (
  "%SystemRoot%\SysWOW64\cmd.exe" /c "%~f0"
  exit /b %errorlevel%
)
set "REGEDIT=regedit"
if defined PROCESSOR_ARCHITEW6432 set "REGEDIT=%SystemRoot%\SysWOW64\regedit.exe"

set "PACKAGE=%~dp0"
set "SYSDIR=%SystemRoot%\System32"
pushd "%PACKAGE%"

for /f "usebackq eol=# tokens=1,2" %%a in ("manifest.txt") do call :place "%%a" "%%b"

"%REGEDIT%" /s "%PACKAGE%register.reg"
rem padsetup ends with exit code 1 whatever it found.
start "" /wait "%SYSDIR%\padsetup.exe"

popd
echo The pad's software is installed in %SYSDIR%.
exit /b 0

:place
set "FROM=%~1"
set "TO=%~2"
set "FROM=%FROM:/=\%"
set "TO=%TO:/=\%"
if "%TO%"=="." (set "TO=%SYSDIR%") else set "TO=%SYSDIR%\%TO%"
if not exist "%FROM%" (
  echo Not in this package, not installed: %FROM%
  goto :eof
)
if not exist "%TO%\" mkdir "%TO%"
copy /y "%FROM%" "%TO%\" >nul
goto :eof
