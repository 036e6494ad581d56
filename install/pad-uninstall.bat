@echo off
rem Removes what pad-install.bat added: runs padremove.exe, deletes the COM
rem classes and the OEM joystick type, the registry keys the install created
rem and left empty, and the installed files with the folders they emptied.
rem Running it again, or on a machine without the pad, changes nothing.
setlocal enableextensions
set "PKG=%~dp0"
set "SYSDIR=%SystemRoot%\System32"
set "REGVIEW="
if exist "%SystemRoot%\SysWOW64\" (
  set "SYSDIR=%SystemRoot%\SysWOW64"
  set "REGVIEW=/reg:32"
)

set "REMOVER=%SYSDIR%\padremove.exe"
if not exist "%REMOVER%" set "REMOVER=%PKG%padremove.exe"
rem padremove ends with 0 in every case.
if exist "%REMOVER%" start "" /wait "%REMOVER%"

reg import "%PKG%pad-unregister.reg" %REGVIEW% >nul 2>&1

rem Keys on the way to the OEM type and device keys that only the install
rem made: removed while they hold nothing, innermost first.
set "JOY=HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\MediaProperties"
call :remove_if_empty "%JOY%\PrivateProperties\Joystick\OEM"
call :remove_if_empty "%JOY%\PrivateProperties\Joystick"
call :remove_if_empty "%JOY%\PrivateProperties"
call :remove_if_empty "%JOY%"
call :remove_if_empty "HKEY_LOCAL_MACHINE\Enum\HID"
call :remove_if_empty "HKEY_LOCAL_MACHINE\Enum"

for /f "usebackq eol=# delims=" %%F in ("%PKG%pad-manifest.txt") do call :remove_entry "%%F"
for /f "usebackq eol=# delims=" %%F in ("%PKG%pad-manifest.txt") do call :remove_folders "%%F"
echo pad-uninstall: done, %SYSDIR%
exit /b 0

:remove_if_empty
reg query "%~1" >nul 2>&1 || goto :eof
set "HOLDS="
for /f "delims=" %%L in ('reg query "%~1" /s 2^>nul') do if /i not "%%L"=="%~1" set "HOLDS=1"
if not defined HOLDS reg delete "%~1" /f >nul 2>&1
goto :eof

:remove_entry
set "ENTRY=%~1"
set "ENTRY=%ENTRY:/=\%"
if exist "%SYSDIR%\%ENTRY%" del /q "%SYSDIR%\%ENTRY%" >nul 2>&1
goto :eof

:remove_folders
rem The entry's folders below the system directory, innermost first; a
rem folder that still holds anything stays.
set "ENTRY=%~1"
set "ENTRY=%ENTRY:/=\%"
for %%D in ("%SYSDIR%\%ENTRY%") do set "DIR=%%~dpD"
:remove_folders_next
set "DIR=%DIR:~0,-1%"
if /i "%DIR%"=="%SYSDIR%" goto :eof
rmdir "%DIR%" >nul 2>&1
for %%D in ("%DIR%") do set "DIR=%%~dpD"
goto remove_folders_next
