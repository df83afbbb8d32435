#!/usr/bin/env bash
# Start-up benchmark: time from process start to the window being mapped and
# peak resident memory, N runs each, ZAVO_launcher (each run in a fresh empty
# working folder) alternating with a minimal Qt 6 window of the same layout;
# then the idle CPU time of both over 30 s. Runs on a private Xvfb + openbox.
#
#   bench/bench_startup.sh [build-dir] [runs]     (defaults: build, 15)
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
root=$zavo_root
build="$(cd "${1:-$root/build}" && pwd)"
runs="${2:-15}"
launcher="$build/ZAVO_launcher"
minimal="$build/bench/minimal_window"
wait_mapped="$build/bench/wait_mapped"
for f in "$launcher" "$minimal" "$wait_mapped"; do
  [[ -x "$f" ]] || { echo "missing $f: build the targets ZAVO_launcher minimal_window wait_mapped" >&2; exit 1; }
done
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done

use_scratch

private_x_session || exit 1

# measure NAME TITLE ARGS... : appends "map_ms hwm_kb" to $tmp/NAME
measure() {
  local name=$1 title=$2
  shift 2
  local cwd
  cwd="$(mktemp -d -p "$tmp")"
  local line
  line="$("$wait_mapped" --cwd "$cwd" --settle-ms 300 "$title" -- "$@")"
  sed -E 's/.*map_ms=([0-9.]+) hwm_kb=([0-9]+).*/\1 \2/' <<<"$line" >>"$tmp/$name"
  rm -rf "$cwd"
}

# One unrecorded start each warms the caches (fonts, libraries).
"$wait_mapped" --cwd "$(mktemp -d -p "$tmp")" ZAVO_launcher -- "$launcher" >/dev/null
"$wait_mapped" minimal_window -- "$minimal" >/dev/null
# The order alternates: a start right after another program was ended pays for
# that program's teardown in the X server.
for ((i = 1; i <= runs; i++)); do
  if ((i % 2)); then
    measure launcher ZAVO_launcher "$launcher"
    measure minimal minimal_window "$minimal"
  else
    measure minimal minimal_window "$minimal"
    measure launcher ZAVO_launcher "$launcher"
  fi
done

# stats FILE COLUMN SCALE -> "median min max"
stats() {
  awk -v c="$2" -v s="$3" '{print $c / s}' "$1" | sort -g | awk '
    { v[NR] = $1 }
    END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          printf "%9.1f %9.1f %9.1f", m, v[1], v[NR] }'
}

idle() {
  "$wait_mapped" --cwd "$(mktemp -d -p "$tmp")" --settle-ms 1000 --idle-s 30 "$1" -- "$2" |
    sed -E 's/.*idle_cpu_ms=([0-9.]+).*/\1/'
}
idle_launcher="$(idle ZAVO_launcher "$launcher")"
idle_minimal="$(idle minimal_window "$minimal")"

echo "Start-up on a private Xvfb + openbox, $runs runs each (median / min / max)"
echo "machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name:[[:space:]]*//p'), $(date -u '+%Y-%m-%d %H:%M UTC')"
printf '%-34s %29s   %29s\n' "" "ZAVO_launcher" "minimal Qt window"
printf '%-34s %9s %9s %9s   %9s %9s %9s\n' "" median min max median min max
printf '%-34s %s   %s\n' "start to mapped (ms)" "$(stats "$tmp/launcher" 1 1)" "$(stats "$tmp/minimal" 1 1)"
printf '%-34s %s   %s\n' "peak resident memory VmHWM (MiB)" "$(stats "$tmp/launcher" 2 1024)" "$(stats "$tmp/minimal" 2 1024)"
printf '%-34s %29s   %29s\n' "idle CPU over 30 s (ms)" "$idle_launcher" "$idle_minimal"
