@echo off
rem Runs SpaceWarden.exe against the simulated SAP systems of this folder, with
rem rfcsim.dll standing in for SAP's LIBRFC32.dll. Nothing is installed and no
rem file outside a scratch folder in %TEMP% is written. See README.md.
rem   demo.cmd        the 64-bit programs of the folder x64 beside this folder
rem   demo.cmd x86    the 32-bit programs of the folder x86
setlocal
set "EXAMPLES=%~dp0"
set "ARCH=%~1"
if "%ARCH%"=="" set "ARCH=x64"
if not "%ARCH%"=="x64" if not "%ARCH%"=="x86" (
    echo usage: demo.cmd [x64 or x86] 1>&2
    exit /b 1
)
set "BIN=%~dp0..\%ARCH%"
rem In the source tree: the build directories of the presets windows and windows-x86.
if not exist "%BIN%\SpaceWarden.exe" if "%ARCH%"=="x64" set "BIN=%~dp0..\build\windows"
if not exist "%BIN%\SpaceWarden.exe" if "%ARCH%"=="x86" set "BIN=%~dp0..\build\windows-x86"
if not exist "%BIN%\SpaceWarden.exe" (
    echo SpaceWarden.exe was not found in the folder %ARCH% beside the examples folder. 1>&2
    exit /b 1
)
set "SIMULATOR=%BIN%\rfcsim.dll"
if not exist "%SIMULATOR%" set "SIMULATOR=%BIN%\rfcsim\rfcsim.dll"
set "ADAPTER=%BIN%\SpaceWardenNwRfc.dll"
if not exist "%ADAPTER%" set "ADAPTER=%BIN%\nwrfc\SpaceWardenNwRfc.dll"
set "NWSIMULATOR=%BIN%\nwrfcsim.dll"
if not exist "%NWSIMULATOR%" set "NWSIMULATOR=%BIN%\nwrfcsim\nwrfcsim.dll"

set "WORK=%TEMP%\SpaceWarden-demo-%RANDOM%%RANDOM%"
mkdir "%WORK%"
if not exist "%WORK%\" exit /b 1
copy /y "%EXAMPLES%*.P00" "%WORK%" >nul
copy /y "%EXAMPLES%SAP Overseer.Gbl" "%WORK%" >nul
copy /y "%EXAMPLES%Overseer.Prf" "%WORK%" >nul

rem The simulator instead of SAP's library, and the systems it simulates.
set "SPACEWARDEN_RFC_LIBRARY=%SIMULATOR%"
set "RFCSIM_SCENARIO=%EXAMPLES%systems.scenario"
set "RFCSIM_JOURNAL="
set "NWRFCSIM_JOURNAL="
set "SPACEWARDEN_NWRFC_LIBRARY="

rem PRTG looks for the profiles in its EXEXML folder (see INSTALL.txt); the
rem flavour Kestrel writes the same document and takes the profile where it
rem is named, here in the scratch folder, the working directory of every run.
pushd "%WORK%"
echo ==== The bundled profiles, read back by the sensor's own reader
for %%p in (PRD QAS DEV) do (
    <nul set /p "=%%p.P00: "
    "%BIN%\SpaceWardenProfile.exe" check %%p.P00
)
call :run "(1) Single-system run of PRD (Oracle, critical tablespaces and objects)" PRD "FLAVOUR=Kestrel"
call :run "(1) The same, verbose: progress lines around the document" PRD "FLAVOUR=Kestrel #"
call :run "(2) The same for a plain-text host: FLAVOUR=Juniper" PRD "FLAVOUR=Juniper"
call :run "(2) Juniper with CH=2: only the second channel's value (Critical_Objects)" PRD "FLAVOUR=Juniper CH=2"
call :run "(3) Multi-system run, listing mode: sensor key SAPCORE of 'SAP Overseer.Gbl' (PRD, QAS)" GLOBAL SAPCORE "FLAVOUR=Kestrel"
call :run "(3) Listing mode, key SAPALL: DEV is not on Oracle, so the run ends with an error" GLOBAL SAPALL "FLAVOUR=Kestrel"
call :run "(4) Multi-system run, item mode: Critical_Objects for the systems of Overseer.Prf" Overseer "ITEM=Critical_Objects" "FLAVOUR=Kestrel"
rem The NetWeaver RFC adapter in place of LIBRFC32.dll, nwrfcsim.dll in place
rem of SAP's sapnwrfc.dll; both read the same simulated systems. Only the x64
rem build has the adapter.
if not exist "%ADAPTER%" goto :adapter_done
set "SPACEWARDEN_RFC_LIBRARY=%ADAPTER%"
set "SPACEWARDEN_NWRFC_LIBRARY=%NWSIMULATOR%"
call :run "(5) PRD again, through the NetWeaver RFC adapter (nwrfcsim standing in for SAP's library)" PRD "FLAVOUR=Kestrel"
set "SPACEWARDEN_RFC_LIBRARY=%SIMULATOR%"
set "SPACEWARDEN_NWRFC_LIBRARY="
:adapter_done
popd
rmdir /s /q "%WORK%"
exit /b 0

rem run HEADING ARGUMENTS...: one run of the sensor and its exit code.
:run
echo.
echo ==== %~1
echo ^> SpaceWarden %2 %3 %4
"%BIN%\SpaceWarden.exe" %2 %3 %4
echo.
echo ---- exit code %ERRORLEVEL%
exit /b 0
