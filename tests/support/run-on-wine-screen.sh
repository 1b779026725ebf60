#!/usr/bin/env bash
# run-on-wine-screen.sh DPI PROGRAM: runs a Windows program under Wine on an X server, with the
# Wine prefix's screen resolution (LogPixels) set to DPI for the run and set back to 96 afterwards.
# The program finds the prefix's drive Q:, a folder of its own (see testkit/wine.sh), through
# QUILLBEAM_QUIET_DRIVE.
set -euo pipefail
dpi=$1 program=$2
session_name=wine-screen
source "$(dirname "$0")/../../testkit/session.sh"
source "$(dirname "$0")/../../testkit/wine.sh"

export QUILLBEAM_QUIET_DRIVE=Q:
if [ "$dpi" != 96 ]; then
  set_wine_dpi "$dpi"
  at_session_end "set_wine_dpi 96"
fi
# With no window manager on the test screen, Wine waits in vain for one to take each window the
# program makes and closes: the window tests manage their windows themselves.
"$wine" reg.exe add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$program")\\X11 Driver" \
  /v Managed /t REG_SZ /d N /f </dev/null >/dev/null
# tools/windows-tests.sh provides one X server for the whole run; alone, the program gets its own.
[ -n "${DISPLAY:-}" ] || start_xvfb "$wine_screen"
"$wine" "$program"
