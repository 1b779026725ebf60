#!/usr/bin/env bash
# Cross-builds Quillbeam for Windows into the given build folder and runs the Windows tests under
# Wine, in a Wine prefix of that build folder's own; further arguments go to ctest (`-L unit`, say).
# Expects what `install-deps.sh windows` installs.
#   windows-tests.sh BUILD_FOLDER [CTEST_ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: windows-tests.sh BUILD_FOLDER [CTEST_ARGUMENTS...]}
shift

cmake -S "$root" --preset windows -B "$build" >/dev/null
cmake --build "$build" --parallel "$(nproc)"

session_name=windows-tests
source "$root/testkit/session.sh"
source "$root/testkit/wine.sh"
wine_environment "$build"
unset DISPLAY WAYLAND_DISPLAY
prepare_wine_prefix

# The window tests need an X server, and Wine's services keep every window within the screen of
# the display they started on: one private Xvfb serves the whole run.
start_xvfb "$wine_screen"
start_wine_services
ctest --test-dir "$build" --output-on-failure --timeout 600 --parallel "$(nproc)" "$@"
