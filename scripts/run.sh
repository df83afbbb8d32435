#!/usr/bin/env bash
# Installs what is missing, builds and runs the launcher. Without a display it
# starts a virtual one (Xvfb + openbox), saves build/screenshot.png and keeps
# running until interrupted.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
root=$zavo_root
"$root/scripts/deps.sh"
# Only the launcher: the test command builds the rest.
"$root/scripts/build.sh" --target ZAVO_launcher
cd "$root"
if [[ -n "${DISPLAY:-}" ]]; then
  exec "$root/build/ZAVO_launcher"
fi

use_scratch
private_x_session || exit 1
"$root/build/ZAVO_launcher" &
pids+=($!)
wait_viewable ZAVO_launcher || echo "the launcher did not show its window in 20 s" >&2
sleep 0.5
import -window root "$root/build/screenshot.png"
echo "ZAVO_launcher runs on virtual display $DISPLAY; screenshot saved to build/screenshot.png"
echo "Press Ctrl+C to stop."
wait "${pids[-1]}"
