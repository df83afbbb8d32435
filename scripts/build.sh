#!/usr/bin/env bash
# Configures and builds into build/ (the launcher lands at build/ZAVO_launcher).
#
#   bash scripts/build.sh [--target NAME] [CMAKE-ARGS...]
#
# --target builds only NAME and what it needs (run.sh: the launcher alone);
# without it everything, the tests included. CMAKE-ARGS go to the configure
# step (-DNAME=VALUE).
set -euo pipefail
cd "$(dirname "$0")/.."
target=()
if [[ ${1:-} == --target ]]; then
  target=(--target "${2:?build.sh: --target needs a name}")
  shift 2
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build "${target[@]}"
