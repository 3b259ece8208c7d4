; Vistamur-Setup.exe: installs the screen saver for every user of the PC, keeps its
; configurations in a data folder that every user may write to, offers to make it the current
; user's screen saver, registers an uninstaller in "Add or remove programs", and puts the
; licences of the libraries inside the program beside the uninstaller.
;
; Built by CMake (target "installer"):
;   makensis -INPUTCHARSET UTF8 -DSCR=<Vistamur.scr> -DICON=<Vistamur.ico> -DVERSION=<x.y.z>
;            -DLICENCES=<folder made by scripts/lib/licences> -DOUTFILE=<exe> Vistamur.nsi
; Both run silently with /S. The uninstaller's exit code says what happened: 0 done, 2 nothing
; was installed or the install stopped, 740 not an administrator.

Unicode true
!ifndef SCR
  !error "give the program to install: -DSCR=path/to/Vistamur.scr"
!endif
!ifndef ICON
  !error "give the program's icon: -DICON=path/to/Vistamur.ico"
!endif
!ifndef LICENCES
  !error "give the folder of the libraries' licences: -DLICENCES=path/to/licences"
!endif
!ifndef OUTFILE
  !define OUTFILE "Vistamur-Setup.exe"
!endif
; The program's version, given by the build (CMake's project version).
!ifndef VERSION
  !error "give the program's version: -DVERSION=4.0.0"
!endif
!define PUBLISHER "Korvane"
; Where the program looks for its data folder (read in the 32-bit view of the registry, which
; is the one a 32-bit installer writes to).
!define DATA_KEY "SOFTWARE\Korvane\VistamurSs"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vistamur"
!define DESKTOP_KEY "Control Panel\Desktop"
; The Users group by its SID, which every language of Windows knows.
!define USERS_SID "*S-1-5-32-545"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

Name "Vistamur"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; Only the uninstaller lives here: the program itself goes to the system folder.
InstallDir "$PROGRAMFILES\Korvane\Vistamur"
BrandingText "${PUBLISHER}"
ShowInstDetails show
ShowUninstDetails show

Var DataDir ; the data folder, with its trailing backslash, as "InstallDir" holds it

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
; The last page opens the settings, so that the user picks their folders at once.
!define MUI_FINISHPAGE_RUN "$SYSDIR\Vistamur.scr"
!define MUI_FINISHPAGE_RUN_PARAMETERS "/c"
!define MUI_FINISHPAGE_RUN_TEXT "Ouvrir les réglages pour choisir vos dossiers"
!insertmacro MUI_PAGE_FINISH

; No confirmation page: it would name the uninstaller's folder, not the program's, and the
; components page already asks before anything goes.
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "French"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_FRENCH} "ProductName" "Vistamur"
VIAddVersionKey /LANG=${LANG_FRENCH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_FRENCH} "LegalCopyright" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_FRENCH} "FileDescription" "Installation de l'écran de veille Vistamur"
VIAddVersionKey /LANG=${LANG_FRENCH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_FRENCH} "ProductVersion" "${VERSION}"

; The path by which Windows starts the saver. A 32-bit installer's $SYSDIR is redirected to
; SysWOW64 on 64-bit Windows, but the screen-saver value is read by 64-bit programs, which
; would look in the real System32: there the path must name SysWOW64 itself.
!macro SaverPath OUT
  ${If} ${RunningX64}
    StrCpy ${OUT} "$WINDIR\SysWOW64\Vistamur.scr"
  ${Else}
    StrCpy ${OUT} "$SYSDIR\Vistamur.scr"
  ${EndIf}
!macroend

; The licences of the libraries linked into the program, and "Sources.txt" on where their
; sources and its build come from: one list, which the install and the uninstall both walk.
!macro LicenceFiles DO
  !insertmacro ${DO} "Sources.txt"
  !insertmacro ${DO} "libjpeg-turbo.txt"
  !insertmacro ${DO} "libjpeg-turbo-ijg.txt"
  !insertmacro ${DO} "libde265.txt"
  !insertmacro ${DO} "libheif.txt"
  !insertmacro ${DO} "libwebp.txt"
  !insertmacro ${DO} "libwebp-brevets.txt"
!macroend
!macro InstallLicence NAME
  File "${LICENCES}\${NAME}"
!macroend
!macro RemoveLicence NAME
  Delete "$INSTDIR\Licences\${NAME}"
!macroend

; Stops at once, before anything is changed, when the user is no administrator.
!macro NeedAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_ICONSTOP "Vistamur s'installe pour tous les utilisateurs de ce PC : il faut les droits d'administrateur." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

!macro StopInstall TEXT
  DetailPrint "${TEXT}"
  MessageBox MB_ICONSTOP "${TEXT}$\r$\n$\r$\nRien n'a été installé." /SD IDOK
  SetErrorLevel 2
  Abort
!macroend

Function .onInit
  SetRegView 32
  !insertmacro NeedAdministrator
FunctionEnd

; Settles $DataDir. A folder that "InstallDir" already names holds the user's configurations
; (an earlier install, or one made by hand): it is kept as it is. Otherwise the data folder is
; the shared documents folder's "Vistamur", made writable for every user of the PC; a folder
; that cannot be made or written stops the install before anything is changed.
Function SettleDataFolder
  ReadRegStr $0 HKLM "${DATA_KEY}" "InstallDir"
  ${If} $0 != ""
    StrCpy $1 $0 1 -1
    ${If} $1 == "\"
    ${AndIf} ${FileExists} "$0*.*"
      StrCpy $DataDir $0
      DetailPrint "Dossier des configurations conservé : $DataDir"
      Return
    ${EndIf}
    ; Written without its backslash, the value still works as the prefix of the file names.
    ${If} ${FileExists} "$0config.ini"
      StrCpy $DataDir $0
      DetailPrint "Dossier des configurations conservé : $DataDir"
      Return
    ${EndIf}
    DetailPrint "« $0 » ne contient aucune configuration : remplacé par le dossier partagé."
  ${EndIf}

  SetShellVarContext all
  StrCpy $2 "$DOCUMENTS\Vistamur"
  StrCpy $DataDir "$2\"
  CreateDirectory $2
  ${IfNot} ${FileExists} "$2\*.*"
    !insertmacro StopInstall "Impossible de créer le dossier des configurations $2."
  ${EndIf}
  ; A read-only mark goes (where it is honoured for folders, as under Wine, it refuses new
  ; configurations); the folder's other attributes and all of its files stay.
  System::Call 'kernel32::GetFileAttributesW(w r2) i .r3'
  ${If} $3 <> -1
    IntOp $4 $3 & 1
    ${If} $4 <> 0
      IntOp $3 $3 ^ 1
      System::Call 'kernel32::SetFileAttributesW(w r2, i r3)'
      DetailPrint "Le dossier $2 n'est plus en lecture seule."
    ${EndIf}
  ${EndIf}
  ; Every user may create, change and delete configurations there (the shared documents
  ; folder only lets a user change the files they made themselves).
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$2" /grant ${USERS_SID}:(OI)(CI)M'
  Pop $3
  ${If} $3 != 0
    DetailPrint "icacls n'a pas pu ouvrir le dossier à tous les utilisateurs ($3)."
  ${EndIf}
  ; Proof that a configuration can be written there.
  ClearErrors
  FileOpen $3 "$2\~vistamur-setup-check.tmp" w
  ${If} ${Errors}
    !insertmacro StopInstall "Le dossier des configurations $2 refuse l'écriture."
  ${EndIf}
  FileClose $3
  Delete "$2\~vistamur-setup-check.tmp"
FunctionEnd

Section "Vistamur (écran de veille)" SecProgram
  SectionIn RO
  Call SettleDataFolder

  SetOutPath $SYSDIR
  SetOverwrite on
  ClearErrors
  File "/oname=Vistamur.scr" "${SCR}"
  ${If} ${Errors}
    !insertmacro StopInstall "Impossible d'écrire $SYSDIR\Vistamur.scr (l'écran de veille est-il en cours ?)."
  ${EndIf}
  WriteRegStr HKLM "${DATA_KEY}" "InstallDir" $DataDir

  CreateDirectory $INSTDIR
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetOutPath "$INSTDIR\Licences"
  !insertmacro LicenceFiles InstallLicence
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vistamur"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\Vistamur.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" $INSTDIR
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} $INSTDIR "/M=uninstall.exe /S=0K /G=0" $0 $1 $2
  SectionGetSize ${SecProgram} $1
  IntOp $0 $0 + $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Choisir Vistamur comme écran de veille" SecSelect
  !insertmacro SaverPath $0
  GetFullPathName /SHORT $1 $0
  ${If} $1 == ""
    StrCpy $1 $0
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $1
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; Tells the running programs, as the display settings do (SPI_SETSCREENSAVEACTIVE,
  ; SPIF_UPDATEINIFILE | SPIF_SENDCHANGE).
  System::Call 'user32::SystemParametersInfoW(i 17, i 1, p 0, i 3)'
SectionEnd

; --- uninstalling ------------------------------------------------------------------------

Function un.onInit
  SetRegView 32
  !insertmacro NeedAdministrator
  ClearErrors
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "UninstallString"
  ${If} $0 == ""
  ${AndIfNot} ${FileExists} "$SYSDIR\Vistamur.scr"
    MessageBox MB_ICONINFORMATION "Vistamur n'est pas installé sur cet ordinateur : il n'y a rien à désinstaller." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  ReadRegStr $DataDir HKLM "${DATA_KEY}" "InstallDir"
FunctionEnd

Section "un.Vistamur (écran de veille)" UnSecProgram
  SectionIn RO
  ; The screen-saver choice goes only while it still names Vistamur; the user may have chosen
  ; another one since. (Before the file goes: its short path needs it.)
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != ""
    !insertmacro SaverPath $1
    GetFullPathName /SHORT $2 $1
    ${GetFileName} $0 $3
    ${If} $0 == $1
    ${OrIf} $0 == $2
    ${OrIf} $3 == "Vistamur.scr"
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
      DetailPrint "Vistamur n'est plus l'écran de veille."
    ${EndIf}
  ${EndIf}

  Delete "$SYSDIR\Vistamur.scr"
  ${If} ${FileExists} "$SYSDIR\Vistamur.scr"
    ; In use (a saver or its settings still open): it goes at the next start of Windows.
    Delete /REBOOTOK "$SYSDIR\Vistamur.scr"
    DetailPrint "$SYSDIR\Vistamur.scr sera supprimé au prochain démarrage."
  ${EndIf}

  DeleteRegValue HKLM "${DATA_KEY}" "InstallDir"
  DeleteRegKey /ifempty HKLM "${DATA_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Korvane"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  !insertmacro LicenceFiles RemoveLicence
  RMDir "$INSTDIR\Licences"
  Delete "$INSTDIR\uninstall.exe"
  RMDir $INSTDIR
  RMDir "$PROGRAMFILES\Korvane"
SectionEnd

; Only what is provably the program's own goes, since "InstallDir" may name a folder that the
; user shares with other programs (the installer keeps such a folder): "config.ini" when it
; names a configuration in [Config], a ".cfg" when its [Options] hold Vistamur's keys, and the
; memory of seen photos that such a configuration names. Anything else stays, and so does the
; folder then.
Section /o "un.Supprimer aussi les configurations" UnSecData
  ${If} $DataDir == ""
    Return
  ${EndIf}
  FindFirst $0 $1 "$DataDir*.cfg"
  ${DoWhile} $1 != ""
    ; The pattern also finds folders, and names such as "notes.cfgold" by their short names.
    StrCpy $2 $1 "" -4
    ${If} $2 == ".cfg"
    ${AndIfNot} ${FileExists} "$DataDir$1\*.*"
      Push "$DataDir$1"
      Call un.IsVistamurConfiguration
      Pop $2
      ${If} $2 == 1
        ClearErrors
        ReadINIStr $3 "$DataDir$1" "Options" "memfilesname"
        Push $3
        Call un.IsPlainName
        Pop $2
        ${IfNot} ${Errors}
        ${AndIf} $2 == 1
          Delete "$DataDir$3.tmp"
        ${EndIf}
        Delete "$DataDir$1"
      ${EndIf}
    ${EndIf}
    FindNext $0 $1
  ${Loop}
  FindClose $0
  ClearErrors
  ReadINIStr $3 "$DataDirconfig.ini" "Config" "cfgname"
  ${IfNot} ${Errors}
    Delete "$DataDirconfig.ini"
  ${EndIf}
  StrCpy $2 $DataDir -1
  RMDir $2
  ${If} ${FileExists} "$DataDir*.*"
    DetailPrint "Le dossier $2 est conservé : il contient d'autres fichiers."
  ${EndIf}
SectionEnd

; Counts in $R7 whether the file's [Options] hold the key.
!macro CountOptionsKey FILE KEY
  ClearErrors
  ReadINIStr $R8 "${FILE}" "Options" "${KEY}"
  ${IfNot} ${Errors}
    IntOp $R7 $R7 + 1
  ${EndIf}
!macroend

; A configuration file of Vistamur's: its [Options] hold at least two of the keys the program
; writes (every saved configuration holds all fifteen; one written by hand may hold fewer).
; Takes the file's path from the stack, leaves 1 or 0 there.
Function un.IsVistamurConfiguration
  Exch $R0
  Push $R7
  Push $R8
  StrCpy $R7 0
  !insertmacro CountOptionsKey $R0 "defdir"
  !insertmacro CountOptionsKey $R0 "defspeed"
  !insertmacro CountOptionsKey $R0 "defdelay"
  !insertmacro CountOptionsKey $R0 "defpause"
  !insertmacro CountOptionsKey $R0 "opdebfilm"
  !insertmacro CountOptionsKey $R0 "opfinfilm"
  !insertmacro CountOptionsKey $R0 "opBclfilm"
  !insertmacro CountOptionsKey $R0 "opdbafilm"
  !insertmacro CountOptionsKey $R0 "opagrfilm"
  !insertmacro CountOptionsKey $R0 "optransition"
  !insertmacro CountOptionsKey $R0 "opnomfic"
  !insertmacro CountOptionsKey $R0 "opdatefic"
  !insertmacro CountOptionsKey $R0 "opmemfiles"
  !insertmacro CountOptionsKey $R0 "memfilesname"
  !insertmacro CountOptionsKey $R0 "opnbimgmax"
  StrCpy $R0 0
  ${If} $R7 >= 2
    StrCpy $R0 1
  ${EndIf}
  Pop $R8
  Pop $R7
  Exch $R0
FunctionEnd

; A memory's name leads to a file of the data folder only when it is a plain, non-empty name:
; no path, no drive. Takes the name from the stack, leaves 1 or 0 there.
Function un.IsPlainName
  Exch $R0
  Push $R1
  Push $R2
  Push $R3
  StrCpy $R3 1
  ${If} $R0 == ""
    StrCpy $R3 0
  ${EndIf}
  StrCpy $R1 0
  ${Do}
    StrCpy $R2 $R0 1 $R1
    ${If} $R2 == ""
      ${Break}
    ${EndIf}
    ${If} $R2 == "\"
    ${OrIf} $R2 == "/"
    ${OrIf} $R2 == ":"
    ${OrIf} $R2 == "*"
    ${OrIf} $R2 == "?"
    ${OrIf} $R2 == '"'
    ${OrIf} $R2 == "<"
    ${OrIf} $R2 == ">"
    ${OrIf} $R2 == "|"
      StrCpy $R3 0
    ${EndIf}
    IntOp $R1 $R1 + 1
  ${Loop}
  StrCpy $R0 $R3
  Pop $R3
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd
