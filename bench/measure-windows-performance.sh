#!/usr/bin/env bash
# The Windows program's start-up and peak memory against two windows built the same way, all
# under Wine on a private Xvfb in one run, and the size of the shipped executable:
# - edit_box_window: one label and one edit box under the program's manifest (visual styles,
#   per-monitor DPI), the least a window of its kind loads: the fair baseline;
# - minimal_window: one empty window without a manifest.
#   bench/measure-windows-performance.sh BUILD_WINDOWS_FOLDER [ROUNDS]
# Start-up is CreateProcess until the program has shown its window and waits for input
# (WaitForInputIdle); memory is the peak working set up to then. Each round starts each program
# once, in turn, after two warm-up rounds; the script prints medians and their ratios, and the
# fastest start of each: on a loaded machine the fastest runs are the least disturbed.
# All three run stripped, as the program ships: Wine reads a whole image into memory, so the
# build's debugging sections (3.5 MiB of quillbeam.exe) would count as working set.
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

programs=(quillbeam edit_box_window minimal_window)
for program in "${programs[@]}"; do
  x86_64-w64-mingw32-strip -o "$work/$program.exe" "$build/bin/$program.exe"
done
# Each round starts with the next program, so that none always runs first or last.
measure() {
  local round i program
  for ((round = -2; round < rounds; ++round)); do
    for ((i = 0; i < ${#programs[@]}; ++i)); do
      program=${programs[(round + 2 + i) % ${#programs[@]}]}
      line=$("$wine" "$build/bin/launch_timer.exe" 1 "$(windows_path "$work/$program.exe")" |
             tr -d '\r')
      [ "$round" -ge 0 ] && echo "$line" >>"$work/$program"
    done
  done
}
start_xvfb 1280x1024x24
start_wine_services
measure

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
for program in "${programs[@]}"; do
  cut -d' ' -f1 "$work/$program" | median >"$work/$program.ms"
  cut -d' ' -f1 "$work/$program" | sort -n | head -1 >"$work/$program.fastest"
  cut -d' ' -f2 "$work/$program" | median >"$work/$program.kib"
done
# report <figure> <what>: the three programs' figures and Quillbeam's ratios to each baseline.
report() {
  local q e m
  q=$(cat "$work/quillbeam.$1") e=$(cat "$work/edit_box_window.$1") m=$(cat "$work/minimal_window.$1")
  echo "$2: quillbeam $q, edit box window $e, minimal window $m; ratio" \
       "$(awk -v a="$q" -v b="$e" 'BEGIN { printf "%.2f", a / b }') to the edit box window," \
       "$(awk -v a="$q" -v b="$m" 'BEGIN { printf "%.2f", a / b }') to the minimal window"
}
echo "rounds: $rounds"
report ms 'start-up to window shown (median ms)'
report fastest 'start-up to window shown (fastest ms)'
report kib 'peak working set (median KiB)'
echo "executable, stripped as shipped: quillbeam.exe $(stat -c %s "$work/quillbeam.exe") bytes," \
     "edit box window $(stat -c %s "$work/edit_box_window.exe") bytes," \
     "minimal window $(stat -c %s "$work/minimal_window.exe") bytes"
# Every library imported is loaded at every start, before the window is made.
echo "quillbeam.exe imports: $(x86_64-w64-mingw32-objdump -p "$work/quillbeam.exe" |
                               awk '/DLL Name:/ { printf "%s ", $3 }')"
