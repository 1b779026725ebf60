#!/usr/bin/env bash
# The real quillbeam.exe under Wine on a private X server, driven from outside with xdotool:
#   smoke_test.sh QUILLBEAM_EXE WINDOW_PROBE_EXE LINUX_PACKAGE SCREENSHOT_FOLDER [generate-only]
# LINUX_PACKAGE is what the Linux build writes for the request typed below. Needs WINEPREFIX, a
# prefix whose drive Q: maps to a folder of its own (tools/windows-tests.sh makes it so).
set -euo pipefail
exe=$1 probe=$2 reference=$3 screenshots=$4 only=${5:-}
session_name=win32-smoke
source "$(dirname "$0")/../../../testkit/session.sh"
source "$(dirname "$0")/../../../testkit/wine.sh"
: "${WINEPREFIX:?}"
quiet=$(readlink -f "$WINEPREFIX/dosdevices/q:")
at_session_end 'rm -rf "$quiet/smoke-test-folder"'
ended_with_program() { program=$1; ended_with_session "$1"; }

# Polls for the state (a file, a window gone, a box's text), never waiting a fixed time for it:
#   await <what it waits for> <command...>
# The program ending, or wait_guard seconds without the state (a guard against hanging), fail
# with what was awaited.
await() {
  local what=$1 deadline=$((SECONDS + wait_guard))
  shift
  until "$@"; do
    kill -0 "$program" 2>/dev/null || fail "the program ended while waiting for $what"
    ((SECONDS < deadline)) || fail "no $what after $wait_guard seconds"
    sleep 0.05
  done
}
# Waits for a visible window named like $1 and sets `found` to it. `xdotool search --sync` would
# end with an X error whenever a window it looks at is destroyed meanwhile, as Wine does with
# windows of its own while a program starts, so each look stands alone.
window_shown() { found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) && [ -n "$found" ]; }
wait_window() { await "a window named $1" window_shown "$1"; }
# tools/windows-tests.sh provides the X server; alone, the test starts a private one.
[ -n "${DISPLAY:-}" ] || start_xvfb "$wine_screen"

# The desktop's opener, as Wine's browser bridge calls it: it records every address.
mkdir -p "$work/bin"
cat >"$work/bin/xdg-open" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$1" >>"$work/opened"
SCRIPT
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

# Ж gets a key of its own (the first spare one, which xdotool would borrow) before the program
# reads the keyboard map. Left to itself, xdotool binds that key just for the keystroke and takes
# it back at once; on a busy machine Wine then reads the key after it has lost its letter.
spare_key=$(xmodmap -pke | awk 'NF == 3 && !key { key = $2 } END { print key }')
xmodmap -e "keycode $spare_key = U0416"
"$wine" "$exe" >"$work/program.log" 2>&1 &
ended_with_program $!
wait_window '^Quillbeam 1\.0$'
main=$found

# The controls' places and texts, as the window itself reports them.
probe() { "$wine" "$probe" | tr -d '\r'; }
field() { probe | grep "^$1 " | cut -d' ' -f6-; }
click() {
  read -r left top width height < <(probe | awk -v name="$1" '$1 == name { print $2, $3, $4, $5 }')
  xdotool mousemove $((left + width / 2)) $((top + height / 2)) click 1
}
focus_main() { xdotool windowfocus --sync "$main"; }
# Waits until no window named $1 is visible: the dialog has closed.
no_window() {
  local errors
  errors=$(xdotool search --onlyvisible --name "$1" 2>&1 >/dev/null) && return 1
  [ -z "$errors" ]  # an X error says nothing either way: look again
}
wait_closed() { await "closing of the window named $1" no_window "$1"; }
# Answers the next message box captioned "Quillbeam" with Enter.
answer_message() {
  wait_window '^Quillbeam$'
  xdotool windowfocus --sync "$found"
  [ -n "${1:-}" ] && import -window root "$1"
  xdotool key Return
  wait_closed '^Quillbeam$'
}
same_package() {
  for file in mytext1.txt mytext2.txt mytext3.txt mytext4.txt htmlcode.html bannerloop2.swf \
              mypic.jpg; do
    cmp -s "$reference/$file" "$1/$file" || fail "$file differs from the Linux program's"
  done
}

# 1. The whole request by keyboard, in focus order; a box entered with Tab has its text selected.
mkdir -p "$work/out" "$screenshots"
focus_main
[ "$(field Text1)" = "" ] || fail "the folder box does not start empty"
xdotool type --delay 20 "$(windows_path "$work/out")"
xdotool key Tab Tab && xdotool type --delay 20 Welcome
xdotool key Tab && xdotool type --delay 20 to
xdotool key Tab && xdotool type --delay 20 our
xdotool key Tab && xdotool type --delay 20 site
xdotool key Tab Tab && xdotool type --delay 20 'http://example.com/'
if [ -z "$only" ]; then
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$screenshots/windows-window-96dpi.png"
fi
click Command2
answer_message
same_package "$work/out"
echo "ok: Generate! writes the Linux program's bytes"
close_main() {
  focus_main
  xdotool key alt+F4
  wait "$program" || fail "the program ended with status $?"
  echo "ok: closing the window ends the program"
}
if [ "$only" = generate-only ]; then
  close_main
  exit 0
fi

# 2. A letter the banner cannot show is named before anything is written. Enter answers No: the
#    package is not written again, and the box holding the letter keeps it and has the focus.
box_reads() { [ "$(field "$1")" = "$2" ]; }
typed_into() { await "\"$2\" in box $1" box_reads "$1" "$2"; }
rm "$work/out/mytext1.txt"
click Text3
focus_main
xdotool key End U0416
typed_into Text3 "toЖ"
click Command2
answer_message "$screenshots/windows-question.png"
[ ! -e "$work/out/mytext1.txt" ] || fail "the package was written after No"
focus_main
xdotool type x
typed_into Text3 "toЖx"
xdotool key BackSpace BackSpace
typed_into Text3 to
echo "ok: a letter the banner cannot show is named first; No writes nothing"

# 3. A folder that cannot be written: the report comes, the window stays with every field.
before=$(probe | cut -d' ' -f1,6-)
: >"$work/not-a-folder"
click Text1
focus_main
xdotool key End shift+Home
xdotool type --delay 20 "$(windows_path "$work/not-a-folder")\\out"
typed=$(probe | cut -d' ' -f1,6-)
click Command2
answer_message "$screenshots/windows-failure-report.png"
[ "$(probe | cut -d' ' -f1,6-)" = "$typed" ] || fail "the fields changed after the failure report"
[ "$(field Text2)" = Welcome ] && [ "$(field Text6)" = 'http://example.com/' ] ||
  fail "the messages were not kept"
[ "$before" != "$typed" ] || fail "the folder was not typed"
echo "ok: the failure report keeps the window and its fields"

# 4. Browse, then Escape, empties the folder box.
click Command1
wait_window '^Browse for Folder$'
xdotool windowfocus --sync "$found"
import -window root -crop 440x600+0+0 "$screenshots/windows-folder-dialog.png"
xdotool key Escape
wait_closed '^Browse for Folder$'
[ "$(field Text1)" = "" ] || fail "cancelling Browse left '$(field Text1)' in the folder box"
echo "ok: Browse, Escape empties the folder box"

# 5. Browse, then a folder chosen in the tree: My Computer, its second drive (C:, Q:, Z:), and
#    its one folder. Drive Q: is this test's while it holds the screen lock.
find "$quiet" -mindepth 1 -delete
mkdir -p "$quiet/smoke-test-folder"
click Command1
wait_window '^Browse for Folder$'
xdotool windowfocus --sync "$found"
xdotool key m Right Down Down Right Right Return
wait_closed '^Browse for Folder$'
[ "$(field Text1)" = 'Q:\smoke-test-folder' ] || fail "Browse put '$(field Text1)' in the box"
echo "ok: Browse puts the chosen folder's Windows path in the box"

# 6. Each link reaches the desktop's opener with its exact address. Each click starts an opener
#    process of its own, which may finish after the next one's: the next click waits for it.
opened=0
at_least_opened() { [ "$(wc -l <"$work/opened" 2>/dev/null || echo 0)" -ge "$opened" ]; }
for link in Image1 Label7; do
  click "$link"
  opened=$((opened + 1))
  await "$opened address(es) at the desktop's opener" at_least_opened
done
printf 'http://www.quillbeam.net/ZRV/NEW/\nhttp://www.quillbeam.net/ZRV/update.htm\n' |
  cmp -s - "$work/opened" || fail "the links opened: $(cat "$work/opened")"
echo "ok: the links open the publisher's pages"

# 7. Screen readers in another process find each box right after its caption among the window's
#    children.
children=$(probe | sed -n 's/^children //p')
[ "$children" = "Image1 Label1 Text1 Command1 Label2 Text2 Label3 Text3 Label4 Text4 Label5 Text5 \
Command2 Label6 Text6 Label7" ] || fail "the window's children come in the order $children"
echo "ok: each box comes right after its caption among the window's children"

close_main

# 8. At 144 dots per inch the window is 567 by 825 (no window manager: the X window is the
#    client area). The prefix's screen setting is put back whatever happens.
at_session_end "set_wine_dpi 96"
set_wine_dpi 144
"$wine" "$exe" >"$work/program.log" 2>&1 &
ended_with_program $!
wait_window '^Quillbeam 1\.0$'
main=$found
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "${WIDTH}x${HEIGHT}" = 567x825 ] || fail "at 144 DPI the window is ${WIDTH}x${HEIGHT}"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$screenshots/windows-window-144dpi.png"
close_main
echo "ok: at 144 DPI the client area is 567 by 825"
