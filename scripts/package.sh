#!/usr/bin/env bash
# Builds the Debian package of the launcher: a Release build in build-pkg/ (or
# the folder given), installed under /usr, packed by CPack with dependencies
# from dpkg-shlibdeps. Prints the path of the .deb as its last line.
#
#   bash scripts/package.sh [build-dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
build="${1:-$root/build-pkg}"
# -O2, as Debian builds its packages (GCC 12 also warns falsely at -O3).
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_INSTALL_PREFIX=/usr \
  -DZAVO_BUILD_TESTS=OFF -DZAVO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j 2
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/*.deb)"
realpath "$deb"
