#!/usr/bin/env bash
# The package's contents, checked in the clean root it was built in (so with
# that release's lintian and validators): lintian clean, the expected files,
# none empty, the copyright file's licence, the desktop entry and AppStream
# data valid, the icon the entry names installed, the metainfo's newest
# release the package's version, and the menu's start script's choice of the
# configuration folder. Run by package_check.sh.
#
#   bash tests/e2e/package_files.sh DEB
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
deb="$(realpath "$1")"
app_id=jp.zavo.launcher
entry_name=zavo_launcher.desktop
use_scratch
fail() {
  echo "package files: $*" >&2
  exit 1
}

status=0
lintian --fail-on error,warning "$deb" >"$tmp/lintian.out" 2>&1 || status=$?
if grep -v '^running with root' "$tmp/lintian.out" >&2 || ((status != 0)); then
  fail "lintian $(dpkg-query -W -f '${Version}' lintian) reports the above (exit $status)"
fi
echo "lintian $(dpkg-query -W -f '${Version}' lintian): no error, no warning"

pkg="$tmp/root"
dpkg-deb -x "$deb" "$pkg"
(cd "$pkg" && find . ! -type d | sed 's|^\.||' | sort) >"$tmp/files"
sort >"$tmp/expected" <<END
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
END
diff -u "$tmp/expected" "$tmp/files" || fail "the package's files differ from the list above"
while read -r f; do [[ -s $pkg$f ]] || fail "$f is empty or a dangling link"; done <"$tmp/files"
[[ -x $pkg/usr/bin/ZAVO_launcher && -x $pkg/usr/bin/zavo-launcher-menu ]] ||
  fail "the programs in /usr/bin are not executable"
# The copyright file carries the licence of LICENSE word for word.
diff <(sed -n '/^Permission/,$p' "$zavo_root/LICENSE") \
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
# The newest release AppStream names is the project's version: the package's
# without the release it was built for (+debN).
version="$(dpkg-deb --field "$deb" Version)"
[[ $(grep -m1 -o '<release version="[^"]*"' "$metainfo") == "<release version=\"${version%+deb*}\"" ]] ||
  fail "the metainfo's newest release is not ${version%+deb*}"
echo "desktop-file-validate: ok; Icon=$icon installed; metainfo release ${version%+deb*}"

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
echo "zavo-launcher-menu: absolute XDG_CONFIG_HOME honoured, relative ones ignored"
