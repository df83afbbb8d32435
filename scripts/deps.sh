#!/usr/bin/env bash
# Installs the Debian 12 or 13 packages the build, the tests and the screenshots
# need, when any of them is missing. Needs root (or sudo) only when it installs.
set -euo pipefail
# The fuzz tier's clang: Debian 12's clang 14, as CI has it; Debian 13 ships no
# clang-14, and its versionless clang is the release's own (scripts/fuzz.sh
# takes whichever is installed).
clang=(clang-14 libclang-rt-14-dev)
codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
[[ $codename == bookworm || -z $codename ]] || clang=(clang libclang-rt-dev)
packages=(build-essential cmake ninja-build qt6-base-dev libxtst-dev libx11-dev
  xvfb xauth openbox xdotool x11-utils x11-xserver-utils imagemagick locales dbus at-spi2-core python3-pyatspi orca
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-noto-cjk libicu-dev clang-format doctest-dev
  "${clang[@]}"
  libglib2.0-dev dpkg-dev file appstream desktop-file-utils lintian
  weston xwayland qt6-wayland qt6-translations-l10n)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 "${missing[@]}"
fi
