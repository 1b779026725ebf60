#!/usr/bin/env bash
# The hardening steps of CI, after the ordinary test run:
#   1. every test again, built by clang with AddressSanitizer and UndefinedBehaviorSanitizer;
#   2. the libFuzzer target for a bounded time, starting from the committed corpus;
#   3. clang-tidy over our own sources, with the committed configuration.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLBEAM_HARDENING_DIR:-$root/build-hardening}
fuzz_seconds=${QUILLBEAM_FUZZ_SECONDS:-60}

"$root/tools/install-deps.sh" ci

echo "== Sanitized build and tests"
cmake -S "$root" --preset sanitize -B "$build" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
# The sanitize test preset carries the same options, for `ctest --preset sanitize`.
export ASAN_OPTIONS=abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0
ctest --test-dir "$build" --output-on-failure --timeout 600

echo "== Fuzzing the encoder and the variable file builder for ${fuzz_seconds}s"
corpus="$build/fuzz-corpus"
mkdir -p "$corpus"
"$build/bin/variable_file_fuzz" -max_total_time="$fuzz_seconds" -timeout=10 -print_final_stats=1 \
  "$corpus" "$root/tests/fuzz/corpus" 2>&1 | tail -n 12

echo "== clang-tidy"
cd "$root"
# Its exit status is judged from the log: xargs and grep report "nothing found" as failure too.
# The Windows layer is not in this build's compile commands; the cross build checks it.
{ git ls-files -- 'package/*.cpp' 'shell/*.cpp' 'app/*.cpp' 'tools/*.cpp' \
    ':(exclude)package/win32/*' ':(exclude)shell/win32/*' ':(exclude)app/win32/*' |
    xargs -r -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2>&1 |
    grep -v -E '^[0-9]+ warnings? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' ||
    true; } | tee "$build/clang-tidy.log"
if grep -q -E '(warning|error):' "$build/clang-tidy.log"; then
  echo "clang-tidy found problems" >&2
  exit 1
fi
echo "hardening: all clean"
