#!/usr/bin/env bash
# Runs the end-to-end tier again and again, to show that it passes every time
# and does not depend on being alone on the machine.
#
#   tests/e2e/stress_e2e.sh [-n RUNS] [--neighbour] [-L REGEX] [BUILD-DIR]
#
# One run is `ctest --test-dir BUILD-DIR -L REGEX` (default '^e2e$', the Linux
# end-to-end tests; '^e2e' adds the Wine one) followed by the idle check
# (`ctest -L '^idle$'`), as `scripts/test.sh e2e` runs them. RUNS runs follow
# each other (default 10); BUILD-DIR defaults to build/.
#
# --neighbour: beside each run, another X session comes and goes over and
# over: Xvfb -displayfd + openbox, started at a random moment (0-4 s after the
# previous one ended), kept for a random 1-8 s, then ended by its PIDs, until
# the run is over. Its display numbers are the ones the tests pick from, so
# servers start and die beside every session the tests open.
#
# Each run's output goes to BUILD-DIR/stress-e2e/TIME/run-N.log (with the
# neighbours' logs beside it, in neighbour-N/); a line per run and a summary
# are printed. Exit status 0 when every run passed.
set -euo pipefail

source "$(dirname "$0")/../../scripts/lib.sh"
runs=10
neighbour=0
labels='^e2e$'
build="$zavo_root/build"
while (($#)); do
  case "$1" in
  -n) runs="$2"; shift 2 ;;
  --neighbour) neighbour=1; shift ;;
  -L) labels="$2"; shift 2 ;;
  -h | --help) sed -n '2,20p' "$0"; exit 0 ;;
  *) build="$1"; shift ;;
  esac
done
build="$(cd "$build" && pwd)"
logs="$build/stress-e2e/$(date +%Y%m%d-%H%M%S)"
mkdir -p "$logs"

# One neighbour session after another, with its servers' logs in LOGDIR,
# until it gets SIGTERM; it then ends its own Xvfb and openbox by PID.
neighbour_loop() {
  local logs=$1 pids=()
  trap 'end_pids; exit 0' TERM
  while :; do
    sleep "$((RANDOM % 5)).$((RANDOM % 10))"
    start_x_session "$logs" 800x600x24 &&
      echo "neighbour: Xvfb ${pids[0]} and openbox ${pids[1]} on $DISPLAY" >>"$logs/neighbour.log"
    sleep "$((1 + RANDOM % 8)).$((RANDOM % 10))"
    end_pids
    pids=()
  done
}

passed=0
failed=0
started=$SECONDS
for ((run = 1; run <= runs; run++)); do
  log="$logs/run-$run.log"
  : >"$log"
  npid=""
  if ((neighbour)); then
    neighbour_loop "$logs/neighbour-$run" &
    npid=$!
  fi
  t0=$SECONDS
  status=pass
  ctest --test-dir "$build" -L "$labels" --output-on-failure >>"$log" 2>&1 || status=FAIL
  ctest --test-dir "$build" -L '^idle$' --output-on-failure >>"$log" 2>&1 || status=FAIL
  if [[ -n $npid ]]; then
    kill "$npid" 2>/dev/null || true
    wait "$npid" 2>/dev/null || true
  fi
  summary="$(grep -E 'tests passed|tests failed' "$log" | tr '\n' ';')"
  echo "run $run/$runs: $status in $((SECONDS - t0)) s (${summary%;})${npid:+ with neighbour sessions}"
  if [[ $status == pass ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    grep -E '^\s*[0-9]+ - |FAIL|did not come up' "$log" | head -20 | sed 's/^/    /'
  fi
done
echo "stress: $passed passed, $failed failed of $runs runs in $((SECONDS - started)) s; logs in $logs"
((failed == 0))
