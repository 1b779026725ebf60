#!/usr/bin/env bash
# The ways into the project, each from a fresh Debian 12 machine:
#   tools/dev.sh run      installs what the build needs, builds, and starts Quillbeam
#   tools/dev.sh test     installs what the tests need, builds, and runs every test
#   tools/dev.sh windows  installs the cross compilers and Wine, builds for Windows in
#                         build-windows/, and runs every Windows test under Wine
# After test and windows, further arguments go to ctest: `tools/dev.sh test -L unit`.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLBEAM_BUILD_DIR:-$root/build}
command=${1:-}
shift || true

configure_and_build() {
  cmake -S "$root" --preset linux -B "$build" >/dev/null
  cmake --build "$build" --parallel "$(nproc)"
}

case "$command" in
  run)
    # Say so at once rather than build and let Qt abort on the missing display.
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "$0 run: Quillbeam is a desktop program and needs a graphical session (no DISPLAY or WAYLAND_DISPLAY is set)" >&2
      exit 1
    fi
    "$root/tools/install-deps.sh" build
    configure_and_build
    exec "$build/bin/quillbeam"
    ;;
  test)
    "$root/tools/install-deps.sh" test
    configure_and_build
    ctest --test-dir "$build" --output-on-failure --timeout 600 "$@"
    ;;
  windows)
    "$root/tools/install-deps.sh" windows
    "$root/tools/windows-tests.sh" "${QUILLBEAM_WINDOWS_BUILD_DIR:-$root/build-windows}" "$@"
    ;;
  *)
    echo "usage: $0 run|test|windows [ctest arguments]" >&2
    exit 2
    ;;
esac
