# shellcheck shell=bash
# Sourced by every script that starts display servers, Wine or the real program: the tests, the
# Windows test run and the benchmarks. Gives them a work folder that goes away on exit, ends what
# they start (last started, first ended), polls for a state with wait_for, and starts a private X
# server with start_xvfb.
# The sourcing script sets `session_name` (and `private_x`) first; fail() reports and exits, and
# may be redefined after sourcing.

# With `private_x=yes`, where allowed (root, or a machine that permits namespaces), the script runs
# again with X sockets of its own: a private /tmp/.X11-unix and network namespace, so that X
# servers of other jobs on the machine can neither take over nor remove them.
if [ "${private_x:-}" = yes ] && [ -z "${QUILLBEAM_PRIVATE_X:-}" ] &&
   unshare --mount --net true 2>/dev/null; then
  mkdir -p /tmp/.X11-unix
  exec unshare --mount --net --propagation private env QUILLBEAM_PRIVATE_X=1 bash -c \
    'mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix && exec bash "$0" "$@"' "$0" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quillbeam-${session_name:?}-XXXXXX")
session_ends=()
end_session() {
  local i
  for ((i = ${#session_ends[@]} - 1; i >= 0; i--)); do
    eval "${session_ends[i]}" || true
  done
  rm -rf "$work"
}
trap end_session EXIT

fail() {
  echo "$session_name: $*" >&2
  exit 1
}

# at_session_end <shell command>: runs the command when the script ends, before whatever was
# registered earlier.
at_session_end() { session_ends+=("$1"); }

# ended_with_session <pid>: the process, started in the background by this script, is ended when
# the script ends, unless it has ended already (its number may then belong to another process).
ended_with_session() { at_session_end "end_running_child $1"; }
end_running_child() {
  if jobs -rp | grep -qx "$1"; then
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
  fi
}

# wait_for <command...>: runs the command until it succeeds, a tenth of a second apart. It gives
# up only after wait_guard seconds, a guard against a state that never comes: far longer than any
# wait takes on a busy machine.
wait_guard=120
wait_for() {
  local deadline=$((SECONDS + wait_guard))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# start_xvfb <width>x<height>x<depth> [Xvfb options...]: an X server on a free display; DISPLAY
# names it from then on. Xvfb writes its display number into the pipe once it accepts clients;
# should it end first, the read meets the pipe's end instead. -noreset keeps it up when its last
# client goes, so that a program connecting just then is never refused. -r turns auto-repeat off:
# on a busy machine a key that xdotool presses can stay down past the repeat delay, and would then
# be typed twice.
start_xvfb() {
  local screen=$1 pipe display=""
  shift
  pipe=$(mktemp -u "$work/xvfb-display-XXXXXX")
  mkfifo "$pipe"
  Xvfb -displayfd 3 -noreset -r -screen 0 "$screen" -nolisten tcp "$@" 3>"$pipe" \
    2>"$pipe.log" </dev/null &
  ended_with_session $!
  read -r display <"$pipe" || true
  [ -n "$display" ] || fail "Xvfb did not start: $(tail -n 5 "$pipe.log")"
  export DISPLAY=":$display"
}
