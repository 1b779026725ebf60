#!/usr/bin/env bash
# The installer under Wine: a silent install, the installed program generating a package, and a
# silent uninstall that leaves nothing behind.
#   installer_test.sh INSTALLER SMOKE_TEST WINDOW_PROBE_EXE LINUX_PACKAGE SCREENSHOT_FOLDER
set -euo pipefail
installer=$1 smoke=$2 probe=$3 reference=$4 screenshots=$5
session_name=win32-installer
source "$(dirname "$0")/../../../testkit/session.sh"
source "$(dirname "$0")/../../../testkit/wine.sh"
: "${WINEPREFIX:?}"
folder="$WINEPREFIX/drive_c/Program Files/Quillbeam"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quillbeam.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillbeam'
registered() { "$wine" reg.exe query "$key" /v UninstallString >/dev/null 2>&1; }

[ ! -e "$folder" ] || fail "Quillbeam is installed already in $folder"
"$wine" "$installer" /S
for file in quillbeam.exe Template/bannerloop2.swf Template/mypic.jpg uninstall.exe; do
  [ -f "$folder/$file" ] || fail "the installer did not place $file"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
registered || fail "no uninstaller registered"
echo "ok: installed into Program Files with Template beside the program"

bash "$smoke" "$folder/quillbeam.exe" "$probe" "$reference" "$screenshots" generate-only

# The uninstaller runs a copy of itself and returns at once; its last step removes the folder.
"$wine" "$folder/uninstall.exe" /S
while [ -e "$folder" ]; do sleep 0.05; done
[ ! -e "$shortcut" ] || fail "the shortcut is left"
! registered || fail "the uninstaller is still registered"
echo "ok: the uninstaller leaves nothing behind"
