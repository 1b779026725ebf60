#!/usr/bin/env bash
# Installs what building (`build`), building and testing (`test`), the further steps of CI
# (`ci`: sanitizers, fuzzing, static analysis, the Debian package), the Windows cross build and
# its tests under Wine (`windows`) or both test runs under a CPU load (`steadiness`, for
# tools/steadiness.sh) need on Debian 12.
# Idempotent and quick when everything is already there.
set -euo pipefail
profile=${1:-test}
root=$(cd "$(dirname "$0")/.." && pwd)

build_packages=(g++ cmake ninja-build pkg-config qt6-base-dev libgtest-dev libbenchmark-dev
                fonts-dejavu-core)
# Headless window tests, the smoke test driven from outside, and the browser playback check; the
# GTK theme (with the SVG loader for GTK's icons) for the test of the desktop's own folder
# chooser; Weston and Qt's Wayland plugin for the start on Wayland; the accessibility check
# through at-spi2-core on a private session bus. The npm registry is reached over TLS, which needs
# the certificate authorities. The browser check reads the banner's text back with tesseract's
# OCR, in English. The browser player's letters fall back to DejaVu Sans Condensed where Arial is
# missing: with it, a message breaks into the lines it has in the movie.
test_packages=(xvfb xauth xdotool x11-utils x11-apps imagemagick chromium python3 util-linux
               fonts-dejavu-extra
               iproute2 ca-certificates qt6-gtk-platformtheme librsvg2-common weston qt6-wayland
               at-spi2-core python3-pyatspi dbus-daemon tesseract-ocr tesseract-ocr-eng)

# The sanitizer build, the fuzzer, the static analysis, the Debian package's checks (CPack's
# DEB generator runs `file`) and the fresh-machine check.
ci_packages=(clang libclang-rt-14-dev clang-tidy dpkg-dev file desktop-file-utils appstream
             debootstrap git)

# The -posix compilers have std::thread; GoogleTest is built from its source for Windows.
windows_packages=(g++ cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64
                  googletest diffutils
                  # The icon group and banner bitmap; the installer and the portable zip.
                  imagemagick nsis zip
                  # The window tests and the smoke test: a private X server, driven from outside.
                  # xmodmap gives a letter outside the keyboard map a key of its own.
                  xvfb xauth xdotool x11-xserver-utils fonts-dejavu-core)

case "$profile" in
  build) packages=("${build_packages[@]}") ;;
  test) packages=("${build_packages[@]}" "${test_packages[@]}") ;;
  ci) packages=("${build_packages[@]}" "${test_packages[@]}" "${ci_packages[@]}") ;;
  windows) packages=("${windows_packages[@]}") ;;
  steadiness) packages=("${build_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}" stress-ng) ;;
  *) echo "usage: $0 build|test|ci|windows|steadiness" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
# The browser check needs Node.js 18 or newer, as Debian 12 ships it; a machine that has its own
# newer one keeps it.
[ "$profile" != build ] && [ "$profile" != windows ] && ! command -v npm >/dev/null && missing+=(nodejs npm)

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# npm packages of the browser playback check, pinned by its lock file. Engine requirements are
# enforced, so that a package too new for this Node.js fails here, loudly, and not in the check.
if [ "$profile" != build ] && [ "$profile" != windows ] &&
   [ -f "$root/tests/playback/package-lock.json" ]; then
  lock="$root/tests/playback/package-lock.json"
  stamp="$root/tests/playback/node_modules/.installed-lock"
  if ! cmp -s "$lock" "$stamp" 2>/dev/null; then
    (cd "$root/tests/playback" && npm ci --no-audit --no-fund --engine-strict)
    cp "$lock" "$stamp"
  fi
fi
