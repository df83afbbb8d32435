#!/usr/bin/env bash
# Installs what is missing, builds and runs the launcher. Without a display it
# starts a virtual one (Xvfb + openbox), saves build/screenshot.png and keeps
# running until interrupted.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
cd "$root"
if [[ -n "${DISPLAY:-}" ]]; then
  exec "$root/build/ZAVO_launcher"
fi

pids=()
runtime=""
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [[ -z "$runtime" ]] || rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
  runtime="$(mktemp -d)" # mode 0700, as a runtime folder must be
  export XDG_RUNTIME_DIR="$runtime"
fi
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp &
pids+=($!)
read -r -u "$fd" display
export DISPLAY=":$display"
openbox &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
"$root/build/ZAVO_launcher" &
pids+=($!)
for _ in $(seq 100); do
  xdotool search --name '^ZAVO_launcher$' >/dev/null 2>&1 && break
  sleep 0.05
done
sleep 0.5
import -window root "$root/build/screenshot.png"
echo "ZAVO_launcher runs on virtual display $DISPLAY; screenshot saved to build/screenshot.png"
echo "Press Ctrl+C to stop."
wait "${pids[-1]}"
