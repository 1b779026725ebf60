#!/usr/bin/env bash
# What the banner costs a visitor's browser, against Ruffle playing a movie that does nothing
# (bench/banner_cost.mjs says how it is measured). With no network but loopback, as the browser
# check runs.
#   bench/measure-banner-cost.sh [build folder] [options of banner_cost.mjs]
# Needs what the browser check needs (tools/install-deps.sh test) and a build (tools/dev.sh test).
# It takes about 12 minutes a round; --smoke only checks, in seconds, that it works.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shift || true
for needed in "$root/tests/playback/node_modules/playwright-core" \
              "$root/tests/playback/node_modules/@ruffle-rs/ruffle" /usr/bin/chromium \
              "$build/bin/make_package" "$build/bin/floor_movie"; do
  if [ ! -e "$needed" ]; then
    echo "missing: $needed (run tools/dev.sh test first)" >&2
    exit 1
  fi
done
bench=(node "$root/bench/banner_cost.mjs" "$build" "$build/banner-cost" "$@")
if unshare -n true 2>/dev/null; then
  exec unshare -n bash -c 'ip link set lo up && exec "$@"' bash "${bench[@]}"
fi
echo "note: unshare -n is not permitted here; Chromium reaches only loopback by its host rules" >&2
exec "${bench[@]}"
