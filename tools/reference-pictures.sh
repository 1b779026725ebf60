#!/usr/bin/env bash
# Takes the windows' reference pictures anew, from the windows as they are built now: the Qt window
# offscreen and the Win32 window under Wine, each at 96 and 144 DPI. The window tests compare
# every run against them (tests/app/pictures/), so run this only when the window's look is meant
# to change, and look at the new pictures before committing them.
#   tools/reference-pictures.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux=$root/build windows=${QUILLBEAM_WINDOWS_BUILD_DIR:-$root/build-windows}
shots=("$linux"/screenshots/qt-window-{96,144}.ppm "$windows"/screenshots/win32-window-{96,144}.ppm)
logs=$linux/reference-pictures
rm -f "${shots[@]}"
mkdir -p "$logs"
# The window tests leave each screenshot in their build's screenshots folder. Their picture cases
# fail until the new pictures are in place, so their results are only kept in the logs.
"$root/tools/dev.sh" test -R '^window_test' >"$logs/linux.log" 2>&1 || true
"$root/tools/dev.sh" windows -R '^win32_window_test' >"$logs/windows.log" 2>&1 || true
for shot in "${shots[@]}"; do
  if [ ! -f "$shot" ]; then
    echo "$0: no screenshot $shot: the window tests did not get that far (see $logs)" >&2
    exit 1
  fi
  # Stripped of the dates ImageMagick would write, so that the same picture gives the same file.
  convert "$shot" -strip "$root/tests/app/pictures/$(basename "${shot%.ppm}").png"
done
echo "New reference pictures in tests/app/pictures/: look at them, then run both test suites."
