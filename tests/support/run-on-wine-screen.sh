#!/usr/bin/env bash
# run-on-wine-screen.sh DPI COMMAND...: runs a Wine command on an X server, with the Wine
# prefix's screen resolution (LogPixels) set to DPI for the run and set back to 96 afterwards.
# The command line starts with `env WINEPREFIX=... wine64`, as the build's emulator does.
# QUILLBEAM_QUIET_DRIVE names drive Q:, which the prefix maps to a folder of its own (see
# tools/windows-tests.sh): the shell's folder dialog selects a start folder reliably only under
# parents nothing else touches, because Wine's folder identities carry access times.
set -euo pipefail
dpi=$1
shift
for word in "$@"; do
  case "$word" in WINEPREFIX=*) export "${word?}" ;; esac
done
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all

set_dpi() {
  "$wine" reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
}
export QUILLBEAM_QUIET_DRIVE=Q:
if [ "$dpi" != 96 ]; then
  set_dpi "$dpi"
  trap 'set_dpi 96' EXIT
fi
# tools/windows-tests.sh provides one X server for the whole run; alone, the command gets its own.
if [ -n "${DISPLAY:-}" ]; then
  "$@"
else
  xvfb-run -a -s "-screen 0 1920x1440x24 -nolisten tcp" "$@"
fi
