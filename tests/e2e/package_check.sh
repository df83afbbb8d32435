#!/usr/bin/env bash
# The Debian package of each release as a user of that release gets it: built
# in a clean root of the release (scripts/package.sh --release), its contents
# checked in that root with the release's lintian and validators
# (package_files.sh), then installed with apt from the Debian archive, started
# from its menu entry and purged in a fresh minimal root of the same release
# (package_apt.sh). Last, the package of the newer release must sort newer.
# Everything runs in roots (scripts/lib.sh debian_root, in_debian_root): the
# host's package database is never written.
#
#   bash tests/e2e/package_check.sh [RELEASE...]    (default: bookworm trixie)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
(($#)) || set -- bookworm trixie
install_packages imagemagick # to turn the screen the check saves into a PNG

# The roots of all releases are made side by side first (their making waits
# mostly on the network and the disk), each once: later calls find them.
root_jobs=()
for release in "$@"; do
  bash "$zavo_root/scripts/package.sh" --release "$release" --print-root >/dev/null &
  root_jobs+=($!)
  debian_root "$release" apt >/dev/null &
  root_jobs+=($!)
done
for job in "${root_jobs[@]}"; do wait "$job"; done

versions=()
for release in "$@"; do
  echo "== $release"
  start=$SECONDS
  deb="$(bash "$zavo_root/scripts/package.sh" --release "$release" | tail -1)"
  built=$SECONDS
  echo "package: $deb ($((built - start)) s)"
  dpkg-deb --field "$deb" Version Depends Recommends
  versions+=("$(dpkg-deb --field "$deb" Version)")
  relative="${deb#"$zavo_root"/}"
  out="build-pkg/$release"

  buildroot="$(bash "$zavo_root/scripts/package.sh" --release "$release" --print-root)"
  in_debian_root "$buildroot" "$zavo_root" "bash tests/e2e/package_files.sh $relative"
  checked=$SECONDS

  aptroot="$(debian_root "$release" apt)"
  in_debian_root "$aptroot" "$zavo_root" "bash tests/e2e/package_apt.sh $relative $out"
  convert "xwd:$zavo_root/$out/package_window.xwd" "$zavo_root/$out/package_window.png"
  echo "$release: built in $((built - start)) s, contents checked in $((checked - built)) s," \
    "installed, started and purged in $((SECONDS - checked)) s; screen: $out/package_window.png"
done

# An upgrade of the system upgrades the launcher: each release's package
# sorts above the one of the release before.
for ((i = 1; i < ${#versions[@]}; i++)); do
  dpkg --compare-versions "${versions[i - 1]}" lt "${versions[i]}" ||
    { echo "package check: ${versions[i - 1]} does not sort below ${versions[i]}" >&2; exit 1; }
done
echo "package check: ${versions[*]} in upgrade order; each lintian clean, installed by apt," \
  "started from its menu entry and purged without a trace"
