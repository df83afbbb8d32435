#!/usr/bin/env bash
# Idle cost: wake-ups per second and CPU time of ZAVO_launcher, the minimal Qt
# window (same layout, plain 4 Hz clock) and a plain Xlib clock (4 Hz), run
# side by side on a private Xvfb + openbox for SECONDS after they settled.
# Per thread: the CPU time from /proc/PID/task/*/schedstat (field 1), and the
# wake-ups as the times it went to sleep of its own accord
# (voluntary_ctxt_switches; schedstat's field 3 also counts preemptions, which
# a busy machine adds).
#
#   bench/bench_idle.sh [build-dir] [seconds] [launcher]
#
# Defaults: build, 60, <build-dir>/ZAVO_launcher (another launcher binary, an
# older build for instance, can stand in for it).
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
root=$zavo_root
build="$(cd "${1:-$root/build}" && pwd)"
seconds="${2:-60}"
launcher="$(realpath "${3:-$build/ZAVO_launcher}")"
programs=("ZAVO_launcher:$launcher" "minimal_window:$build/bench/minimal_window"
  "xlib_clock:$build/bench/xlib_clock")
for p in "${programs[@]}"; do
  [[ -x "${p#*:}" ]] || { echo "missing ${p#*:}: build ZAVO_launcher minimal_window xlib_clock" >&2; exit 1; }
done
for tool in Xvfb openbox xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done

use_scratch

mkdir "$tmp/cwd"
private_x_session || exit 1

declare -A pid_of
for p in "${programs[@]}"; do
  name=${p%%:*}
  (cd "$tmp/cwd" && exec "${p#*:}") >"$tmp/$name.log" 2>&1 &
  pids+=($!)
  pid_of[$name]=$!
done
for p in "${programs[@]}"; do
  name=${p%%:*}
  wait_viewable "$name" ||
    { echo "$name did not map its window" >&2; cat "$tmp/$name.log" >&2; exit 1; }
done
sleep 3 # start-up work (fonts, first paints) settles

# sample NAME: one line per thread: name tid comm cpu_ns wake-ups slices
sample() {
  local name=$1 pid=${pid_of[$1]} t
  for t in /proc/"$pid"/task/*; do
    [[ -r $t/schedstat ]] || continue
    printf '%s %s %s %s %s\n' "$name" "${t##*/}" "$(tr ' ' '_' <"$t/comm")" \
      "$(cut -d' ' -f1 "$t/schedstat")" \
      "$(sed -n 's/^voluntary_ctxt_switches:\s*//p' "$t/status") $(cut -d' ' -f3 "$t/schedstat")"
  done
}
for p in "${programs[@]}"; do sample "${p%%:*}"; done >"$tmp/before"
sleep "$seconds"
for p in "${programs[@]}"; do sample "${p%%:*}"; done >"$tmp/after"
for p in "${programs[@]}"; do
  kill -0 "${pid_of[${p%%:*}]}" 2>/dev/null || { echo "${p%%:*} ended during the run" >&2; exit 1; }
done

echo "Idle over $seconds s, side by side on a private Xvfb + openbox"
echo "machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name:[[:space:]]*//p'), $(date -u '+%Y-%m-%d %H:%M UTC')"
printf '%-16s %-18s %11s %9s %9s %9s\n' program thread "wake-ups/s" "slices/s" "CPU ms" "% of core"
awk -v s="$seconds" '
  NR == FNR { cpu0[$1 " " $2] = $4; n0[$1 " " $2] = $5; l0[$1 " " $2] = $6; next }
  {
    k = $1 " " $2   # a thread born during the run counts whole
    dc = $4 - cpu0[k]; dn = $5 - n0[k]; dl = $6 - l0[k]
    tc[$1] += dc; tn[$1] += dn; tl[$1] += dl
    if (dl > 0)
      line[$1] = line[$1] sprintf("%-16s %-18s %11.2f %9.2f %9.1f %9.3f\n", "", $3, dn / s, dl / s,
                                  dc / 1e6, dc / 1e7 / s)
  }
  END {
    split("ZAVO_launcher minimal_window xlib_clock", order, " ")
    for (i = 1; i <= 3; i++) {
      p = order[i]
      printf "%-16s %-18s %11.2f %9.2f %9.1f %9.3f\n", p, "(all threads)", tn[p] / s, tl[p] / s,
             tc[p] / 1e6, tc[p] / 1e7 / s
      printf "%s", line[p]
    }
  }' "$tmp/before" "$tmp/after"
