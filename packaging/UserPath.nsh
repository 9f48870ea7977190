; The install folder on the user's PATH, so that a terminal opened after the install finds kww.exe.
;
; The user's PATH is the value "Path" of HKCU\Environment: entries separated by ';', where a ';'
; between double quotes belongs to its entry ("C:\a;b" is one folder). Windows puts it after the
; machine's PATH in each new process; Explorer reads it anew on WM_SETTINGCHANGE "Environment",
; and the terminals it starts from then on have it.
;
; Telling our entry from the user's: the installer appends an entry only when no entry names the
; install folder yet, and then remembers its exact text in the program's uninstall key
; (PATH_ENTRY_VALUE). The uninstaller removes an entry of exactly that text (the last one, where it
; was appended), with one ';' beside it, and nothing else; with nothing remembered it leaves the
; Path alone. A folder the user had on the Path before the install (in any spelling: "%VAR%",
; quotes, a trailing backslash, other letter case) is found, nothing is added or remembered, and
; the user's entry outlives the uninstall. An install into another folder than the remembered
; entry's moves the entry along.
;
; NSIS holds at most NSIS_MAX_STRLEN (1024) characters in a string, and ReadRegStr answers an
; error and an empty string for a longer value. A Path that is longer, or would grow longer, is
; left exactly as it is, and Setup says so: written back cut short, it would lose the user's
; entries.

!include "LogicLib.nsh"
!include "StrFunc.nsh"
!include "WinMessages.nsh"

${Using:StrFunc} StrRep
${Using:StrFunc} StrStr

!define USER_PATH_KEY "Environment"
!define USER_PATH_VALUE "Path"
!define PATH_ENTRY_VALUE "PathEntry"
!define /IfNDef HKEY_CURRENT_USER 0x80000001
!define /IfNDef REG_SZ 1
!define /IfNDef REG_EXPAND_SZ 2
!define /IfNDef ERROR_FILE_NOT_FOUND 2
; RegGetValueW: RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, the value as stored.
!define USER_PATH_READ_FLAGS 0x10000006
!define PATH_TOO_LONG_TO_ADD "Setup leaves your PATH as it was: it is too long for Setup, or not text. To run kww from a terminal, add $INSTDIR to it yourself."
!define PATH_TOO_LONG_TO_REMOVE "The uninstaller leaves your PATH as it was: it is too long for the uninstaller, or not text. Remove $UserPathRemoved from it yourself."
; Explorer answers at once; a hung window elsewhere must not hold Setup up.
!define SETTING_CHANGE_TIMEOUT_MS 5000

Var UserPath           ; the value's text as stored, variables not expanded
Var UserPathType       ; REG_SZ or REG_EXPAND_SZ, kept when the value is written back
Var UserPathChanged    ; 1 once $UserPath differs from the stored value
Var UserPathEntry      ; the entry that UserPathEntryAt found, as written
Var UserPathEntryStart ; where it starts in $UserPath
Var UserPathEntryEnd   ; where it ends: at its ';' or at the end of $UserPath
Var UserPathRemoved    ; the text of the entry that RemoveUserPathEntry takes out

!macro USER_PATH_FUNCTIONS un
    ; $UserPath and $UserPathType from the registry, no Path being an empty one. The error flag
    ; says the value cannot be read whole: of another type, or too long for a string here.
    Function ${un}ReadUserPath
        Push $0
        Push $1
        ClearErrors
        StrCpy $UserPath ""
        StrCpy $UserPathType ${REG_EXPAND_SZ}
        StrCpy $UserPathChanged 0
        System::Call 'advapi32::RegGetValueW(p ${HKEY_CURRENT_USER}, w "${USER_PATH_KEY}", w "${USER_PATH_VALUE}", i ${USER_PATH_READ_FLAGS}, *i .r0, p 0, p 0) i .r1'
        ; Compared as text: a failed call answers "error", which as a number would be 0.
        ${If} $1 == 0
            StrCpy $UserPathType $0
            ReadRegStr $UserPath HKCU "${USER_PATH_KEY}" "${USER_PATH_VALUE}"
        ${ElseIf} $1 != ${ERROR_FILE_NOT_FOUND}
            SetErrors
        ${EndIf}
        Pop $1
        Pop $0
    FunctionEnd

    ; The entry of $UserPath that starts at $UserPathEntryStart: $UserPathEntry and
    ; $UserPathEntryEnd. A ';' after an odd number of quotes is inside a quoted name.
    Function ${un}UserPathEntryAt
        Push $0 ; the character at $UserPathEntryEnd
        Push $1 ; 1 between quotes
        StrCpy $UserPathEntryEnd $UserPathEntryStart
        StrCpy $1 0
        ${Do}
            StrCpy $0 $UserPath 1 $UserPathEntryEnd
            ${If} $0 == ""
                ${Break}
            ${ElseIf} $0 == '"'
                IntOp $1 $1 ^ 1
            ${ElseIf} $0 == ";"
            ${AndIf} $1 = 0
                ${Break}
            ${EndIf}
            IntOp $UserPathEntryEnd $UserPathEntryEnd + 1
        ${Loop}
        IntOp $0 $UserPathEntryEnd - $UserPathEntryStart
        StrCpy $UserPathEntry $UserPath $0 $UserPathEntryStart
        Pop $1
        Pop $0
    FunctionEnd

    ; Takes the last entry whose text is exactly $UserPathRemoved out of $UserPath with the ';'
    ; after it, or before it when it is the last entry, so that an entry appended to "a" or to
    ; "a;" leaves "a" or "a;" again.
    Function ${un}RemoveUserPathEntry
        Push $0 ; where the last such entry starts, -1 while none is found
        Push $1 ; where it ends
        Push $2 ; the length of $UserPath, then what follows the entry
        StrCpy $0 -1
        StrLen $2 $UserPath
        StrCpy $UserPathEntryStart 0
        ${Do}
            Call ${un}UserPathEntryAt
            ${If} $UserPathEntry S== $UserPathRemoved
                StrCpy $0 $UserPathEntryStart
                StrCpy $1 $UserPathEntryEnd
            ${EndIf}
            IntOp $UserPathEntryStart $UserPathEntryEnd + 1
        ${LoopWhile} $UserPathEntryEnd < $2
        ${If} $0 >= 0
            ${If} $1 < $2
                IntOp $1 $1 + 1
                StrCpy $2 $UserPath "" $1
                StrCpy $UserPath $UserPath $0
                StrCpy $UserPath "$UserPath$2"
            ${ElseIf} $0 > 0
                IntOp $0 $0 - 1
                StrCpy $UserPath $UserPath $0
            ${Else}
                StrCpy $UserPath ""
            ${EndIf}
            StrCpy $UserPathChanged 1
        ${EndIf}
        Pop $2
        Pop $1
        Pop $0
    FunctionEnd

    ; Stores $UserPath with its type (an empty one as no value) and tells the running programs.
    Function ${un}WriteUserPath
        ${If} $UserPath == ""
            DeleteRegValue HKCU "${USER_PATH_KEY}" "${USER_PATH_VALUE}"
        ${ElseIf} $UserPathType = ${REG_SZ}
            WriteRegStr HKCU "${USER_PATH_KEY}" "${USER_PATH_VALUE}" $UserPath
        ${Else}
            WriteRegExpandStr HKCU "${USER_PATH_KEY}" "${USER_PATH_VALUE}" $UserPath
        ${EndIf}
        SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:${USER_PATH_KEY}" \
            /TIMEOUT=${SETTING_CHANGE_TIMEOUT_MS}
    FunctionEnd
!macroend
!insertmacro USER_PATH_FUNCTIONS ""
!insertmacro USER_PATH_FUNCTIONS "un."

; The folder $0 as an entry names it when compared: without quotes, with the variables of an
; expandable Path filled in, without trailing backslashes.
Function ComparableFolder
    Push $1
    ${StrRep} $0 $0 '"' ""
    ${If} $UserPathType = ${REG_EXPAND_SZ}
        ExpandEnvStrings $0 $0
    ${EndIf}
    ${Do}
        StrCpy $1 $0 1 -1
        ${If} $1 != "\"
            ${Break}
        ${EndIf}
        StrCpy $0 $0 -1
    ${Loop}
    Pop $1
FunctionEnd

; 1 in $0 when an entry of $UserPath names the install folder, letter case not counted as Windows
; does not count it, else 0.
Function UserPathNamesInstallFolder
    Push $1 ; the install folder, compared
    Push $2 ; the length of $UserPath
    StrCpy $0 $INSTDIR
    Call ComparableFolder
    StrCpy $1 $0
    StrLen $2 $UserPath
    StrCpy $UserPathEntryStart 0
    ${Do}
        Call UserPathEntryAt
        StrCpy $0 $UserPathEntry
        Call ComparableFolder
        ${If} $0 == $1
            StrCpy $0 1
            ${Break}
        ${EndIf}
        StrCpy $0 0
        IntOp $UserPathEntryStart $UserPathEntryEnd + 1
    ${LoopWhile} $UserPathEntryEnd < $2
    Pop $2
    Pop $1
FunctionEnd

; Puts the install folder on the user's Path unless an entry names it already; see the top.
Function AddInstallFolderToUserPath
    Push $0
    Push $1 ; the entry for this install folder, quoted when its name holds a ';'
    Push $2 ; the entry an earlier install remembered
    StrCpy $1 $INSTDIR
    ${StrStr} $0 $INSTDIR ";"
    ${If} $0 != ""
        StrCpy $1 '"$INSTDIR"'
    ${EndIf}
    ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "${PATH_ENTRY_VALUE}"
    Call ReadUserPath
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONINFORMATION "${PATH_TOO_LONG_TO_ADD}" /SD IDOK
        Goto done
    ${EndIf}
    ${If} $2 != ""
    ${AndIf} $2 S!= $1
        StrCpy $UserPathRemoved $2
        Call RemoveUserPathEntry
        DeleteRegValue HKCU "${UNINSTALL_KEY}" "${PATH_ENTRY_VALUE}"
        StrCpy $2 ""
    ${EndIf}
    ; A folder named already is named by the entry an earlier install remembered, which stays
    ; remembered, or by the user's own, of which nothing is remembered.
    Call UserPathNamesInstallFolder
    ${If} $0 = 0
        StrLen $0 $UserPath
        StrLen $2 $1
        IntOp $0 $0 + $2
        IntOp $0 $0 + 1 ; the ';'
        ${If} $0 < ${NSIS_MAX_STRLEN}
            ; Remembered first: a Path written without its record would keep the entry forever.
            WriteRegStr HKCU "${UNINSTALL_KEY}" "${PATH_ENTRY_VALUE}" $1
            StrCpy $0 $UserPath 1 -1
            ${If} $UserPath == ""
                StrCpy $UserPath $1
            ${ElseIf} $0 == ";"
                StrCpy $UserPath "$UserPath$1;"
            ${Else}
                StrCpy $UserPath "$UserPath;$1"
            ${EndIf}
            StrCpy $UserPathChanged 1
        ${Else}
            MessageBox MB_OK|MB_ICONINFORMATION "${PATH_TOO_LONG_TO_ADD}" /SD IDOK
        ${EndIf}
    ${EndIf}
    ${If} $UserPathChanged = 1
        Call WriteUserPath
    ${EndIf}
done:
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

; Takes out the entry the installer remembered, and nothing else; see the top.
Function un.RemoveInstallFolderFromUserPath
    ReadRegStr $UserPathRemoved HKCU "${UNINSTALL_KEY}" "${PATH_ENTRY_VALUE}"
    ${If} $UserPathRemoved == ""
        Return
    ${EndIf}
    Call un.ReadUserPath
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONINFORMATION "${PATH_TOO_LONG_TO_REMOVE}" /SD IDOK
        Return
    ${EndIf}
    Call un.RemoveUserPathEntry
    ${If} $UserPathChanged = 1
        Call un.WriteUserPath
    ${EndIf}
FunctionEnd
