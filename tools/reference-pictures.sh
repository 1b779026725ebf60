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
rm -f "${shots[@]}"
# The window tests leave each screenshot in the build's screenshots folder; their picture cases
# fail until the new pictures are in place.
"$root/tools/dev.sh" test -R '^window_test' >/dev/null || true
"$root/tools/dev.sh" windows -R '^win32_window_test' >/dev/null || true
for shot in "${shots[@]}"; do
  [ -f "$shot" ] || { echo "$0: no screenshot $shot: the window tests did not get that far" >&2; exit 1; }
  # Stripped of the dates ImageMagick would write, so that the same picture gives the same file.
  convert "$shot" -strip "$root/tests/app/pictures/$(basename "${shot%.ppm}").png"
done
echo "New reference pictures in tests/app/pictures/; check them, then run both test suites."
