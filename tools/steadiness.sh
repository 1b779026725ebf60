#!/usr/bin/env bash
# Shows that the tests hold on a busy machine: runs the README's two test commands,
# `./tools/dev.sh test` (every Linux test, the browser check included) and `./tools/dev.sh windows`
# (every Windows test under Wine), again and again while stress-ng keeps the CPUs busy. Reports
# each run, the 1-minute load average seen through the runs, and every test that failed; each
# run's whole output stays in build/steadiness/. Exits with status 1 when any run failed.
#   tools/steadiness.sh [--runs N] [--load WORKERS] [--suite linux|windows|both] [ctest arguments]
# By default 5 runs of each suite, one after the other, with 3 busy workers per CPU: a load
# average of about 8 on 2 cores. --load 0 runs them on the machine as it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=5 workers=$((3 * $(nproc))) suite=both
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --load) workers=$2; shift 2 ;;
    --suite) suite=$2; shift 2 ;;
    *) break ;;
  esac
done
case "$suite" in
  linux) suites=(test) ;;
  windows) suites=(windows) ;;
  both) suites=(test windows) ;;
  *) echo "usage: $0 [--runs N] [--load WORKERS] [--suite linux|windows|both] [ctest arguments]" >&2; exit 2 ;;
esac
logs=$root/build/steadiness
rm -rf "$logs"
mkdir -p "$logs"

"$root/tools/install-deps.sh" steadiness
# Built before the load starts, so that every run below only tests.
for command in "${suites[@]}"; do
  "$root/tools/dev.sh" "$command" -N >"$logs/build-$command.log" 2>&1 ||
    { tail -n 30 "$logs/build-$command.log" >&2; exit 1; }
done

# The load, and a sample of the load average every 5 seconds, both ended whatever happens.
pids=()
end_background() {
  local pid
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}
trap end_background EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
if [ "$workers" -gt 0 ]; then
  stress-ng --cpu "$workers" --quiet &
  pids+=($!)
  # The 1-minute average takes a while to rise: the runs start once it has reached the number of
  # workers, or after two minutes.
  for ((waited = 0; waited < 120; waited += 5)); do
    awk -v target="$workers" '{ exit !($1 >= target) }' /proc/loadavg && break
    sleep 5
  done
fi
samples=$logs/load-averages
(while :; do cut -d' ' -f1 /proc/loadavg >>"$samples"; sleep 5; done) &
pids+=($!)

failed_runs=0
summary=()
for ((run = 1; run <= runs; run++)); do
  for command in "${suites[@]}"; do
    name=$([ "$command" = test ] && echo linux || echo windows)
    log=$logs/$name-$run.log
    start_load=$(cut -d' ' -f1 /proc/loadavg)
    started=$SECONDS
    if "$root/tools/dev.sh" "$command" "$@" >"$log" 2>&1; then
      result=passed
    else
      result=FAILED
      failed_runs=$((failed_runs + 1))
    fi
    line="$name run $run: $result in $((SECONDS - started)) s, load average $start_load to $(cut -d' ' -f1 /proc/loadavg)"
    echo "$line"
    summary+=("$line")
    if [ "$result" = FAILED ]; then
      # ctest's list of failed tests, or the end of the output when it never got that far.
      failures=$( (sed -n '/The following tests FAILED:/,/^Errors while running CTest/p' "$log" |
                   grep -E '^[[:space:]]+[0-9]+ - ' || tail -n 5 "$log") | sed 's/^[[:space:]]*/    /')
      echo "$failures"
      summary+=("$failures")
    fi
  done
done

read -r seen_min seen_median seen_max count < <(sort -n "$samples" |
  awk '{ v[NR] = $1 } END { print v[1], v[int((NR + 1) / 2)], v[NR], NR }')
echo "== $runs run(s) of ${suites[*]/test/linux} with $workers busy worker(s) on $(nproc) CPUs:" \
     "$failed_runs failed; 1-minute load average $seen_min to $seen_max, median $seen_median" \
     "($count samples); logs in $logs"
printf '%s\n' "${summary[@]}" >"$logs/summary"
[ "$failed_runs" -eq 0 ]
