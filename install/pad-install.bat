@echo off
rem Installs the pad's software from the folder this file is in: copies the
rem files that pad-manifest.txt lists into the system directory, imports
rem pad-register.reg and runs padsetup.exe. Running it again changes nothing.
rem Needs Windows 2000 or later (reg.exe) and an administrator's rights.
setlocal enableextensions
set "PKG=%~dp0"
set "SYSDIR=%SystemRoot%\System32"
set "REGVIEW="
rem A 32-bit module lives in SysWOW64 and registers in the 32-bit view.
if exist "%SystemRoot%\SysWOW64\" (
  set "SYSDIR=%SystemRoot%\SysWOW64"
  set "REGVIEW=/reg:32"
)
set /a INSTALLED=0
set /a MISSING=0

for /f "usebackq eol=# delims=" %%F in ("%PKG%pad-manifest.txt") do call :install_entry "%%F"

reg import "%PKG%pad-register.reg" %REGVIEW% >nul 2>&1
if errorlevel 1 (
  echo pad-install: the registration could not be imported ^(pad-register.reg^)
  exit /b 1
)
if not exist "%SYSDIR%\padsetup.exe" (
  echo pad-install: padsetup.exe is not installed, the pad is not registered
  exit /b 1
)
rem padsetup ends with 1 in every case.
start "" /wait "%SYSDIR%\padsetup.exe"
echo pad-install: %INSTALLED% manifest entries installed, %MISSING% missing, into %SYSDIR%
exit /b 0

:install_entry
set "ENTRY=%~1"
set "ENTRY=%ENTRY:/=\%"
if not exist "%PKG%%ENTRY%" (
  echo pad-install: missing from the package, not installed: %ENTRY%
  set /a MISSING+=1
  goto :eof
)
for %%D in ("%SYSDIR%\%ENTRY%") do set "DEST=%%~dpD"
if not exist "%DEST%" mkdir "%DEST%"
copy /y "%PKG%%ENTRY%" "%DEST%" >nul
set /a INSTALLED+=1
goto :eof
