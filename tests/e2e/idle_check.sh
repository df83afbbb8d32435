#!/usr/bin/env bash
# The launcher at rest on a private Xvfb + openbox: while its clock repaints
# once a second, the thread that reads the X connection must stay asleep, that
# is no repaint may wait for a reply from the server. Counts the thread's
# wake-ups (voluntary context switches) over 10 s of idle.
#
#   tests/e2e/idle_check.sh BUILD-DIR        exit 0 pass, 1 fail, 77 skipped
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
build="$(cd "$1" && pwd)"
seconds=10
for tool in Xvfb openbox xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

use_scratch
mkdir "$tmp/cwd"
private_x_session || { echo "FAIL: openbox did not come up"; exit 1; }

(cd "$tmp/cwd" && exec "$build/ZAVO_launcher") >"$tmp/log" 2>&1 &
pids+=($!)
pid=$!
wait_viewable ZAVO_launcher || { echo "FAIL: the launcher did not map its window"; cat "$tmp/log"; exit 1; }
sleep 2

# reader_wakeups: voluntary context switches of the X reader thread.
reader_wakeups() {
  local t
  for t in /proc/"$pid"/task/*; do
    [[ $(cat "$t/comm") == QXcbEventQueue ]] || continue
    sed -n 's/^voluntary_ctxt_switches:\s*//p' "$t/status"
    return
  done
  echo 0 # no reader thread: nothing to wake
}
before=$(reader_wakeups)
sleep "$seconds"
after=$(reader_wakeups)
woke=$((after - before))
echo "X reader thread woke $woke times in $seconds s of idle (the clock repainted ~$seconds times)"
# One stray event (a property the window manager sets late) is no round trip.
((woke <= 2)) || { echo "FAIL: a repaint waits for the X server"; exit 1; }
