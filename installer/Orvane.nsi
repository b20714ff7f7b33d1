; The Orvane installer, built on Linux by makensis (installer/CMakeLists.txt).
; Defines given by the build: STAGE (the laid-out program folder), OUTFILE,
; VERSION, SERVER_URL (the default server address), ARCH (x86 or amd64) and
; HAS_MAIN (1 when the main program is in STAGE).
; Command line: /S installs silently; /URL=address sets the server address;
; /D=folder (last) chooses the folder.
Unicode true
!if "${ARCH}" == "amd64"
    Target amd64-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Orvane"
!define PRODUCT_KEY "SOFTWARE\Orvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; "$" doubled: the semaphore that keeps a starting program out while files change.
!define INSTALL_SEMAPHORE "$$$$ORV$$$$INSTALL$$$$SEMAPHORE"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
!if "${ARCH}" == "amd64"
    InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
    InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var ServerUrl

; Ends a running updater and main program through ORVKILLER.dll (unloaded
; after the call), then holds the install semaphore until this process ends.
!macro StopRunningProgram KILLER
    StrCpy $0 "error"
    System::Call '"${KILLER}"::KillOrvane(i 0, i 0, i 0) i .r0 ?u'
    ; "error": the library or its export could not be had, and nothing
    ; is known about a running program.
    ${If} $0 == "error"
        MessageBox MB_OK|MB_ICONSTOP "The setup could not load ORVKILLER.dll." /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
    ${If} $0 == 2
        MessageBox MB_OK|MB_ICONSTOP "Orvane is running and could not be closed.$\r$\nClose it and try again." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
    System::Call 'kernel32::CreateSemaphoreW(p 0, i 0, i 2, w "${INSTALL_SEMAPHORE}") p .r1'
!macroend

; $1 = the value of "/URL=" in the parameters $0 (up to the next blank, or
; inside double quotes), "" without one. GetOptions cannot be used: it ends a
; value at the next "/", and an address has several.
Function UrlOption
    StrCpy $1 ""
    StrLen $3 $0
    StrCpy $2 0
    find:
        IntCmp $2 $3 none 0 none
        StrCpy $4 $0 5 $2
        StrCmp $4 "/URL=" found
        IntOp $2 $2 + 1
        Goto find
    found:
        IntOp $2 $2 + 5
        StrCpy $6 " "
        StrCpy $4 $0 1 $2
        StrCmp $4 '"' 0 +3
            StrCpy $6 '"'
            IntOp $2 $2 + 1
        StrCpy $7 $2
    scan:
        StrCpy $4 $0 1 $2
        StrCmp $4 "" take
        StrCmp $4 $6 take
        IntOp $2 $2 + 1
        Goto scan
    take:
        IntOp $8 $2 - $7
        StrCpy $1 $0 $8 $7
    none:
FunctionEnd

Function .onInit
!if "${ARCH}" == "amd64"
    SetRegView 64
!endif
    StrCpy $ServerUrl "${SERVER_URL}"
    ${GetParameters} $0
    Call UrlOption
    ${If} $1 != ""
        StrCpy $ServerUrl $1
    ${EndIf}
FunctionEnd

Section "Orvane" SecMain
    SectionIn RO
    InitPluginsDir
    File "/oname=$PLUGINSDIR\ORVKILLER.dll" "${STAGE}\ORVKILLER.dll"
    !insertmacro StopRunningProgram "$PLUGINSDIR\ORVKILLER.dll"

    SetOutPath "$INSTDIR"
    SetOverwrite on
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The settings store: where the server is, and the installed version
    ; that the daily version check reports.
    WriteRegStr HKLM "${PRODUCT_KEY}" "url" "$ServerUrl"
    WriteRegStr HKLM "${PRODUCT_KEY}" "version" "${VERSION}"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"

    SetShellVarContext all
    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
!if "${HAS_MAIN}" == "1"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Orvane.exe"
!endif
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"
SectionEnd

Function un.onInit
!if "${ARCH}" == "amd64"
    SetRegView 64
!endif
FunctionEnd

Section "Uninstall"
    InitPluginsDir
    ${If} ${FileExists} "$INSTDIR\ORVKILLER.dll"
        CopyFiles /SILENT "$INSTDIR\ORVKILLER.dll" "$PLUGINSDIR\ORVKILLER.dll"
        !insertmacro StopRunningProgram "$PLUGINSDIR\ORVKILLER.dll"
    ${EndIf}

    ; What the installer put there and what the program makes beside it.
    RMDir /r "$INSTDIR\Skins"
    RMDir /r "$INSTDIR\Sounds"
    RMDir /r "$INSTDIR\Locale"
    Delete "$INSTDIR\*.exe"
    Delete "$INSTDIR\*.ex_"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\_hinfo.html"
    Delete "$INSTDIR\changes.ini"
    RMDir "$INSTDIR"

    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"

    DeleteRegKey HKLM "${PRODUCT_KEY}"
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
