#!/usr/bin/env bash
# Starts the real program as a native Wayland client on a private headless Weston and checks, from
# the Wayland messages the program exchanges, that its window maps: a toplevel titled
# "Quillbeam 1.0" whose surface, after a buffer was committed, the compositor reports as entering
# its output. Leaves Weston's screenshot of the screen in the given folder.
# usage: wayland_start_test.sh <quillbeam executable> <folder for the screenshot>
set -euo pipefail
program=$(readlink -f "$1")
shots=$2

session_name=wayland
source "$(dirname "$0")/../../testkit/session.sh"

fail() {
  echo "wayland start test: $*" >&2
  tail -n 20 "$work/weston.log" "$work/app.log" >&2 2>/dev/null || true
  exit 1
}

# Weston with no display hardware, drawing into memory (pixman), so that its screenshooter, which
# --debug allows, has something to read. No X server is offered to the program.
unset DISPLAY
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=quillbeam-test
weston --backend=headless-backend.so --use-pixman --width=640 --height=640 --no-config \
  --idle-time=0 --debug --socket="$WAYLAND_DISPLAY" >"$work/weston.log" 2>&1 &
ended_with_session $!
wait_for test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "Weston did not start"

# WAYLAND_DEBUG=1 makes the client library log every message it sends (->) and receives.
(cd "$work" && exec env QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 "$program") >"$work/app.log" 2>&1 &
app_pid=$!
ended_with_session "$app_pid"

# The toplevel's surface: xdg_wm_base.get_xdg_surface(new id xdg_surface@X, wl_surface@S), then
# xdg_surface@X.get_toplevel(new id xdg_toplevel@T) and xdg_toplevel@T.set_title(...).
toplevel_surface() {
  local line xdg toplevel
  while read -r line; do
    xdg=$(sed -n 's/.*get_xdg_surface(new id \(xdg_surface@[0-9]*\), \(wl_surface@[0-9]*\)).*/\1 \2/p' <<<"$line")
    [ -n "$xdg" ] || continue
    toplevel=$(grep -o "${xdg% *}\.get_toplevel(new id xdg_toplevel@[0-9]*)" "$work/app.log" |
      grep -o 'xdg_toplevel@[0-9]*') || continue
    grep -qF "$toplevel.set_title(\"Quillbeam 1.0\")" "$work/app.log" && echo "${xdg#* }" && return 0
  done < <(grep get_xdg_surface "$work/app.log")
  return 1
}
wait_for toplevel_surface || fail "no toplevel titled Quillbeam 1.0"
surface=$(toplevel_surface)
maps() {
  grep -q "$surface\.attach(wl_buffer@" "$work/app.log" &&
    grep -q "$surface\.enter(wl_output@" "$work/app.log"
}
wait_for maps || fail "the window's surface never entered Weston's output"
kill -0 "$app_pid" || fail "the program ended"

mkdir -p "$shots"
(cd "$work" && weston-screenshooter) || fail "Weston's screenshooter failed"
mv "$work"/wayland-screenshot-*.png "$shots/quillbeam-wayland.png"
echo "wayland start test: the window mapped on Weston as a Wayland toplevel ($surface)"
