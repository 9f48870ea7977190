; The installer of Kestrel Wipewell: a per-user install that needs no administrator rights.
; scripts/package runs makensis with these definitions:
;   VERSION  the CMake project version (1.1.72)
;   ICON     the program's .ico
;   FILES    a generated include with the macros InstallFiles and UninstallFiles, one line per
;            file and folder of the program, so that the uninstaller removes exactly what the
;            installer put there
;   OUTFILE  the setup program to write

!ifdef VERSION & ICON & FILES & OUTFILE
!else
    !error "scripts/package passes VERSION, ICON, FILES and OUTFILE"
!endif

Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define PRODUCT "Kestrel Wipewell"
!define PUBLISHER "Larkspan"
!define PROGRAM "KestrelWipewell.exe"
!define UNINSTALLER "Uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
; Windows shows the user's programs from this key in Add/Remove Programs.
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KestrelWipewell"
; Explorer's "Erase with Kestrel Wipewell" on files and on folders, for this user only: the verb
; starts the program with the item's path, which only adds it to the list.
!define FILES_CLASS "Software\Classes\*"
!define FOLDERS_CLASS "Software\Classes\Directory"
!define VERB "KestrelWipewell"
!define VERB_TEXT "Erase with Kestrel Wipewell"
; "Wipe free space with Kestrel Wipewell" on drives: the switch makes the drive's free space a
; Waiting task (Explorer fills "%1" with the drive's root, "D:\").
!define DRIVES_CLASS "Software\Classes\Drive"
!define FREE_SPACE_VERB_TEXT "Wipe free space with Kestrel Wipewell"
; "Erase with Kestrel Wipewell" on the Recycle Bin's own menu (the bin is a shell folder of this
; class): the switch makes this user's bin a Waiting task.
!define RECYCLE_BIN_CLASS "Software\Classes\CLSID\{645FF040-5081-101B-9F08-00AA002F954E}"
!define SEND_TO "$SENDTO\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The user's own programs folder (FOLDERID_UserProgramFiles), writable without elevation.
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "Integration.nsh"
!include "${__FILEDIR__}/UserPath.nsh"
!include "${FILES}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
; The stock welcome text asks to close other programs because of shared system files: this
; install has none and touches nothing outside the user's own folders.
!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION} for your user account. It \
needs no administrator rights and changes nothing for other users.$\r$\n$\r$\nClick Next to continue."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
    SetShellVarContext current
FunctionEnd

Function un.onInit
    SetShellVarContext current
FunctionEnd

!macro WriteVerb class text arguments
    WriteRegStr HKCU "${class}\shell\${VERB}" "" "${text}"
    WriteRegStr HKCU "${class}\shell\${VERB}" "Icon" "$INSTDIR\${PROGRAM},0"
    WriteRegStr HKCU "${class}\shell\${VERB}\command" "" '"$INSTDIR\${PROGRAM}" ${arguments}'
!macroend

; The verb's key, then the class's "shell" key and the class's own key where they are left empty
; (/ifempty: no subkey and no value).
!macro DeleteVerb class
    DeleteRegKey HKCU "${class}\shell\${VERB}"
    DeleteRegKey /ifempty HKCU "${class}\shell"
    DeleteRegKey /ifempty HKCU "${class}"
!macroend

Section "Install"
    !insertmacro InstallFiles
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0
    CreateShortcut "${SEND_TO}" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0
    !insertmacro WriteVerb "${FILES_CLASS}" "${VERB_TEXT}" '"%1"'
    !insertmacro WriteVerb "${FOLDERS_CLASS}" "${VERB_TEXT}" '"%1"'
    !insertmacro WriteVerb "${DRIVES_CLASS}" "${FREE_SPACE_VERB_TEXT}" '/freespace "%1"'
    !insertmacro WriteVerb "${RECYCLE_BIN_CLASS}" "${VERB_TEXT}" '/recyclebin'
    ${NotifyShell_AssocChanged}

    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    Call AddInstallFolderToUserPath
SectionEnd

; Removes only what the section above made, file by file and key by key; a folder or a key above
; ours goes only when it is empty then. The log folder under the roaming application data
; belongs to the user and stays.
; The install folder goes last: once it is gone, the uninstaller has done its work.
Section "Uninstall"
    Delete "${SHORTCUT}"
    Delete "${SEND_TO}"
    !insertmacro DeleteVerb "${FILES_CLASS}"
    !insertmacro DeleteVerb "${FOLDERS_CLASS}"
    !insertmacro DeleteVerb "${DRIVES_CLASS}"
    !insertmacro DeleteVerb "${RECYCLE_BIN_CLASS}"
    ${NotifyShell_AssocChanged}
    ; Before the uninstall key, which remembers the entry.
    Call un.RemoveInstallFolderFromUserPath
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    !insertmacro UninstallFiles
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
SectionEnd
