#!/usr/bin/env bash
# The Windows program's start-up and peak memory against a minimal Win32 window built the same
# way, both under Wine on a private Xvfb in one run, and the size of the shipped executable.
#   bench/measure-windows-performance.sh BUILD_WINDOWS_FOLDER [ROUNDS]
# Start-up is CreateProcess until the program has shown its window and waits for input
# (WaitForInputIdle); memory is the peak working set up to then. Each round starts each program
# once, alternating, after two warm-up rounds; the script prints medians and their ratios.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: measure-windows-performance.sh BUILD_WINDOWS_FOLDER [ROUNDS]}" && pwd)
rounds=${2:-25}
session_name=windows-bench
source "$root/testkit/session.sh"
source "$root/testkit/wine.sh"
wine_environment "$build"
unset DISPLAY WAYLAND_DISPLAY
prepare_wine_prefix

measure() {
  for ((round = -2; round < rounds; ++round)); do
    for program in quillbeam minimal_window; do
      line=$("$wine" "$build/bin/launch_timer.exe" 1 "$(windows_path "$build/bin/$program.exe")" |
             tr -d '\r')
      [ "$round" -ge 0 ] && echo "$line" >>"$work/$program"
    done
  done
}
start_xvfb 1280x1024x24
start_wine_services
measure

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
for program in quillbeam minimal_window; do
  cut -d' ' -f1 "$work/$program" | median >"$work/$program.ms"
  cut -d' ' -f2 "$work/$program" | median >"$work/$program.kib"
done
q_ms=$(cat "$work/quillbeam.ms") m_ms=$(cat "$work/minimal_window.ms")
q_kib=$(cat "$work/quillbeam.kib") m_kib=$(cat "$work/minimal_window.kib")
stripped="$build/windows-packages/stage/Quillbeam/quillbeam.exe"
echo "rounds: $rounds"
printf 'start-up to window shown (median ms): quillbeam %s, minimal window %s, ratio %.2f\n' \
  "$q_ms" "$m_ms" "$(awk -v a="$q_ms" -v b="$m_ms" 'BEGIN { print a / b }')"
printf 'peak working set (median KiB): quillbeam %s, minimal window %s, ratio %.2f\n' \
  "$q_kib" "$m_kib" "$(awk -v a="$q_kib" -v b="$m_kib" 'BEGIN { print a / b }')"
x86_64-w64-mingw32-strip -o "$work/minimal_window.exe" "$build/bin/minimal_window.exe"
echo "executable, stripped as shipped: quillbeam.exe $(stat -c %s "$stripped") bytes," \
     "minimal window $(stat -c %s "$work/minimal_window.exe") bytes"
