# shellcheck shell=bash
# A private X display with a window manager, as a desktop session has: for
# the scripts that start one (run.sh, the idle and package checks, the
# benchmarks). Source it; the caller keeps a `pids` array and ends what is in
# it, last first.

# start_xvfb LOGDIR [SCREEN]: starts Xvfb alone, exports DISPLAY, adds its
# PID to `pids` and returns 0 once it answers; 1 otherwise.
start_xvfb() {
  local logs=$1 screen=${2:-1280x1024x24} fd display
  mkdir -p "$logs"
  exec {fd}<> <(:)
  # The display number comes from Xvfb itself, never guessed. -noreset:
  # without it the server resets whenever its last client leaves, and a reset
  # cuts off a client still connecting (openbox, a program) while the short
  # polls come and go.
  Xvfb -displayfd "$fd" -noreset -screen 0 "$screen" -nolisten tcp >>"$logs/xvfb.log" 2>&1 &
  pids+=($!)
  if ! read -r -t 30 -u "$fd" display; then
    exec {fd}<&-
    return 1
  fi
  exec {fd}<&-
  export DISPLAY=":$display"
}

# start_x_session LOGDIR [SCREEN]: starts Xvfb and openbox, exports DISPLAY,
# adds both PIDs to `pids` and returns 0 once openbox manages windows; 1
# otherwise, with the logs in LOGDIR (see x_session_logs).
start_x_session() {
  local logs=$1
  start_xvfb "$@" || return 1
  mkdir -p "$logs/openbox-home"
  # A home of its own: the host's openbox settings stay out of the session.
  HOME="$logs/openbox-home" openbox --sm-disable >>"$logs/openbox.log" 2>&1 &
  pids+=($!)
  # openbox announces itself on the root window once it manages windows.
  for _ in $(seq 600); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.05
  done
  return 1
}

# x_session_logs LOGDIR: both servers' logs, for a failure message.
x_session_logs() {
  echo "--- Xvfb log:"
  cat "$1/xvfb.log" 2>/dev/null || true
  echo "--- openbox log:"
  cat "$1/openbox.log" 2>/dev/null || true
}

# wait_viewable TITLE [POLLS]: until a window of that title is viewable, at
# most POLLS times 50 ms (default 400); 1 when it never was. openbox 3.6 can
# fall asleep with the window's map request already read: a change of a root
# window property wakes it.
wait_viewable() {
  local title=$1 polls=${2:-400} i
  for ((i = 1; i <= polls; i++)); do
    xwininfo -name "$title" 2>/dev/null | grep -q IsViewable && return 0
    ((i % 10)) || xprop -root -f _ZAVO_WM_NUDGE 32c -set _ZAVO_WM_NUDGE "$i" 2>/dev/null || true
    sleep 0.05
  done
  return 1
}
