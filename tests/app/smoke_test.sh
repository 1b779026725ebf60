#!/usr/bin/env bash
# Starts the real program on a private X server and drives it from outside as a user would: types
# an output folder, clicks Generate!, confirms the completion message with Enter, and checks the
# package on disk. Leaves a screenshot of the window in the given folder.
# usage: smoke_test.sh <quillbeam executable> <folder for the screenshot>
set -euo pipefail
program=$1
shots=$2
# Through a link (an installed bin/quillbeam), Template/ still sits beside the real executable.
template=$(dirname "$(readlink -f "$program")")/Template

session_name=smoke private_x=yes
source "$(dirname "$0")/../../testkit/session.sh"

fail() {
  echo "smoke test: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$shots/quillbeam-failure.png" 2>/dev/null || true
  ls -la "$work" "${output:-$work}" >&2 || true
  exit 1
}

start_xvfb 1024x768x24

mkdir -p "$work/home" && chmod 0700 "$work/home"
# No platform theme: Qt's own style, whose window background the screenshot waits for below.
XDG_RUNTIME_DIR="$work/home" QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME= "$program" 2>"$work/app.log" &
app_pid=$!
ended_with_session "$app_pid"

find_window() { xdotool search --onlyvisible --name "$1" | head -n 1; }
wait_for find_window '^Quillbeam 1.0$' || fail "no window: $(cat "$work/app.log")"
window=$(find_window '^Quillbeam 1.0$')
# The screenshot once the first paint has landed: the window's background in its lower corner.
painted() { [ "$(import -window root -crop 1x1+5+540 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')" = "#EFEFEF" ]; }
wait_for painted || fail "the window was not painted"
mkdir -p "$shots"
import -window root -crop 378x550+0+0 "$shots/quillbeam-window.png"

# The folder, typed into Text1 (16,120 249x25). ASCII only: xdotool types other characters by
# remapping a key for a moment, and the program may read the key before it sees the new map.
output="$work/Zoe's banner"
mkdir "$output"
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" 40 132 click 1
xdotool type --delay 2 "$output"
# Generate! (160,496 185x33), then Enter on the completion message.
xdotool mousemove --window "$window" 252 512 click 1
wait_for find_window '^Quillbeam$' || fail "no completion message: $(cat "$work/app.log")"
message=$(find_window '^Quillbeam$')

xdotool windowfocus --sync "$message"
xdotool key Return
wait_for bash -c "! xdotool search --onlyvisible --name '^Quillbeam\$'" ||
  fail "the completion message did not close"
kill -0 "$app_pid" || fail "the program ended"

# The package: four variable files carrying the first messages and address, the page and assets.
ends_with() { [ "$(tail -c "${#2}" "$1")" = "$2" ] || fail "$1 does not end with the expected text"; }
for file in mytext1.txt mytext2.txt mytext3.txt mytext4.txt htmlcode.html; do
  [ -s "$output/$file" ] || fail "$file is missing"
done
[ "$(tail -c 7 "$output/mytext1.txt" | od -An -c | tr -s ' ')" = " T e x t 2 \r \n" ] ||
  fail "mytext1.txt does not end with Text2 and CR LF"
ends_with "$output/mytext2.txt" "&txt=Text3"
ends_with "$output/mytext3.txt" "&txt=Text4"
ends_with "$output/mytext4.txt" "&txt=Text5"
grep -q "&theUrl=Text6&" "$output/mytext1.txt" || fail "mytext1.txt lacks the address"
cmp "$template/bannerloop2.swf" "$output/bannerloop2.swf"
cmp "$template/mypic.jpg" "$output/mypic.jpg"
echo "smoke test: package written to a folder typed into the running program"
