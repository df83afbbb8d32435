#!/usr/bin/env bash
# Builds the Debian package of the launcher for one Debian release, in a clean
# root of that release (scripts/lib.sh debian_root: only the release's build
# packages, from the Debian archive), so that dpkg-shlibdeps finds the
# dependencies that release has. A Release build of the launcher alone (no
# tests) in build-pkg/RELEASE/, installed under /usr and packed by CPack as
# VERSION+debN (cmake/packaging.cmake). Prints the path of the .deb as its
# last line.
#
#   bash scripts/package.sh [--release R]    in a clean root of R (bookworm,
#                                            trixie; default: this system's)
#   bash scripts/package.sh --here [DIR]     on this system as it is, in DIR
#                                            (default build-pkg/here-RELEASE);
#                                            what runs inside the clean root
#   bash scripts/package.sh [--release R] --print-root
#                                            print the path of that clean root
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# What building and packing the launcher needs; the package check's static
# part (lintian, the validators) runs in the same root.
package_build_deps=(build-essential cmake ninja-build qt6-base-dev libxtst-dev libx11-dev
  libicu-dev libglib2.0-dev dpkg-dev file lintian appstream desktop-file-utils)

this_release="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
release="$this_release" here=false print_root=false build=""
while (($#)); do
  case "$1" in
  --release) release="${2:?--release needs a release}"; shift ;;
  --here) here=true ;;
  --print-root) print_root=true ;;
  -*) echo "package.sh: unknown option $1" >&2; exit 2 ;;
  *) build="$1" ;;
  esac
  shift
done

if ! $here; then
  [[ -z $build ]] || { echo "package.sh: a build folder goes with --here only" >&2; exit 2; }
  buildroot="$(debian_root "$release" apt "${package_build_deps[@]}")"
  ! $print_root || { echo "$buildroot"; exit; }
  rm -f "$zavo_root/build-pkg/$release"/*.deb
  in_debian_root "$buildroot" "$zavo_root" "bash scripts/package.sh --here build-pkg/$release" >&2
  realpath "$zavo_root/build-pkg/$release"/*.deb
  exit
fi

install_packages "${package_build_deps[@]}"
# Not the folder of the clean root's builds: this system's libraries may differ.
build="$(realpath -m "${build:-$zavo_root/build-pkg/here-$this_release}")"
# -O2, as Debian builds its packages (GCC 12 also warns falsely at -O3).
cmake -S "$zavo_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_INSTALL_PREFIX=/usr \
  -DZAVO_BUILD_TESTS=OFF -DZAVO_BUILD_BENCH=OFF -DZAVO_DEB_FOR_THIS_RELEASE=ON >/dev/null
cmake --build "$build" -j "$jobs"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
realpath "$build"/*.deb
