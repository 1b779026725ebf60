#!/usr/bin/env bash
# Starts the real program on a private X server with the GTK platform theme, as a GNOME, Xfce or
# Cinnamon session would, and drives Browse from outside: it must open GTK's own folder chooser,
# titled "Select a directory" and modal to the window; a folder typed into it lands in the folder
# box; Browse again and Escape empties the box. What the box holds is read back through Generate!:
# the package must land in the folder the box names. Leaves a screenshot of the chooser.
# usage: gtk_chooser_test.sh <quillbeam executable> <folder for the screenshot>
set -euo pipefail
program=$(readlink -f "$1")
shots=$2

session_name=gtk private_x=yes
source "$(dirname "$0")/../../testkit/session.sh"

fail() {
  echo "gtk chooser test: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$shots/gtk-chooser-failure.png" 2>/dev/null || true
  cat "$work/app.log" >&2 2>/dev/null || true
  exit 1
}

start_xvfb 1280x1024x24

# GTK keeps its settings in memory and its recent files under the private home; no session bus,
# no accessibility bus. The program runs in the work folder, so a relative folder lands there.
home="$work/home"
mkdir -p "$home" "$work/chosen" "$work/picked" && chmod 0700 "$home"
(
  cd "$work"
  exec env HOME="$home" XDG_RUNTIME_DIR="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache" \
    GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 GIO_USE_VFS=local \
    QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=gtk3 "$program"
) 2>"$work/app.log" &
app_pid=$!
ended_with_session "$app_pid"

find_window() { xdotool search --onlyvisible --name "$1" | head -n 1; }
wait_for find_window '^Quillbeam 1.0$' || fail "no window"
window=$(find_window '^Quillbeam 1.0$')

# browse: clicks Browse (280,120 73x25) and waits for the chooser; prints its window.
browse() {
  xdotool windowfocus --sync "$window"
  xdotool mousemove --window "$window" 316 132 click 1
  wait_for find_window '^Select a directory$' || fail "Browse opened no chooser"
  local chooser
  chooser=$(find_window '^Select a directory$')
  # GTK's chooser, not Qt's own dialog with the same title, and modal to the window.
  xprop -id "$chooser" WM_WINDOW_ROLE | grep -q '"GtkFileChooserDialog"' ||
    fail "Browse opened another dialog than GTK's: $(xprop -id "$chooser" WM_WINDOW_ROLE WM_CLASS)"
  xprop -id "$chooser" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL || fail "the chooser is not modal"
  [ "$(xprop -id "$chooser" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*')" = "$(printf '0x%x' "$window")" ] ||
    fail "the chooser does not belong to the window"
  echo "$chooser"
}

# closes: waits for the chooser to close.
closes() {
  wait_for bash -c "! xdotool search --onlyvisible --name '^Select a directory\$'" ||
    fail "the chooser did not close"
}

# generate: clicks Generate! (160,496 185x33) and confirms the completion message with Enter.
generate() {
  xdotool windowfocus --sync "$window"
  xdotool mousemove --window "$window" 252 512 click 1
  wait_for find_window '^Quillbeam$' || fail "no message after Generate!"
  local message
  message=$(find_window '^Quillbeam$')
  xdotool windowfocus --sync "$message"
  xdotool key Return
  wait_for bash -c "! xdotool search --onlyvisible --name '^Quillbeam\$'" ||
    fail "the message did not close"
}

# 1. Browse, type the folder into GTK's location box (Ctrl+L), Return: its full path lands in the
#    folder box, so Generate! writes the package there.
chooser=$(browse)
mkdir -p "$shots"
# The screenshot once the chooser's file list (white, right of the side bar) has been painted.
painted() { [ "$(import -window root -crop 1x1+600+400 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')" = "#FFFFFF" ]; }
wait_for painted || fail "the chooser was not painted"
import -window "$chooser" "$shots/gtk-chooser.png"
xdotool windowfocus --sync "$chooser"
xdotool key ctrl+l
xdotool type --delay 2 "$work/chosen"
xdotool key Return
closes
generate
[ -s "$work/chosen/mytext1.txt" ] && [ -s "$work/chosen/bannerloop2.swf" ] ||
  fail "the package is not in the chosen folder: the box did not get its path"

# 2. Browse again and Escape: the box is emptied. Typing a relative name after whatever the box
#    holds then names "picked" in the program's folder only if the box was empty.
chooser=$(browse)
xdotool windowfocus --sync "$chooser"
xdotool key Escape
closes
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" 40 132 click 1
xdotool key End
xdotool type --delay 2 picked
generate
[ -s "$work/picked/mytext1.txt" ] || fail "Escape did not empty the folder box"
kill -0 "$app_pid" || fail "the program ended"
echo "gtk chooser test: GTK's chooser chose a folder, and Escape emptied the box"
