#!/usr/bin/env bash
# Windows start-up benchmark under Wine: time from process start to the window
# being mapped, N runs each, ZAVO_launcher.exe (each run in a fresh empty
# working folder) alternating with a minimal static Win32 window of the same
# layout (bench/minimal_window_win.cpp); both in one private Wine prefix whose
# server is kept warm, on a private Xvfb + openbox at 96 DPI.
#
#   bench/bench_startup_win.sh [build-win-dir] [runs]   (defaults: build-win, 15)
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
root=$zavo_root
build="$(cd "${1:-$root/build-win}" && pwd)"
runs="${2:-15}"
launcher="$build/ZAVO_launcher.exe"
[[ -f $launcher ]] || { echo "missing $launcher: bash scripts/build-windows.sh" >&2; exit 1; }
for tool in Xvfb openbox xprop wine g++ x86_64-w64-mingw32-g++-posix; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done

# The reference window (MinGW, static like the launcher) and the host-side
# timer, rebuilt when their sources change.
bench="$build/bench-startup"
mkdir -p "$bench"
minimal="$bench/minimal_window.exe"
wait_mapped="$bench/wait_mapped"
if [[ ! $minimal -nt $root/bench/minimal_window_win.cpp ]]; then
  x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -s -static -mwindows -municode -Wall -Wextra \
    -Werror -o "$minimal" "$root/bench/minimal_window_win.cpp"
fi
if [[ ! $wait_mapped -nt $root/bench/wait_mapped.cpp ]]; then
  g++ -std=c++20 -O2 -Wall -Wextra -Werror -o "$wait_mapped" "$root/bench/wait_mapped.cpp" -lX11
fi

use_scratch
# The prefix's wine server goes first, before the display it runs on.
trap '"$root/scripts/wine-run.sh" --stop "$bench" 2>/dev/null || true; _end_scratch' EXIT
start_x_session "$tmp" || { x_session_logs "$tmp"; echo "the private X display did not come up" >&2; exit 1; }

# A prefix of the benchmark's own, its server started on this display and kept
# running; the programs are started by `wine` itself, with the environment
# wine-run.sh gives them, so no script start-up is in the figures.
"$root/scripts/wine-run.sh" --prepare "$bench"
export WINEPREFIX="$bench/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$bench/wine-locale" LANGUAGE=
wine="$(command -v wine)"
# Only for Wine: this shell itself cannot load a locale from LOCPATH.
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 2>/dev/null

# measure NAME TITLE PROGRAM : appends map_ms to $tmp/NAME
measure() {
  local cwd
  cwd="$(mktemp -d -p "$tmp")"
  "$wait_mapped" --cwd "$cwd" --settle-ms 200 "$2" -- "$wine" "$3" |
    sed -E 's/.*map_ms=([0-9.]+).*/\1/' >>"$tmp/$1"
  rm -rf "$cwd"
}

# Unrecorded starts warm the caches (fonts, libraries, Wine's services).
for _ in 1 2; do
  measure warm ZAVO_launcher "$launcher"
  measure warm minimal_window "$minimal"
done
# The order alternates: a start right after another program was ended pays for
# that program's teardown in the X server and the wine server.
for ((i = 1; i <= runs; i++)); do
  if ((i % 2)); then
    measure launcher ZAVO_launcher "$launcher"
    measure minimal minimal_window "$minimal"
  else
    measure minimal minimal_window "$minimal"
    measure launcher ZAVO_launcher "$launcher"
  fi
done

median() {
  sort -g "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
stats() {
  sort -g "$1" | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%9.1f %9.1f %9.1f", m, v[1], v[NR] }'
}
echo "Start-up under $(wine --version) on a private Xvfb + openbox, 96 DPI, $runs runs each"
echo "machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name:[[:space:]]*//p'), $(date -u '+%Y-%m-%d %H:%M UTC')"
printf '%-24s %9s %9s %9s\n' "start to mapped (ms)" median min max
printf '%-24s %s\n' "ZAVO_launcher.exe" "$(stats "$tmp/launcher")"
printf '%-24s %s\n' "minimal Win32 window" "$(stats "$tmp/minimal")"
awk -v a="$(median "$tmp/launcher")" -v b="$(median "$tmp/minimal")" \
  'BEGIN { printf "%-24s %9.2fx\n", "ratio of the medians", a / b }'
# Each launcher start beside the reference start next to it (same load on
# the machine), the median of those ratios.
paste "$tmp/launcher" "$tmp/minimal" | awk '{ print $1 / $2 }' >"$tmp/ratios"
printf '%-24s %9.2fx\n' "median of paired ratios" "$(median "$tmp/ratios")"
# Under load the fastest start of each is the steadier figure.
awk -v a="$(sort -g "$tmp/launcher" | head -1)" -v b="$(sort -g "$tmp/minimal" | head -1)" \
  'BEGIN { printf "%-24s %9.2fx\n", "ratio of the minima", a / b }'
printf 'sizes: ZAVO_launcher.exe %s bytes, minimal_window.exe %s bytes\n' \
  "$(stat -c %s "$launcher")" "$(stat -c %s "$minimal")"
