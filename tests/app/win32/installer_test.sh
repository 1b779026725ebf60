#!/usr/bin/env bash
# The installer under Wine, both ways: for all users (Program Files, the machine's Start menu and
# uninstall list) and for the current user alone (the user's own programs folder, Start menu and
# uninstall list). Each is a silent install, the installed program generating a package, and a
# silent uninstall that leaves nothing behind.
#   installer_test.sh INSTALLER SMOKE_TEST WINDOW_PROBE_EXE LINUX_PACKAGE SCREENSHOT_FOLDER
set -euo pipefail
installer=$1 smoke=$2 probe=$3 reference=$4 screenshots=$5
session_name=win32-installer
source "$(dirname "$0")/../../../testkit/session.sh"
source "$(dirname "$0")/../../../testkit/wine.sh"
: "${WINEPREFIX:?}"
# A run that fails half way leaves no installation behind for the next run to trip over.
installed=()
remove_leftovers() {
  for folder in "${installed[@]}"; do rm -rf "$folder"; done
  for root in HKLM HKCU; do
    "$wine" reg.exe delete "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillbeam" /f \
      </dev/null >/dev/null 2>&1 || true
  done
}
at_session_end remove_leftovers

# A user without administrator rights can run it: Windows elevates only those who have the rights.
level=$(grep -a -o 'requestedExecutionLevel level="[A-Za-z]*"' "$installer" | head -1)
[ "$level" = 'requestedExecutionLevel level="highestAvailable"' ] ||
  fail "the installer asks for administrator rights: $level"
echo "ok: the installer runs without administrator rights"

# A Windows folder of the prefix (an environment variable's value) as a path here.
unix_folder() {
  local windows
  windows=$("$wine" cmd.exe /c echo "%$1%" </dev/null | tr -d '\r')
  "$wine" winepath.exe -u "$windows" </dev/null | tr -d '\r'
}

# install_and_remove SWITCH FOLDER START_MENU REGISTRY_ROOT
install_and_remove() {
  local switch=$1 folder=$2 shortcut="$3/Quillbeam.lnk"
  local key="$4\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillbeam"
  registered() { "$wine" reg.exe query "$key" /v UninstallString >/dev/null 2>&1; }

  [ ! -e "$folder" ] || fail "Quillbeam is installed already in $folder"
  installed+=("$folder" "$shortcut")
  "$wine" "$installer" /S "$switch"
  for file in quillbeam.exe Template/bannerloop2.swf Template/bannerplayer.js Template/mypic.jpg \
              uninstall.exe; do
    [ -f "$folder/$file" ] || fail "$switch: the installer did not place $file in $folder"
  done
  [ -f "$shortcut" ] || fail "$switch: no Start-menu shortcut at $shortcut"
  registered || fail "$switch: no uninstaller registered under $key"
  echo "ok: $switch installed into $folder with Template beside the program"

  bash "$smoke" "$folder/quillbeam.exe" "$probe" "$reference" "$screenshots" generate-only

  # The uninstaller runs a copy of itself and returns at once; its last step removes the folder.
  "$wine" "$folder/uninstall.exe" /S
  while [ -e "$folder" ]; do sleep 0.05; done
  [ ! -e "$shortcut" ] || fail "$switch: the shortcut is left"
  ! registered || fail "$switch: the uninstaller is still registered"
  echo "ok: $switch uninstall leaves nothing behind"
}

install_and_remove /AllUsers "$(unix_folder ProgramFiles)/Quillbeam" \
  "$(unix_folder ProgramData)/Microsoft/Windows/Start Menu/Programs" HKLM
install_and_remove /CurrentUser "$(unix_folder LOCALAPPDATA)/Programs/Quillbeam" \
  "$(unix_folder APPDATA)/Microsoft/Windows/Start Menu/Programs" HKCU
