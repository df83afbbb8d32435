#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the Windows program
# and its tests under Wine (build-win/), then the Linux suites once in the
# normal build (build/) and once under AddressSanitizer +
# UndefinedBehaviorSanitizer (build-asan/), the fuzz targets briefly, and the
# Linux package. End-to-end tests start their own private Xvfb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
cd "$root"
jobs="$(nproc)"

echo "== format check"
if command -v clang-format >/dev/null; then
  git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
fi

echo "== Windows build (MinGW-w64) and its tests under Wine (build-win/)"
# First, so that the Linux suites find build-win/ZAVO_launcher.exe for the
# end-to-end test of the Windows program under Wine.
bash "$root/scripts/build-windows.sh"
# The wine server of the tests' prefix ends with them, also when one fails.
trap 'bash "$root/scripts/wine-run.sh" --stop "$root/build-win"' EXIT
ctest --test-dir build-win --output-on-failure -j "$jobs"

echo "== build and test (build/)"
"$root/scripts/build.sh"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== build and test under ASan + UBSan (build-asan/)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZAVO_SANITIZE=ON \
  -DZAVO_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The Windows program's end-to-end test drives an .exe that is not built
# with the sanitizers; once, in build/, is enough.
ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE e2e_win

echo "== fuzz targets, 30 s each (build-fuzz/)"
bash "$root/scripts/fuzz.sh" 30

echo "== Linux package: build, install, check, start and remove it (build-pkg/)"
bash "$root/tests/e2e/package_check.sh" "$root/build-pkg"
