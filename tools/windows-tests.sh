#!/usr/bin/env bash
# Cross-builds Quillbeam for Windows into the given build folder and runs every Windows test under
# Wine, in a Wine prefix of that build folder's own. Expects what `install-deps.sh windows` installs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: windows-tests.sh BUILD_FOLDER}
wine=/usr/lib/wine/wine64

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  --toolchain "$root/cmake/mingw-w64-x86_64.cmake" -DQUILLBEAM_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"

# The tests are console programs: they need no display, and the prefix is made faster without one.
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
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

# Drive Q: is a folder of its own for the folder dialog's tests (QUILLBEAM_QUIET_DRIVE): the dialog
# selects a start folder reliably only under parents nothing else touches. Drives are read when
# the server starts, so the mapping is made before it does.
mkdir -p "$build/wine-quiet-drive"
ln -sfn "$build/wine-quiet-drive" "$WINEPREFIX/dosdevices/q:"

# The window tests need an X server. Wine's background services, started once below, read the
# screen's size from the display they start on, and every window is later kept within it: one
# private Xvfb, large enough for the window at 144 DPI, serves the whole run.
xvfb_display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1440x24 -nolisten tcp 3>"$xvfb_display_file" 2>/dev/null &
xvfb=$!
while [ ! -s "$xvfb_display_file" ]; do
  kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=":$(cat "$xvfb_display_file")"
rm -f "$xvfb_display_file"

# One server for the whole run makes each test program start in a fraction of the time. The
# first program starts Wine's background services, which stay as long as the server; started
# here, they hold no test's output pipe open (ctest would wait for it to close).
wineserver -p 2>/dev/null || true  # exits 2 when one is running already
trap 'wineserver -k || true; kill "$xvfb"' EXIT
"$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1
ctest --test-dir "$build" --output-on-failure --timeout 300 --parallel "$(nproc)"
