#!/usr/bin/env bash
# Meets the real program the way a screen reader does: a private X server, a private session bus
# carrying at-spi2-core's accessibility bus, and Qt's AT-SPI bridge switched on. bus_check.py
# then starts the program on that bus and walks and drives its window through AT-SPI alone.
# A fake xdg-open first on PATH records the addresses the links open.
# usage: bus_check.sh <quillbeam executable>
set -euo pipefail
program=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quillbeam-a11y-XXXXXX")
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display and writes its number once it accepts clients. Without -noreset
# it would reset when its first client (the bus launcher) leaves, and refuse the program meanwhile.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" \
  2>"$work/xvfb.log" &
xvfb_pid=$!
while kill -0 "$xvfb_pid" 2>/dev/null && [ ! -s "$work/display" ]; do sleep 0.05; done
[ -s "$work/display" ] || { echo "bus check: Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }

mkdir -m 0700 "$work/runtime" "$work/home"
mkdir "$work/bin" "$work/output"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$1" >>'$work/opened'
EOF
chmod +x "$work/bin/xdg-open"

# A clean environment: nothing of the caller's desktop, bus or browser leaks in.
env -i PATH="$work/bin:/usr/bin:/bin" HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
  DISPLAY=":$(cat "$work/display")" LANG=C.UTF-8 GSETTINGS_BACKEND=memory \
  QUILLBEAM_PROGRAM="$program" QUILLBEAM_WORK="$work" \
  dbus-run-session -- /usr/bin/python3 "$here/bus_check.py"
