#!/usr/bin/env bash
# Meets the real program the way a screen reader does: a private X server, a private session bus
# carrying at-spi2-core's accessibility bus, and Qt's AT-SPI bridge switched on. bus_check.py
# then starts the program on that bus and walks and drives its window through AT-SPI alone.
# A fake xdg-open first on PATH records the addresses the links open.
# usage: bus_check.sh <quillbeam executable>
set -euo pipefail
program=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
session_name=a11y
source "$here/../../testkit/session.sh"

start_xvfb 1024x768x24

mkdir -m 0700 "$work/runtime" "$work/home"
mkdir "$work/bin" "$work/output"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$1" >>'$work/opened'
EOF
chmod +x "$work/bin/xdg-open"

# A clean environment: nothing of the caller's desktop, bus or browser leaks in.
env -i PATH="$work/bin:/usr/bin:/bin" HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
  DISPLAY="$DISPLAY" LANG=C.UTF-8 GSETTINGS_BACKEND=memory \
  QUILLBEAM_PROGRAM="$program" QUILLBEAM_WORK="$work" \
  dbus-run-session -- /usr/bin/python3 "$here/bus_check.py"
