#!/usr/bin/env bash
# The Debian package as a user gets it, checked without installing it: builds it
# (scripts/package.sh), runs lintian on it, unpacks it into a private root with
# dpkg-deb -x, checks its files, validates the desktop entry and the AppStream
# data there, and starts the desktop entry's Exec command from that root on a
# private Xvfb + openbox with a fresh home: the window maps with the WM_CLASS
# the entry names, and settei.ini lands in the configuration folder. The host's
# package database is never written; the check compares `dpkg -l` before and
# after to prove it.
#
#   bash tests/e2e/package_check.sh [build-dir]     (default: build-pkg)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-pkg}"
app_id=jp.zavo.launcher
entry_name=zavo_launcher.desktop

# What may be installed is installed before the first listing; from here on
# nothing may change the package database.
"$root/scripts/deps.sh"
tmp="$(mktemp -d)"
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
fail() {
  echo "package check: $*" >&2
  for log in "$tmp"/*.log; do [[ -s $log ]] && { echo "--- $log" >&2; cat "$log" >&2; }; done
  exit 1
}
COLUMNS=200 dpkg -l >"$tmp/dpkg-before"

deb="$(bash "$root/scripts/package.sh" "$build" | tail -1)"
echo "package: $deb"
dpkg-deb --field "$deb" Version Depends Recommends

status=0
lintian --fail-on error,warning "$deb" >"$tmp/lintian.out" 2>&1 || status=$?
if ((status != 0)) || grep -v '^running with root' "$tmp/lintian.out" >&2; then
  fail "lintian reports the above (exit $status)"
fi
echo "lintian: no error, no warning"

pkg="$tmp/root"
dpkg-deb -x "$deb" "$pkg"
(cd "$pkg" && find . ! -type d | sed 's|^\.||' | sort) >"$tmp/files"
sort >"$tmp/expected" <<EOF
/usr/bin/ZAVO_launcher
/usr/bin/zavo-launcher-menu
/usr/share/applications/$entry_name
/usr/share/doc/zavo-launcher/changelog.gz
/usr/share/doc/zavo-launcher/copyright
/usr/share/icons/hicolor/16x16/apps/zavo_launcher.png
/usr/share/icons/hicolor/32x32/apps/zavo_launcher.png
/usr/share/icons/hicolor/48x48/apps/zavo_launcher.png
/usr/share/icons/hicolor/scalable/apps/zavo_launcher.svg
/usr/share/man/man1/ZAVO_launcher.1.gz
/usr/share/man/man1/zavo-launcher-menu.1.gz
/usr/share/metainfo/$app_id.metainfo.xml
EOF
diff -u "$tmp/expected" "$tmp/files" || fail "the package's files differ from the list above"
while read -r f; do [[ -s $pkg$f ]] || fail "$f is empty or a dangling link"; done <"$tmp/files"
[[ -x $pkg/usr/bin/ZAVO_launcher && -x $pkg/usr/bin/zavo-launcher-menu ]] ||
  fail "the programs in /usr/bin are not executable"
# The copyright file carries the licence of LICENSE word for word.
diff <(sed -n '/^Permission/,$p' "$root/LICENSE") \
  <(sed -n '/^ Permission/,$ { s/^ //; s/^\.$//; p }' "$pkg/usr/share/doc/zavo-launcher/copyright") \
  >/dev/null ||
  fail "usr/share/doc/zavo-launcher/copyright does not carry the licence of LICENSE"
echo "files: the $(wc -l <"$tmp/files") expected ones, none empty; copyright matches LICENSE"

entry="$pkg/usr/share/applications/$entry_name"
metainfo="$pkg/usr/share/metainfo/$app_id.metainfo.xml"
appstreamcli validate --no-net "$metainfo"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "metainfo names no MIT licence"
desktop-file-validate "$entry" || fail "desktop-file-validate"
# It does not look the icon's name up: the package must install the icon.
icon="$(sed -n 's/^Icon=//p' "$entry")"
[[ -n $(find "$pkg/usr/share/icons" -name "$icon.png" -o -name "$icon.svg") ]] ||
  fail "Icon=$icon: the package installs no icon of that name"
# The newest release AppStream names is the package's version.
version="$(dpkg-deb --field "$deb" Version)"
[[ $(grep -m1 -o '<release version="[^"]*"' "$metainfo") == "<release version=\"$version\"" ]] ||
  fail "the metainfo's newest release is not $version"
echo "desktop-file-validate: ok; Icon=$icon installed; metainfo release $version"

# The menu's start script honours an absolute XDG_CONFIG_HOME and ignores a
# relative one (as desktops treat XDG_CONFIG_HOME), also one with a slash,
# tried from a scratch folder with a stand-in for the program beside it that
# notes where it was started.
mkdir "$tmp/stub" "$tmp/cwd"
cp "$pkg/usr/bin/zavo-launcher-menu" "$tmp/stub/"
# shellcheck disable=SC2016 # expanded by the stand-in
printf '#!/bin/sh\npwd >"$HOME/started_in"\n' >"$tmp/stub/ZAVO_launcher"
chmod +x "$tmp/stub/ZAVO_launcher"
for row in "$tmp/xdg:$tmp/xdg/zavo_launcher" "relative:$tmp/stubhome/.config/zavo_launcher" \
  "rel/dir:$tmp/stubhome/.config/zavo_launcher"; do
  rm -rf "$tmp/stubhome" && mkdir "$tmp/stubhome"
  (cd "$tmp/cwd" && HOME="$tmp/stubhome" XDG_CONFIG_HOME="${row%%:*}" "$tmp/stub/zavo-launcher-menu")
  [[ $(cat "$tmp/stubhome/started_in") == "${row#*:}" ]] ||
    fail "XDG_CONFIG_HOME=${row%%:*}: started in $(cat "$tmp/stubhome/started_in"), not ${row#*:}"
done

# A private X display with a window manager, as a desktop session has.
mkdir -m 0700 "$tmp/runtime" "$tmp/home"
source "$root/scripts/x_session.sh"
# A second try only as a fallback, for a display that another session beside
# this one disturbed; the logs of both tries are kept for a failure.
if ! start_x_session "$tmp"; then
  echo "X session ${DISPLAY:-?} did not come up; starting another" >&2
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  pids=()
  start_x_session "$tmp" || fail "openbox did not come up on ${DISPLAY:-?} ($(xprop -root _NET_SUPPORTING_WM_CHECK 2>&1))"
fi

# The entry's Exec command, as the menu runs it: found on the PATH (the
# unpacked root's /usr/bin first), started in the home folder, with a fresh
# home and no XDG_CONFIG_HOME. No session bus: the launcher must not reach or
# autolaunch one of the host's.
exec_line="$(sed -n 's/^Exec=//p' "$entry")"
[[ $exec_line != *%* ]] || fail "Exec=$exec_line has field codes this check does not expand"
read -ra command <<<"$exec_line"
(cd "$tmp/home" && exec env -u XDG_CONFIG_HOME -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY \
  HOME="$tmp/home" PATH="$pkg/usr/bin:$PATH" XDG_RUNTIME_DIR="$tmp/runtime" LANG=ja_JP.UTF-8 \
  DBUS_SESSION_BUS_ADDRESS="unix:path=$tmp/no-bus" "${command[@]}") >"$tmp/launcher.log" 2>&1 &
launcher=$!
pids+=("$launcher")
window=""
polls=0
for _ in $(seq 600); do
  window="$(xdotool search --all --onlyvisible --pid "$launcher" --name '^ZAVO_launcher$' 2>/dev/null |
    head -1)" && [[ -n $window ]] && break
  kill -0 "$launcher" 2>/dev/null || fail "Exec=$exec_line ended without a window"
  # openbox 3.6 can sleep on a map request it has already read; a root
  # property change wakes it.
  ((++polls % 10)) || xprop -root -f _ZAVO_WM_NUDGE 32c -set _ZAVO_WM_NUDGE "$polls" 2>/dev/null || true
  sleep 0.05
done
[[ -n $window ]] || fail "Exec=$exec_line mapped no window"
wm_class="$(xprop -id "$window" WM_CLASS | sed -E 's/.*= "[^"]*", "([^"]*)"/\1/')"
entry_class="$(sed -n 's/^StartupWMClass=//p' "$entry")"
[[ $wm_class == "$entry_class" ]] || fail "WM_CLASS class '$wm_class' is not StartupWMClass '$entry_class'"

config="$tmp/home/.config/zavo_launcher"
found="$(cd "$tmp/home" && find . -name settei.ini)"
[[ $found == ./.config/zavo_launcher/settei.ini ]] ||
  fail "settei.ini is at '${found:-nowhere}' in the fresh home, not in .config/zavo_launcher"
[[ $(stat -c %a "$config") == 700 ]] || fail "$config is not private to the user"

# The window has drawn once its picture has more than the background.
colours=0
for _ in $(seq 100); do
  colours="$(import -window "$window" png:- 2>/dev/null | identify -format '%k' - 2>/dev/null)" || colours=0
  ((colours >= 3)) && break
  sleep 0.1
done
((colours >= 3)) || fail "the window shows only $colours colours: nothing drawn"
import -window root "$build/package_window.png"
echo "Exec=$exec_line: window $window (WM_CLASS class $wm_class = StartupWMClass), settei.ini in" \
  "the home's .config/zavo_launcher; screenshot $build/package_window.png"

kill "$launcher"
wait "$launcher" 2>/dev/null || true
COLUMNS=200 dpkg -l >"$tmp/dpkg-after"
diff -u "$tmp/dpkg-before" "$tmp/dpkg-after" || fail "the host's package database changed"
echo "package check: lintian clean, files, entry and metainfo valid, started from the menu entry;" \
  "dpkg -l unchanged"
