# Sourced by the tests that start the real program on a private display server. Gives them a work
# folder that goes away on exit, ends the processes they start (last started, first ended), polls
# for a state with wait_for, and starts a private X server with start_xvfb.
# The sourcing script sets `test_name` (and `private_x`) first, and defines fail() before it calls
# start_xvfb.

# With `private_x=yes`, where allowed (root, or a machine that permits namespaces), the script runs
# again with X sockets of its own: a private /tmp/.X11-unix and network namespace, so that X
# servers of other jobs on the machine can neither take over nor remove them.
if [ "${private_x:-}" = yes ] && [ -z "${QUILLBEAM_PRIVATE_X:-}" ] &&
   unshare --mount --net true 2>/dev/null; then
  mkdir -p /tmp/.X11-unix
  exec unshare --mount --net --propagation private env QUILLBEAM_PRIVATE_X=1 bash -c \
    'mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix && exec bash "$0" "$@"' "$0" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quillbeam-$test_name-XXXXXX")
session_pids=()
end_session() {
  local i
  for ((i = ${#session_pids[@]} - 1; i >= 0; i--)); do
    kill "${session_pids[i]}" 2>/dev/null || true
    wait "${session_pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap end_session EXIT

# ended_with_session <pid>: the process is ended when the test ends.
ended_with_session() { session_pids+=("$1"); }

# wait_for <tries of 0.1 s> <command...>: runs the command until it succeeds.
wait_for() {
  local tries=$1
  shift
  for ((i = 0; i < tries; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# start_xvfb <width>x<height>x<depth>: an X server on a free display, which it writes once it
# accepts clients; DISPLAY names it from then on. -noreset keeps it up when its first client goes.
start_xvfb() {
  Xvfb -displayfd 3 -noreset -screen 0 "$1" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  ended_with_session $!
  wait_for 100 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(cat "$work/display")"
}
