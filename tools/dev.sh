#!/usr/bin/env bash
# The two ways into the project, each from a fresh Debian 12 machine:
#   tools/dev.sh run    installs what the build needs, builds, and starts Quillbeam
#   tools/dev.sh test   installs what the tests need, builds, and runs every test
#   tools/dev.sh windows  installs the cross compilers and Wine, builds for Windows in
#                         build-windows/, and runs every Windows test under Wine
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLBEAM_BUILD_DIR:-$root/build}
command=${1:-}

configure_and_build() {
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$build" --parallel "$(nproc)"
}

case "$command" in
  run)
    "$root/tools/install-deps.sh" build
    configure_and_build
    if [ -x "$build/bin/quillbeam" ]; then
      exec "$build/bin/quillbeam"
    fi
    # Until the window is built, running means proving the core works.
    ctest --test-dir "$build" --output-on-failure
    ;;
  test)
    "$root/tools/install-deps.sh" test
    configure_and_build -DQUILLBEAM_WARNINGS_AS_ERRORS=ON
    ctest --test-dir "$build" --output-on-failure --timeout 600
    ;;
  windows)
    "$root/tools/install-deps.sh" windows
    "$root/tools/windows-tests.sh" "${QUILLBEAM_WINDOWS_BUILD_DIR:-$root/build-windows}"
    ;;
  *)
    echo "usage: $0 run|test|windows" >&2
    exit 2
    ;;
esac
