#!/usr/bin/env bash
# Installs what is missing, builds and runs the launcher. Without a display it
# starts a virtual one (Xvfb + openbox), saves build/screenshot.png and keeps
# running until interrupted.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
# Only the launcher: the test command builds the rest.
"$root/scripts/build.sh" --target ZAVO_launcher
cd "$root"
if [[ -n "${DISPLAY:-}" ]]; then
  exec "$root/build/ZAVO_launcher"
fi

pids=()
runtime=""
session="$(mktemp -d)" # the virtual display's logs
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  [[ -z "$runtime" ]] || rm -rf "$runtime"
  rm -rf "$session"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
  runtime="$(mktemp -d)" # mode 0700, as a runtime folder must be
  export XDG_RUNTIME_DIR="$runtime"
fi
source "$root/scripts/x_session.sh"
start_x_session "$session" || { x_session_logs "$session"; echo "the virtual display did not come up" >&2; exit 1; }
"$root/build/ZAVO_launcher" &
pids+=($!)
wait_viewable ZAVO_launcher || echo "the launcher did not show its window in 20 s" >&2
sleep 0.5
import -window root "$root/build/screenshot.png"
echo "ZAVO_launcher runs on virtual display $DISPLAY; screenshot saved to build/screenshot.png"
echo "Press Ctrl+C to stop."
wait "${pids[-1]}"
