#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under ASan + UBSan (build-fuzz/) and
# runs each one in turn for SECONDS (default 60), at the lowest priority.
# New inputs go to build-fuzz/corpus/<target>/, on top of the committed seeds
# in fuzz/corpus/<target>/ (fuzz_register_disk reads fuzz_register's, its
# input is the same); a crashing input is kept as
# build-fuzz/artifacts/<target>-crash-* and ends the script with an error.
#
#   bash scripts/fuzz.sh [SECONDS] [target ...]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
root=$zavo_root
seconds="${1:-60}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(fuzz_settei fuzz_register fuzz_register_disk)
build="$root/build-fuzz"

# Debian 12's clang-14 where installed (scripts/deps.sh), else the release's
# versionless clang.
cc=clang-14 cxx=clang++-14
command -v "$cxx" >/dev/null || cc=clang cxx=clang++
CC=$cc CXX=$cxx cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZAVO_FUZZ=ON -DZAVO_SANITIZE=ON -DZAVO_BUILD_TESTS=OFF -DZAVO_BUILD_BENCH=OFF >/dev/null
nice -n 19 cmake --build "$build" -j "$jobs" --target "${targets[@]}"

# An input costs a few hundred allocations, and ASan's bookkeeping of each
# is most of the time: a 1 MiB quarantine still catches a use of what was
# freed just before; allocation stacks are kept 5 frames deep and fresh
# memory is not filled. For the whole stacks of a finding, run its input
# again with ASan's defaults: build-fuzz/fuzz/<target> <crash file>.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:quarantine_size_mb=1:malloc_context_size=5:max_malloc_fill_size=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p "$build/artifacts"
# settei.ini: three records of 200 bytes and a little past them; register:
# two names and a file of up to four records.
declare -A max_len=([fuzz_settei]=1024 [fuzz_register]=1024 [fuzz_register_disk]=1024)
declare -A seeds=([fuzz_register_disk]=fuzz_register)
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  committed="$root/fuzz/corpus/${seeds[$t]:-$t}"
  mkdir -p "$corpus"
  echo "== $t for ${seconds} s"
  nice -n 19 "$build/fuzz/$t" -max_total_time="$seconds" -max_len="${max_len[$t]}" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$t-" "$corpus" "$committed" 2>"$build/$t.log" ||
    { tail -n 60 "$build/$t.log" >&2; echo "$t: FAILED, see $build/$t.log" >&2; exit 1; }
  grep -E '^stat::(number_of_executed_units|new_units_added)' "$build/$t.log" | tr '\n' ' '
  units=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$t.log")
  echo "inputs/s: $((units / seconds))"
  echo "corpus: $(find "$corpus" "$committed" -type f | wc -l) files," \
    "$(cat "$corpus"/* "$committed"/* 2>/dev/null | wc -c) bytes"
done
