#!/usr/bin/env bash
# Cross-builds the Windows program and its tests with MinGW-w64 into
# build-win/ (the program lands at build-win/ZAVO_launcher.exe). Installs what
# is missing first (Debian; needs root or sudo only then). The tests then run
# under Wine with: ctest --test-dir build-win --output-on-failure
# (`build-windows.sh --list` prints the packages it installs.)
# It also packs build-win/ZAVO_launcher-<version>-win64.zip (the program, a
# Japanese read-me and the licence).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
root=$zavo_root

# The host's g++ builds the Linux code page 932 table the Windows one is
# compared with; locales holds the ja_JP source that localedef compiles for
# Wine; e2fsprogs has chattr, which makes a file unwritable even for root;
# zip packs the release archive and unzip reads it back in a test, as
# icoutils' wrestool reads the resources; Ume Gothic (fonts-horai-umefont) and
# Noto Serif CJK JP are what the Wine prefix puts in for the Japanese Windows
# fonts (docs/windows-fonts.md), and IPAGothic is the Japanese font
# fontconfig offers for any other text; the X server is where a test reads
# back what its windows drew.
packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix wine64 wine doctest-dev
  locales e2fsprogs zip unzip icoutils fonts-noto-cjk fonts-horai-umefont fonts-ipafont-gothic
  xvfb)
if [[ ${1:-} == --list ]]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi
command -v apt-get >/dev/null || {
  echo "install: ${packages[*]} (only Debian is automated)" >&2
  exit 1
}
install_packages "${packages[@]}"

# MinSizeRel: a small, stripped program. (GCC 12 at -O3 reports false
# -Wrestrict overlaps inside std::string.)
cmake -S "$root" -B "$root/build-win" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DZAVO_BUILD_BENCH=OFF "$@" >/dev/null
cmake --build "$root/build-win" -j "$jobs"
