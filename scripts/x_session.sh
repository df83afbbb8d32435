# shellcheck shell=bash
# A private X display with a window manager, as a desktop session has: for
# the scripts that start one (run.sh, the idle and package checks, the
# benchmarks). Source it; the caller keeps a `pids` array and ends what is in
# it, last first.

# start_xvfb LOGDIR [SCREEN [XVFB-OPTION...]]: starts Xvfb alone, exports
# DISPLAY, adds its PID to `pids` and returns 0 once it answers; 1 otherwise.
start_xvfb() {
  local logs=$1 screen=${2:-1280x1024x24} fd display
  shift $(($# < 2 ? $# : 2))
  mkdir -p "$logs"
  exec {fd}<> <(:)
  # The display number comes from Xvfb itself, never guessed. -noreset:
  # without it the server resets whenever its last client leaves, and a reset
  # cuts off a client still connecting (openbox, a program) while the short
  # polls come and go.
  Xvfb -displayfd "$fd" -noreset -screen 0 "$screen" -nolisten tcp "$@" >>"$logs/xvfb.log" 2>&1 &
  pids+=($!)
  if ! read -r -t 30 -u "$fd" display; then
    exec {fd}<&-
    return 1
  fi
  exec {fd}<&-
  export DISPLAY=":$display"
}

# start_x_session LOGDIR [SCREEN]: starts Xvfb and openbox, exports DISPLAY,
# adds both PIDs to `pids` and returns 0 once openbox manages windows
# (wait_window_manager); 1 otherwise, with the logs in LOGDIR (see
# x_session_logs).
start_x_session() {
  local logs=$1
  start_xvfb "$@" || return 1
  mkdir -p "$logs/openbox-home"
  # A home of its own: the host's openbox settings stay out of the session.
  HOME="$logs/openbox-home" openbox --sm-disable >>"$logs/openbox.log" 2>&1 &
  pids+=($!)
  wait_window_manager
}

# wait_window_manager: returns 0 once the window manager on DISPLAY has
# announced itself on the root window and has taken in and mapped a probe
# window, as it will the session's programs; 1, with the reason on stderr,
# when it did not within 30 s.
wait_window_manager() {
  local i probe status=0
  for ((i = 0; i < 600; i++)); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
  ((i < 600)) || { echo "no window manager announced itself on $DISPLAY" >&2 && return 1; }
  xmessage -title zavo-wm-probe probe >/dev/null 2>&1 &
  probe=$!
  wait_viewable zavo-wm-probe 600 ||
    { echo "the window manager on $DISPLAY mapped no probe window" >&2 && status=1; }
  kill "$probe" 2>/dev/null || true
  wait "$probe" 2>/dev/null || true
  return $status
}

# start_compositor_session gnome|kde|weston LOGDIR [WIDTHxHEIGHT]: GNOME's
# mutter, KDE's kwin_wayland or weston, headless, with its XWayland, a private
# session bus and a private XDG_RUNTIME_DIR (LOGDIR/runtime). Exports what a client of the
# session needs (DISPLAY, XAUTHORITY, WAYLAND_DISPLAY, XDG_RUNTIME_DIR,
# XDG_SESSION_TYPE, DBUS_SESSION_BUS_ADDRESS), adds the PIDs to `pids` and
# returns 0 once the window manager manages windows on the X display.
start_compositor_session() {
  local desktop=$1 logs=$2 size=${3:-1920x1080} i handover
  unset DISPLAY WAYLAND_DISPLAY XAUTHORITY
  export XDG_RUNTIME_DIR=$logs/runtime XDG_SESSION_TYPE=wayland
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  dbus-daemon --session --nofork --address="unix:path=$XDG_RUNTIME_DIR/bus" \
    >>"$logs/session-bus.log" 2>&1 &
  pids+=($!)
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
  # Its settings in the session's folder, not the user's.
  local settings=(XDG_CONFIG_HOME="$logs/config" XDG_CACHE_HOME="$logs/cache"
    XDG_DATA_HOME="$logs/data")
  handover=$logs/session-variables
  if [[ $desktop == gnome ]]; then
    # mutter starts no XWayland unless the socket folder is world-writable
    # and sticky, as the system makes it at boot.
    [[ -d /tmp/.X11-unix ]] || { mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix; }
    [[ $(stat -c %a /tmp/.X11-unix) == 1777 ]] || {
      echo "/tmp/.X11-unix is not mode 1777: mutter starts no XWayland" >>"$logs/mutter.log"
      return 1
    }
    env "${settings[@]}" GSETTINGS_BACKEND=memory \
      mutter --wayland --headless --virtual-monitor "$size" >>"$logs/mutter.log" 2>&1 &
    pids+=($!)
    # It names both displays in its log and writes the X cookie beside its
    # Wayland socket.
    local log x wayland cookie
    for ((i = 0; i < 600; i++)); do
      log=$(cat "$logs/mutter.log" 2>/dev/null)
      x=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' <<<"$log")
      wayland=$(sed -n "s/.*Using Wayland display name '\([^']*\)'.*/\1/p" <<<"$log")
      cookie=$(compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" | head -1)
      [[ -n $x && -n $wayland && -n $cookie ]] && break
      kill -0 "${pids[-1]}" 2>/dev/null || return 1
      sleep 0.05
    done
    printf '%s\n' "$x" "$wayland" "$cookie" >"$handover"
  elif [[ $desktop == weston ]]; then
    env "${settings[@]}" weston --backend=headless-backend.so --xwayland --socket=wayland-0 \
      --idle-time=0 --width="${size%x*}" --height="${size#*x}" >>"$logs/weston.log" 2>&1 &
    pids+=($!)
    # It names its X display in its log once XWayland's socket listens;
    # XWayland starts with the first client and needs no cookie.
    local x
    for ((i = 0; i < 600; i++)); do
      x=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$logs/weston.log")
      [[ -n $x ]] && break
      kill -0 "${pids[-1]}" 2>/dev/null || return 1
      sleep 0.05
    done
    printf '%s\n' "$x" wayland-0 "" >"$handover"
  else
    # The installed binary carries a file capability that a sandbox may
    # refuse to execute ("Operation not permitted"); a copy has none. Its
    # session program starts once XWayland is up and hands the session's
    # variables over; KWin ends it when it ends itself.
    cp "$(command -v kwin_wayland)" "$logs/kwin_wayland" || return 1
    # shellcheck disable=SC2016 # expanded by the session program
    printf '%s\n' '#!/bin/sh' \
      'printf "%s\n" "$DISPLAY" "$WAYLAND_DISPLAY" "$XAUTHORITY" >"$1.new" && mv "$1.new" "$1"' \
      'exec sleep 86400' >"$logs/handover.sh"
    chmod +x "$logs/handover.sh"
    env "${settings[@]}" "$logs/kwin_wayland" --virtual --xwayland --width "${size%x*}" \
      --height "${size#*x}" --exit-with-session "$logs/handover.sh $handover" \
      >>"$logs/kwin.log" 2>&1 &
    pids+=($!)
    for ((i = 0; i < 600; i++)); do
      [[ -s $handover ]] && break
      kill -0 "${pids[-1]}" 2>/dev/null || return 1
      sleep 0.05
    done
  fi
  [[ -s $handover ]] || return 1
  {
    read -r DISPLAY
    read -r WAYLAND_DISPLAY
    read -r XAUTHORITY
  } <"$handover"
  export DISPLAY WAYLAND_DISPLAY
  if [[ -n $XAUTHORITY ]]; then export XAUTHORITY; else unset XAUTHORITY; fi
  wait_window_manager
}

# start_desktop_session openbox|gnome|kde|weston LOGDIR [WIDTHxHEIGHT]: the
# session of that desktop, as start_x_session and start_compositor_session.
start_desktop_session() {
  local desktop=$1 logs=$2 size=${3:-}
  mkdir -p "$logs"
  case $desktop in
    openbox) start_x_session "$logs" ${size:+"${size}x24"} ;;
    gnome | kde | weston) start_compositor_session "$desktop" "$logs" ${size:+"$size"} ;;
    *) return 1 ;;
  esac
}

# serve_x_session openbox|gnome|kde|weston LOGDIR [WIDTHxHEIGHT]: for a program that
# needs a session as long as it runs (the C++ tests): starts it, prints its
# variables as NAME=VALUE lines and "ready" (or "failed"), and keeps it until
# SIGTERM, when it ends what it started by PID, last first.
serve_x_session() {
  local pids=() v
  trap '_end_served_session; exit 0' TERM INT
  if start_desktop_session "$@"; then
    for v in DISPLAY XAUTHORITY WAYLAND_DISPLAY XDG_RUNTIME_DIR XDG_SESSION_TYPE \
      DBUS_SESSION_BUS_ADDRESS; do
      [[ -z ${!v:-} ]] || echo "$v=${!v}"
    done
    echo ready
  else
    echo failed
  fi
  sleep infinity &
  pids+=($!)
  wait "${pids[-1]}"
}
_end_served_session() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for i in "${pids[@]}"; do wait "$i" 2>/dev/null || true; done
}

# x_session_logs LOGDIR: the servers' logs, for a failure message.
x_session_logs() {
  local log
  for log in "$1"/*.log; do
    [[ -e $log ]] || continue
    echo "--- $(basename "$log" .log) log:"
    cat "$log"
  done
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
