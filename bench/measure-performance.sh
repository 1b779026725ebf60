#!/usr/bin/env bash
# Measures Quillbeam against baselines built and run in the same session:
#   - process start to window shown, and peak memory, against a minimal Qt Widgets window;
#   - the Generate command with a 50 MiB movie, against `cp` of the same seven files.
# Usage: bench/measure-performance.sh [build folder]   (after tools/dev.sh test)
# Needs: hyperfine, GNU time, Xvfb, xdotool (tools/install-deps.sh test, plus hyperfine and time).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
session_name=bench
source "$root/testkit/session.sh"

for tool in hyperfine /usr/bin/time Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (apt-get install hyperfine time)" >&2; exit 1; }
done

echo "== Building the baseline window"
cmake -S "$root/bench/minimal_window" -B "$work/minimal" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$work/minimal" >/dev/null
minimal=$work/minimal/minimal_window
quillbeam=$build/bin/quillbeam

# A private server that answers before anything is measured.
start_xvfb 1024x768x24 -maxclients 512
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"

# Starts the program, waits until its window is mapped, then closes it. It asks the X server in
# a loop every 10 ms (xdotool's own --sync waits half a second between tries). A launch that ends
# without a window, or shows none in 10 s, fails the measurement.
cat > "$work/until-shown.sh" <<'SCRIPT'
#!/usr/bin/env bash
"$1" 2>/dev/null & pid=$!
for _ in $(seq 1000); do
  if xdotool search --onlyvisible --name "$2" >/dev/null 2>&1; then
    kill "$pid"; wait "$pid" 2>/dev/null; exit 0
  fi
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.01
done
kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
echo "$1 showed no window" >&2
exit 1
SCRIPT
chmod +x "$work/until-shown.sh"

echo "== Start-up: process start to window shown"
hyperfine --warmup 3 --runs 30 --export-markdown "$work/startup.md" \
  -n "minimal Qt window" "$work/until-shown.sh $minimal '^Minimal 1.0$'" \
  -n "Quillbeam" "$work/until-shown.sh $quillbeam '^Quillbeam 1.0$'"

echo "== Peak memory (maximum resident set size, KiB, median of 5)"
# GNU time reports the largest resident set among the waited-for processes: the program's own,
# measured from start until its window is shown.
peak() {
  for _ in 1 2 3 4 5; do
    /usr/bin/time -f %M -o "$work/rss" "$work/until-shown.sh" "$1" "$2"
    tail -n 1 "$work/rss"
  done | sort -n | sed -n 3p
}
minimal_rss=$(peak "$minimal" '^Minimal 1.0$')
quillbeam_rss=$(peak "$quillbeam" '^Quillbeam 1.0$')
awk -v m="$minimal_rss" -v q="$quillbeam_rss" \
  'BEGIN { printf "minimal Qt window: %d KiB; Quillbeam: %d KiB; ratio %.2f\n", m, q, q / m }' 

echo "== Generate with a 50 MiB movie, against cp of the same seven files"
app=$work/app
mkdir -p "$app/Template" "$work/ready" "$work/out-cp" "$work/out-generate"
head -c $((50 << 20)) /dev/urandom >"$app/Template/bannerloop2.swf"
cp "$build/bin/Template/mypic.jpg" "$app/Template/"
make_package=$build/bin/make_package
messages=(http://example.com/ "First message" "Second message" "Third message" "Fourth message")
"$make_package" "$work/ready" "$app" "${messages[@]}" >/dev/null
hyperfine --warmup 2 --runs 20 --export-markdown "$work/generate.md" \
  -n "cp of the seven files" "cp $work/ready/* $work/out-cp/" \
  -n "Generate" "$make_package $work/out-generate $app ${messages[*]@Q}"

echo
cat "$work/startup.md" "$work/generate.md"
