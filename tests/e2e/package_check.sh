#!/usr/bin/env bash
# The Debian package as a user gets it: builds it (scripts/package.sh), installs
# it with apt, checks its file list, validates the metainfo and the desktop
# entry, maps the installed /usr/bin/ZAVO_launcher on a private Xvfb (and saves
# a screenshot), then removes the package again. Needs root (or sudo).
#
#   bash tests/e2e/package_check.sh [build-dir]     (default: build-pkg)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-pkg}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
package=zavo-launcher
app_id=jp.zavo.launcher

deb="$(bash "$root/scripts/package.sh" "$build" | tail -1)"
echo "package: $deb"
dpkg-deb --field "$deb" Depends

tmp="$(mktemp -d)"
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$tmp"
  if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    $sudo apt-get remove -y -q "$package" >/dev/null
  fi
}
trap cleanup EXIT

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -q -o DPkg::Lock::Timeout=300 "$deb" >/dev/null

dpkg -L "$package" >"$tmp/files"
for f in /usr/bin/ZAVO_launcher \
  /usr/share/applications/zavo_launcher.desktop \
  /usr/share/icons/hicolor/16x16/apps/zavo_launcher.png \
  /usr/share/icons/hicolor/32x32/apps/zavo_launcher.png \
  /usr/share/icons/hicolor/48x48/apps/zavo_launcher.png \
  /usr/share/icons/hicolor/scalable/apps/zavo_launcher.svg \
  "/usr/share/metainfo/$app_id.metainfo.xml"; do
  grep -qx "$f" "$tmp/files" || { echo "dpkg -L $package lacks $f" >&2; exit 1; }
  [[ -s $f ]] || { echo "$f is not installed" >&2; exit 1; }
done
echo "dpkg -L: binary, desktop entry, 16/32/48 px and scalable icons, metainfo"

appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml"
desktop-file-validate /usr/share/applications/zavo_launcher.desktop
echo "desktop-file-validate: ok"

# The installed binary maps its window on a private display, with the window
# class the desktop entry names.
mkdir -m 0700 "$tmp/runtime" "$tmp/work"
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null &
pids+=($!)
read -r -t 15 -u "$fd" display || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"
(cd "$tmp/work" && exec env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$tmp/runtime" \
  LANG=ja_JP.UTF-8 /usr/bin/ZAVO_launcher) &
pids+=($!)
window=""
for _ in $(seq 300); do
  window="$(xwininfo -root -tree 2>/dev/null | awk '/"ZAVO_launcher"/ { print $1; exit }')"
  [[ -n $window ]] && xwininfo -id "$window" | grep -q "Map State: IsViewable" && break
  window=""
  sleep 0.1
done
[[ -n $window ]] || { echo "/usr/bin/ZAVO_launcher mapped no window" >&2; exit 1; }
wm_class="$(xprop -id "$window" WM_CLASS | sed -E 's/.*= "[^"]*", "([^"]*)"/\1/')"
entry_class="$(sed -n 's/^StartupWMClass=//p' /usr/share/applications/zavo_launcher.desktop)"
[[ $wm_class == "$entry_class" ]] ||
  { echo "WM_CLASS class '$wm_class' is not StartupWMClass '$entry_class'" >&2; exit 1; }
sleep 0.5 # the first paint
import -window root "$build/package_window.png"
echo "window $window mapped, WM_CLASS class $wm_class; screenshot $build/package_window.png"

kill "${pids[1]}"
wait "${pids[1]}" 2>/dev/null || true
$sudo apt-get remove -y -q "$package" >/dev/null
[[ ! -e /usr/bin/ZAVO_launcher ]] || { echo "apt-get remove left /usr/bin/ZAVO_launcher" >&2; exit 1; }
echo "package check: installed, validated, started and removed"
