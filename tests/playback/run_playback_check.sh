#!/usr/bin/env bash
# Runs the browser playback check with no network but loopback: inside a new network namespace
# where the kernel allows one (as root it does), else with Chromium's loopback-only host rules.
#   run_playback_check.sh MAKE_PACKAGE APPLICATION_FOLDER OUTPUT_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for package in playwright-core @ruffle-rs/ruffle; do
  if [ ! -d "$here/node_modules/$package" ]; then
    echo "FAIL: npm package $package is missing; tools/install-deps.sh test installs it" >&2
    exit 1
  fi
done
for program in /usr/bin/chromium /usr/bin/tesseract /usr/bin/convert; do
  if [ ! -x "$program" ]; then
    echo "FAIL: $program is missing; tools/install-deps.sh test installs it" >&2
    exit 1
  fi
done

check=(node "$here/playback_check.mjs" "$@")
if unshare -n true 2>/dev/null; then
  exec unshare -n bash -c 'ip link set lo up && exec "$@"' bash "${check[@]}"
fi
echo "note: unshare -n is not permitted here; the check runs with loopback-only host rules" >&2
exec "${check[@]}"
