#!/usr/bin/env bash
# The hardening steps of CI, after the ordinary test run:
#   1. every test again, built by clang with AddressSanitizer and UndefinedBehaviorSanitizer;
#   2. the libFuzzer target for a bounded time, starting from the committed corpus;
#   3. clang-tidy over our own sources, with the committed configuration: as the Linux build
#      compiles them, and the Windows layers as the Windows cross build does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLBEAM_HARDENING_DIR:-$root/build-hardening}
fuzz_seconds=${QUILLBEAM_FUZZ_SECONDS:-60}

"$root/tools/install-deps.sh" ci
"$root/tools/install-deps.sh" windows

echo "== Sanitized build and tests"
cmake -S "$root" --preset sanitize -B "$build" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
# The sanitize test preset carries the same options, for `ctest --preset sanitize`.
export ASAN_OPTIONS=abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0
# The browser check (label browser) is left to the plain run: its time goes to the movie playing in
# Chromium, and the only code of ours it runs, make_package, is the core the other tests drive here.
ctest --test-dir "$build" --output-on-failure --timeout 600 --label-exclude browser

# The fuzzer runs for its fixed time on one core while clang-tidy below takes the others; its
# report follows clang-tidy's.
corpus="$build/fuzz-corpus"
mkdir -p "$corpus"
"$build/bin/variable_file_fuzz" -max_total_time="$fuzz_seconds" -timeout=10 -print_final_stats=1 \
  "$corpus" "$root/tests/fuzz/corpus" >"$build/fuzz.log" 2>&1 &
fuzzer=$!
trap 'kill "$fuzzer" 2>/dev/null || true' EXIT

# Runs clang-tidy over the files given on stdin, with the compile commands of the build folder $1
# and any further arguments, and keeps what it finds in the log. Its exit status is judged from
# the log: xargs and grep report "nothing found" as failure too.
tidy() {
  local compile_commands=$1
  shift
  { xargs -r -P "$(nproc)" -n 4 clang-tidy -p "$compile_commands" --quiet "$@" 2>&1 |
      grep -v -E '^[0-9]+ warnings? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' ||
      true; } | tee -a "$build/clang-tidy.log"
}

echo "== clang-tidy"
cd "$root"
: >"$build/clang-tidy.log"
# The Windows layers are not in this build's compile commands: the cross build's are read below.
linux_files=$build/clang-tidy-linux-files
git ls-files -- 'package/*.cpp' 'shell/*.cpp' 'app/*.cpp' 'tools/*.cpp' \
  ':(exclude)package/win32/*' ':(exclude)shell/win32/*' ':(exclude)app/win32/*' | sort >"$linux_files"
tidy "$build" <"$linux_files"

echo "== clang-tidy over the Windows build"
# Configuring the cross build is enough: its compile commands name every file it compiles.
windows_build=$build/windows
cmake -S "$root" --preset windows -B "$windows_build" >/dev/null
# clang reads the files as the cross compiler does: for its target, on the MinGW headers of its
# system root and the C++ library of that compiler, which clang does not find by itself.
cross_compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' \
  "$windows_build"/CMakeFiles/*/CMakeCXXCompiler.cmake)
target=$("$cross_compiler" -dumpmachine)
search_list=$("$cross_compiler" -x c++ -E -v - </dev/null 2>&1 |
  sed -n '/^#include <...> search starts here:$/,/^End of search list\.$/s/^ //p')
target_arguments=(--extra-arg=--target="$target")
target_arguments+=(--extra-arg=--sysroot="$(cd "$(grep -E "/$target/include$" <<<"$search_list")/.." && pwd -P)")
while read -r folder; do
  target_arguments+=(--extra-arg=-isystem"$folder")
done < <(grep '/include/c++' <<<"$search_list")
# The files both builds compile are the same text, checked above: here only what the Windows build
# alone compiles.
sed -n "s|^ *\"file\": \"$root/\\(.*\\)\",\\{0,1\\}\$|\\1|p" "$windows_build/compile_commands.json" |
  grep -E '^(package|shell|app|tools)/.*\.cpp$' | sort -u | comm -23 - "$linux_files" |
  tidy "$windows_build" "${target_arguments[@]}"
if grep -q -E '(warning|error):' "$build/clang-tidy.log"; then
  echo "clang-tidy found problems" >&2
  exit 1
fi

echo "== Fuzzing the encoder and the variable file builder for ${fuzz_seconds}s"
if ! wait "$fuzzer"; then
  tail -n 40 "$build/fuzz.log" >&2
  echo "the fuzzer found a fault (whole output: $build/fuzz.log)" >&2
  exit 1
fi
tail -n 12 "$build/fuzz.log"
echo "hardening: all clean"
