#!/usr/bin/env bash
# Installs the Debian 12 or 13 packages the build, the tests and the screenshots
# need, when any of them is missing. Needs root (or sudo) only when it installs.
#
#   bash scripts/deps.sh                  install what this system lacks
#   bash scripts/deps.sh --list RELEASE   print the list for RELEASE (bookworm,
#                                         trixie), one per line
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# deps_for RELEASE: the package list. The fuzz tier's clang: Debian 12's clang
# 14, as CI has it; Debian 13 ships no clang-14, and its versionless clang is
# the release's own (scripts/fuzz.sh takes whichever is installed).
deps_for() {
  local clang=(clang-14 libclang-rt-14-dev)
  [[ $1 == bookworm || -z $1 ]] || clang=(clang libclang-rt-dev)
  printf '%s\n' build-essential cmake ninja-build qt6-base-dev libxtst-dev libx11-dev \
    xvfb xauth openbox xdotool x11-utils x11-xserver-utils imagemagick locales dbus at-spi2-core \
    python3-pyatspi orca fonts-ipafont-gothic fonts-ipafont-mincho fonts-noto-cjk libicu-dev \
    clang-format doctest-dev "${clang[@]}" \
    libglib2.0-dev dpkg-dev file appstream desktop-file-utils lintian \
    weston xwayland qt6-wayland qt6-translations-l10n mutter kwin-wayland
}

if [[ ${1:-} == --list ]]; then
  deps_for "${2:?release}"
  exit 0
fi
codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
mapfile -t packages < <(deps_for "$codename")
install_packages "${packages[@]}"
