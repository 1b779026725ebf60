; The Quillbeam installer: quillbeam.exe with Template\ beside it, a Start-menu shortcut, and an
; uninstaller registered with Windows. It installs for all users (Program Files, with
; administrator rights) or for the current user alone (the user's own programs folder, no
; administrator rights needed). The build defines STAGE (the folder holding quillbeam.exe and
; Template), OUTFILE, VERSION and ICON.
;
; Silent installs: /S /AllUsers or /S /CurrentUser. Without either, an administrator installs
; for all users and anyone else for themselves.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Quillbeam"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillbeam"

; "Highest" asks for administrator rights only of those who have them, so anyone else can still
; install for themselves.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh

Name "${PRODUCT}"
OutFile "${OUTFILE}"
ShowInstDetails show
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PRODUCT}"
VIAddVersionKey "LegalCopyright" "Copyright the ${PRODUCT} developers; MIT licence"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The registry root of the chosen installation: HKLM for all users, HKCU for one.
!macro WriteUninstallEntries ROOT
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillbeam.exe"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD ${ROOT} "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD ${ROOT} "${UNINSTALL_KEY}" "NoRepair" 1
!macroend

Function .onInit
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

; The uninstaller removes the installation it belongs to: the current user's when it stands in
; the folder registered for this user, otherwise the one for all users. So an administrator who
; installed both ways removes each with its own uninstaller.
Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    Call un.MultiUser.InstallMode.CurrentUser
  ${Else}
    Call un.MultiUser.InstallMode.AllUsers
  ${EndIf}
FunctionEnd

Section "Quillbeam"
  SetOutPath "$INSTDIR"
  File "${STAGE}/quillbeam.exe"
  SetOutPath "$INSTDIR\Template"
  File "${STAGE}/Template/bannerloop2.swf"
  File "${STAGE}/Template/bannerplayer.js"
  File "${STAGE}/Template/mypic.jpg"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; MultiUser has set the shell folders to all users' or to the current user's.
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\quillbeam.exe"
  ${If} $MultiUser.InstallMode == "AllUsers"
    !insertmacro WriteUninstallEntries HKLM
  ${Else}
    !insertmacro WriteUninstallEntries HKCU
  ${EndIf}
SectionEnd

; Removes exactly what the installer put there; a folder the user added files to stays.
; The folder goes last, so that once it is gone the uninstaller has finished.
Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ${If} $MultiUser.InstallMode == "AllUsers"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${Else}
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
  Delete "$INSTDIR\Template\bannerloop2.swf"
  Delete "$INSTDIR\Template\bannerplayer.js"
  Delete "$INSTDIR\Template\mypic.jpg"
  RMDir "$INSTDIR\Template"
  Delete "$INSTDIR\quillbeam.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
