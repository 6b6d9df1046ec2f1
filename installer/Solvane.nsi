; Solvane's installer and uninstaller (NSIS 3, 64-bit).
;
; makensis -DVERSION=1.21 -DDIST=<install folder of the build> -DICON=<solvane.ico>
;          -DSHIPPED_FILES=<shipped-files.nsh> -DSHIPPED_LIST=<shipped-files.txt>
;          -DFOLDER_HELPER=<solvane-folder.exe> -DOUTFILE=<Solvane-Setup.exe> Solvane.nsi
;
; Installs the clock and its files to Program Files\Solvane, the screen saver to the system
; folder, Start-menu shortcuts and the installed-programs entry. The program folder, wherever
; it is, becomes the administrators' alone (users may read and run, not change; nothing
; inherited from its parent), through the folder helper (installer/folder_main.cpp), which
; refuses a folder that users could rename or replace (or one inside such a folder); a fresh
; install takes only a new folder or one the administrators own with no programs of others in
; it; an upgrade takes its folder back from whoever changed it and deletes what a user could
; have planted for Windows to load or run. Each user's clock keeps user.bin in their roaming
; application data folder and the wallpaper in their local one, and takes over the user.bin an
; earlier version kept beside itself. Installing over an earlier copy ends the running clock
; through its exit command (it saves its options) and starts it again, as the logged-on user.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; The build's file times are not stored: the same files give the same installer.
SetDateSave off
; A shipped file that cannot be written stops the installation; none is skipped.
AllowSkipFiles off

!ifndef VERSION | DIST | ICON | OUTFILE | SHIPPED_FILES | SHIPPED_LIST | FOLDER_HELPER
  !error "define VERSION, DIST, ICON, SHIPPED_FILES, SHIPPED_LIST, FOLDER_HELPER and OUTFILE"
!endif
; INSTALL_FILES and DELETE_FILES: the program's files and help pages, file by file.
!include "${SHIPPED_FILES}"

!define COMPANY "Kelbrook"
!define PRODUCT "Solvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define COMPANY_KEY "Software\${COMPANY}"
!define PRODUCT_KEY "${COMPANY_KEY}\${PRODUCT}"
!define REGISTRATION_KEY "${PRODUCT_KEY}\Registration"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define HIDDEN_WINDOW_TITLE "Solvane Hidden Window"
!define ID_APP_EXIT 57665
!define SAVER "svsaver.scr"
!define SHORTCUTS "$SMPROGRAMS\${PRODUCT}"
; The current user's folders of the clock, with SetShellVarContext current.
!define USER_SETTINGS "$APPDATA\${PRODUCT}"
!define USER_PICTURES "$LOCALAPPDATA\${PRODUCT}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An earlier installation is upgraded where it is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COMPANY}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION}, the desktop Earth clock, with its screen saver.$\r$\n$\r$\nA running ${PRODUCT} is ended first, keeping your settings, and started again afterwards.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryChosen
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION StartClock
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShown
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; 1 when a running clock was ended (and is to be started again).
Var ClockWasRunning
; "upgrade" when this installs over the earlier installation in the chosen folder, else "fresh".
Var InstallKind
; 1 when the folder helper refused the folder or failed (it has told the user why).
Var FolderRefused

; Starts the installed clock as the logged-on user, without the installer's elevation: the
; running shell (explorer.exe), asked by a second explorer.exe, starts it with its own token.
; An Exec from here would hand the clock the administrator's token.
!macro START_CLOCK_AS_USER
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\solvane.exe"'
!macroend

; Ends every running clock through its exit command, as Shut Down in its tray menu does, so
; that it saves user.bin and lets go of its files. Sets $ClockWasRunning. Aborts when a clock
; does not end and the user gives up (silently: at once).
!macro DEFINE_END_RUNNING_CLOCK prefix
Function ${prefix}EndRunningClock
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $ClockWasRunning 0
  ${Do}
    FindWindow $0 "" "${HIDDEN_WINDOW_TITLE}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    StrCpy $ClockWasRunning 1
    DetailPrint "Ending the running ${PRODUCT}"
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1) i'
    ; SYNCHRONIZE: enough to wait for the process to end
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
    System::Call 'user32::PostMessageW(p r0, i ${WM_COMMAND}, p ${ID_APP_EXIT}, p 0)'
    ; $3: non-zero while the clock is still running
    ${If} $2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i 30000) i .r3'
      System::Call 'kernel32::CloseHandle(p r2)'
    ${Else}
      ${For} $1 1 300
        System::Call 'user32::IsWindow(p r0) i .r3'
        ${IfThen} $3 == 0 ${|} ${Break} ${|}
        Sleep 100
      ${Next}
    ${EndIf}
    ${If} $3 != 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running. End it with Shut Down in the menu of its icon in the notification area, then choose Retry." /SD IDCANCEL IDRETRY +2
      Abort "${PRODUCT} is still running."
    ${EndIf}
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_END_RUNNING_CLOCK ""
!insertmacro DEFINE_END_RUNNING_CLOCK "un."

Function .onInit
  SetShellVarContext all
  SetRegView 64
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "Installing ${PRODUCT} needs an administrator." /SD IDOK
    SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
FunctionEnd

; Runs the folder helper on $INSTDIR: $R0 "check" (nothing is changed) or "take-over". Sets
; $FolderRefused, telling the user why when it is 1. An installation is an upgrade when the
; uninstall entry of an earlier one names the folder.
Function RunFolderHelper
  Push $R1
  Push $R2
  Push $R3
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  StrCpy $InstallKind "fresh"
  ${If} $R1 != ""
  ${AndIf} $R1 == $INSTDIR
    StrCpy $InstallKind "upgrade"
  ${EndIf}
  InitPluginsDir
  File "/oname=$PLUGINSDIR\solvane-folder.exe" "${FOLDER_HELPER}"
  File "/oname=$PLUGINSDIR\shipped-files.txt" "${SHIPPED_LIST}"
  nsExec::ExecToStack '"$PLUGINSDIR\solvane-folder.exe" $R0 $InstallKind "$PLUGINSDIR\shipped-files.txt" "$INSTDIR"'
  Pop $R1  ; the status
  Pop $R2  ; what it names, in UTF-16 after a byte order mark
  StrCpy $R3 $R2 1
  ${If} $R3 == "${U+FEFF}"
    StrCpy $R2 $R2 "" 1
  ${EndIf}
  StrCpy $FolderRefused 1
  ${Select} $R1
  ${Case} 0
    StrCpy $FolderRefused 0
  ${Case} 2
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR already exists and belongs to $R2, not to the administrators of this PC.$\r$\n$\r$\nSetup installs only into a new folder or one that the administrators own. Choose another folder." /SD IDOK
  ${Case} 3
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR holds a link to another place:$\r$\n$R2$\r$\n$\r$\nSetup does not install where a link could lead its files elsewhere. Remove the link, or choose another folder." /SD IDOK
  ${Case} 4
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR holds programs that are not part of ${PRODUCT}, such as:$\r$\n$R2$\r$\n$\r$\nChoose a new or empty folder." /SD IDOK
  ${Case} 5
    MessageBox MB_OK|MB_ICONSTOP "Users of this PC could rename or replace this folder:$\r$\n$R2$\r$\n$\r$\nThey could then send what Setup installs into $INSTDIR to another place. Choose a folder in Program Files, or in a folder that only administrators can change." /SD IDOK
  ${CaseElse}
    MessageBox MB_OK|MB_ICONSTOP "Setup could not make $INSTDIR safe for ${PRODUCT} (status $R1):$\r$\n$R2" /SD IDOK
  ${EndSelect}
  DetailPrint "The folder helper's status for $INSTDIR: $R1 $R2"
  Pop $R3
  Pop $R2
  Pop $R1
FunctionEnd

; The directory page is left only for a folder Setup may take.
Function DirectoryChosen
  StrCpy $R0 "check"
  Call RunFolderHelper
  ${If} $FolderRefused == 1
    Abort
  ${EndIf}
FunctionEnd

Section "-${PRODUCT}"
  ; A folder Setup may not take stops it before anything is changed, a running clock included.
  StrCpy $R0 "check"
  Call RunFolderHelper
  ${If} $FolderRefused == 1
    Abort "$INSTDIR was not changed."
  ${EndIf}
  Call EndRunningClock
  StrCpy $R0 "take-over"
  Call RunFolderHelper
  ${If} $FolderRefused == 1
    Abort "$INSTDIR was not made safe; nothing was installed."
  ${EndIf}

  ; File by file, each deleted first: a "help" folder already in the chosen folder keeps the
  ; user's files.
  !insertmacro INSTALL_FILES

  ; Where Windows lists screen savers. The saver finds the clock through AppPath.
  SetOutPath "$SYSDIR"
  File "${DIST}\${SAVER}"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The clock's folder for the screen saver before the clock's first start (the clock
  ; rewrites it whenever it saves its options).
  WriteRegStr HKLM "${REGISTRATION_KEY}" "AppPath" "$INSTDIR\solvane.exe"

  CreateDirectory "${SHORTCUTS}"
  CreateShortcut "${SHORTCUTS}\${PRODUCT}.lnk" "$INSTDIR\solvane.exe" "" "$INSTDIR\solvane.exe" 0
  CreateShortcut "${SHORTCUTS}\${PRODUCT} Help.lnk" "$INSTDIR\help\solvane.htm"
  CreateShortcut "${SHORTCUTS}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\solvane.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$SYSDIR" "/M=${SAVER} /S=0K /G=0" $1 $2 $3
  IntOp $0 $0 + $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; An upgrade starts the clock it ended.
  ${If} $ClockWasRunning == 1
    !insertmacro START_CLOCK_AS_USER
  ${EndIf}
SectionEnd

; The finish page offers to start the clock unless the upgrade has already started it again.
Function FinishPageShown
  ${If} $ClockWasRunning == 1
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Function StartClock
  ${If} $ClockWasRunning != 1
    !insertmacro START_CLOCK_AS_USER
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

; Closes the handle in $5 of a user's folder held open while its files go, once.
Function un.LetGoOfHeldFolder
  ${If} $5 != -1
    System::Call 'kernel32::CloseHandle(p r5)'
    StrCpy $5 -1
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.EndRunningClock

  ; The wallpaper placement the clock changed for its pictures goes back to the user's own,
  ; unless the user has chosen another since (the shell's wallpaper object, Windows 8 and later:
  ; SetPosition and GetPosition are its methods 10 and 11).
  ReadRegStr $0 HKCU "${PRODUCT_KEY}\Wallpaper" "UserPosition"
  ReadRegStr $1 HKCU "${PRODUCT_KEY}\Wallpaper" "AppliedPosition"
  ${If} $0 != ""
  ${AndIf} $1 != ""
    System::Call 'ole32::CoCreateInstance(g "{C2CF3110-460E-4fc1-B9D0-8A1C0C9CC4BD}", p 0, i 0x17, g "{B92B56A9-8B55-4E14-9A89-0199BBB6F93B}", *p .r2) i .r3'
    ${If} $3 = 0
      System::Call '$2->11(*i .r4) i .r3'
      ${If} $3 = 0
      ${AndIf} $4 = $1
        System::Call '$2->10(i r0)'
      ${EndIf}
      System::Call '$2->2()'
    ${EndIf}
  ${EndIf}
  DeleteRegKey HKCU "${PRODUCT_KEY}\Wallpaper"
  DeleteRegKey /ifempty HKCU "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKCU "${COMPANY_KEY}"

  ; The desktop keeps no wallpaper that is about to be deleted (the current user's, or one an
  ; earlier version wrote beside itself).
  SetShellVarContext current
  System::Call 'user32::SystemParametersInfoW(i 0x0073, i ${NSIS_MAX_STRLEN}, t .r0, i 0)'  ; SPI_GETDESKWALLPAPER
  StrLen $2 "${USER_PICTURES}\Solvane-"
  StrCpy $1 $0 $2  ; a monitor's own picture, "Solvane-<8 hex digits>.bmp"
  ${If} $0 == "${USER_PICTURES}\Solvane.bmp"
  ${OrIf} $1 == "${USER_PICTURES}\Solvane-"
  ${OrIf} $0 == "$INSTDIR\Solvane.bmp"
    System::Call 'user32::SystemParametersInfoW(i 0x0014, i 0, w "", i 3)'  ; SPI_SETDESKWALLPAPER, save and broadcast
  ${EndIf}
  ; Nothing is deleted through a link: a user's folder that is a junction or symbolic link
  ; (FILE_ATTRIBUTE_REPARSE_POINT; a missing folder, -1, has the bit too) is left alone. Each
  ; folder is held open as itself, with no leave to delete or rename it, from before it is
  ; looked at until its files are gone: meanwhile neither it nor a folder above it can be
  ; swapped for a link. (FILE_READ_ATTRIBUTES, shared for reading and writing, OPEN_EXISTING,
  ; FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT.)
  System::Call 'kernel32::CreateFileW(w "${USER_PICTURES}", i 0x80, i 3, p 0, i 3, i 0x02200000, p 0) p .r5'
  System::Call 'kernel32::GetFileAttributesW(w "${USER_PICTURES}") i .r1'
  IntOp $1 $1 & 0x400
  ${If} $1 == 0
  ${AndIf} $5 != -1
    Delete "${USER_PICTURES}\Solvane.bmp"
    Delete "${USER_PICTURES}\Solvane.bmp.*.new"
    Delete "${USER_PICTURES}\Solvane.bmp.new"
    Delete "${USER_PICTURES}\Solvane-*.bmp"
    Delete "${USER_PICTURES}\Solvane-*.bmp.*.new"
    Delete "${USER_PICTURES}\Solvane-*.bmp.new"
    Call un.LetGoOfHeldFolder
    RMDir "${USER_PICTURES}"
  ${EndIf}
  Call un.LetGoOfHeldFolder
  ; The current user's settings go only when they say so; other users' are not touched.
  System::Call 'kernel32::CreateFileW(w "${USER_SETTINGS}", i 0x80, i 3, p 0, i 3, i 0x02200000, p 0) p .r5'
  System::Call 'kernel32::GetFileAttributesW(w "${USER_SETTINGS}") i .r1'
  IntOp $1 $1 & 0x400
  ; The settings are the options record and the settings file beside it (places, the home's
  ; time zone, choices the record has no field for): asked about and deleted together.
  StrCpy $2 0
  ${IfThen} ${FileExists} "${USER_SETTINGS}\user.bin" ${|} StrCpy $2 1 ${|}
  ${IfThen} ${FileExists} "${USER_SETTINGS}\Solvane.ini" ${|} StrCpy $2 1 ${|}
  ${If} $1 == 0
  ${AndIf} $5 != -1
  ${AndIf} $2 == 1
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Delete your ${PRODUCT} settings (home, places, view and wallpaper choices) as well?$\r$\n$\r$\nThe settings of other users of this PC are left alone." /SD IDNO IDNO keepSettings
    Delete "${USER_SETTINGS}\user.bin"
    Delete "${USER_SETTINGS}\user.bin.*.new"
    Delete "${USER_SETTINGS}\user.bin.new"
    Delete "${USER_SETTINGS}\Solvane.ini"
    Delete "${USER_SETTINGS}\Solvane.ini.*.new"
    Delete "${USER_SETTINGS}\Solvane.ini.new"
    Call un.LetGoOfHeldFolder
    RMDir "${USER_SETTINGS}"
  keepSettings:
  ${EndIf}
  Call un.LetGoOfHeldFolder
  DetailPrint "The settings of other users of this PC are left alone."
  SetShellVarContext all

  !insertmacro DELETE_FILES
  ; What an earlier version or a copy run from this folder wrote beside itself: the wallpaper
  ; and the files it wrote before it replaced the old.
  Delete "$INSTDIR\Solvane.bmp"
  Delete "$INSTDIR\Solvane.bmp.*.new"
  Delete "$INSTDIR\Solvane.bmp.new"
  Delete "$INSTDIR\user.bin.*.new"
  Delete "$INSTDIR\user.bin.new"
  Delete "$INSTDIR\Solvane.ini.*.new"
  Delete "$INSTDIR\Solvane.ini.new"
  ; The settings kept there are a user's (each user's clock has taken over its own copy, but a
  ; copy run from this folder kept them only there): they go only when the user says so.
  ${If} ${FileExists} "$INSTDIR\user.bin"
  ${OrIf} ${FileExists} "$INSTDIR\Solvane.ini"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Delete the ${PRODUCT} settings kept in its folder as well?$\r$\n$\r$\nAn earlier version, or a copy of ${PRODUCT} run from $INSTDIR, kept them there. If you keep them, the folder stays." /SD IDNO IDNO keepFolderSettings
    Delete "$INSTDIR\user.bin"
    Delete "$INSTDIR\Solvane.ini"
  keepFolderSettings:
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SYSDIR\${SAVER}"
  ReadRegStr $0 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  ${GetFileName} $0 $1
  ${If} $1 == "${SAVER}"
    DeleteRegValue HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  ${EndIf}

  Delete "${SHORTCUTS}\${PRODUCT}.lnk"
  Delete "${SHORTCUTS}\${PRODUCT} Help.lnk"
  Delete "${SHORTCUTS}\Uninstall ${PRODUCT}.lnk"
  RMDir "${SHORTCUTS}"

  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegValue HKLM "${REGISTRATION_KEY}" "AppPath"
  DeleteRegKey /ifempty HKLM "${REGISTRATION_KEY}"
  DeleteRegKey /ifempty HKLM "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "${COMPANY_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
