#!/usr/bin/env bash
# with_file_size_limit.sh KIB WINEPREFIX COMMAND...
# Runs COMMAND (a Windows program under Wine) with every file it writes limited to KIB KiB (bash
# counts ulimit -f in KiB, POSIX sh in 512-byte blocks). A write past the limit fails instead of
# ending the process. The Wine server writes the registry, so it must not run under the limit:
# one is started first unless one is running (it then stays a minute after its last program, long
# enough for the program below to reach it on a busy machine).
set -euo pipefail
kib=$1
prefix=$2
shift 2
WINEPREFIX=$prefix wineserver -p60 2>/dev/null || true
trap '' XFSZ
ulimit -f "$kib"
exec "$@"
