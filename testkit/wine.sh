# shellcheck shell=bash
# Sourced after session.sh by every script that runs Windows programs under Wine. The build
# defines the Wine environment (cmake/WineTests.cmake): ctest hands it to each test, and scripts
# that start from a build folder read it with wine_environment. `wine` then names the 64-bit
# loader: /usr/bin/wine is a script that warns about a missing 32-bit Wine.

# The screen of the window tests: large enough for the window at 144 DPI.
wine_screen=1920x1440x24

# wine_environment <build folder>: the Wine loader and prefix of that cross build.
wine_environment() {
  [ -f "$1/wine.env" ] || fail "$1 is not a configured Windows build (no wine.env)"
  # shellcheck source=/dev/null
  source "$1/wine.env"
  wine=$QUILLBEAM_WINE
}
wine=${QUILLBEAM_WINE:-}

# windows_path <path>: the path as Windows programs see it, through drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# set_wine_dpi <dots per inch>: the prefix's screen resolution, read by programs as they start.
set_wine_dpi() {
  "$wine" reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
}

# prepare_wine_prefix: makes the prefix once (without a display, which makes it faster), and maps
# drive Q: to a folder of its own for the folder dialog's tests (QUILLBEAM_QUIET_DRIVE): the dialog
# selects a start folder reliably only under parents nothing else touches, because Wine's folder
# identities carry access times. Drives are read when the server starts, so the mapping is made
# before one does.
prepare_wine_prefix() (
  unset DISPLAY WAYLAND_DISPLAY
  if [ ! -f "$WINEPREFIX/.quillbeam-ready" ]; then
    rm -rf "$WINEPREFIX"
    "$wine" wineboot.exe -i </dev/null >/dev/null 2>&1
    # A crash ends the program with a backtrace instead of waiting for a click on Wine's dialog.
    "$wine" reg.exe add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      </dev/null >/dev/null
    wineserver -w
    touch "$WINEPREFIX/.quillbeam-ready"
  fi
  quiet="$(dirname "$WINEPREFIX")/wine-quiet-drive"
  mkdir -p "$quiet"
  ln -sfn "$quiet" "$WINEPREFIX/dosdevices/q:"
)

# start_wine_services: one Wine server for the rest of the session, with Wine's background
# services started on the current display. They read the screen's size from the display they
# start on and keep every window within it, and they stay as long as the server: every program
# run later starts in a fraction of the time. Started here, they hold no test's output pipe open
# (ctest would wait for it to close).
start_wine_services() {
  wineserver -p 2>/dev/null || true  # exits 2 when one is running already
  at_session_end "wineserver -k"
  "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1
}
