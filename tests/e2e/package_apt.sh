#!/usr/bin/env bash
# What a user's apt does with the package, in a fresh minimal root of the
# release it was built for (mmdebstrap --variant=apt; package_check.sh makes
# it and runs this inside, never on the host):
#  - `apt-get install ./DEB` resolves every dependency from the Debian
#    archive (without Recommends: the Depends alone must do), and every
#    library of the program is then found;
#  - only then the tools that observe it come in (Xvfb, x11-utils, xdotool),
#    so they cannot stand in for a missing dependency;
#  - the desktop entry's Exec command, run as a user in a fresh home on a
#    private Xvfb (in a network namespace of its own: no display, session bus
#    or socket of the host's is in reach), maps a window with the WM_CLASS the
#    entry names, draws it, and settei.ini lands in the configuration folder;
#  - `apt-get purge` leaves no file of the package behind: what the package
#    installed is gone, and no new file with its name stays.
# The screen is saved as OUT/package_window.xwd. Downloaded archives are kept
# in OUT/apt-archives (apt checks them against the archive's index).
#
#   bash tests/e2e/package_apt.sh DEB OUT
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
entry=/usr/share/applications/zavo_launcher.desktop
user_id=4242
fail() {
  echo "package apt: $*" >&2
  for log in "$tmp"/*.log; do [[ -s $log ]] && { echo "--- $log" >&2; tail -20 "$log" >&2; }; done
  exit 1
}

# session SCRATCH OUT: the launcher from the menu entry on a private Xvfb;
# run in a network namespace of its own.
session() {
  tmp=$1 out=$2
  pids=()
  # The scratch folder is the caller's: only the processes end here.
  trap end_pids EXIT
  mkdir "$tmp/fb"
  start_xvfb "$tmp" 1024x768x24 -br -fbdir "$tmp/fb" || fail "Xvfb did not start"

  # The entry's Exec command, as the menu runs it: found on the PATH, started
  # in the home folder by a user with no XDG_CONFIG_HOME and no session bus.
  local exec_line command
  exec_line="$(sed -n 's/^Exec=//p' "$entry")"
  [[ $exec_line != *%* ]] || fail "Exec=$exec_line has field codes this check does not expand"
  read -ra command <<<"$exec_line"
  mkdir -m 0700 "$tmp/runtime" && chown "$user_id:$user_id" "$tmp/runtime"
  setpriv --reuid="$user_id" --regid="$user_id" --clear-groups \
    env -i HOME=/home/tester PATH=/usr/local/bin:/usr/bin:/bin DISPLAY="$DISPLAY" LANG=C.UTF-8 \
    XDG_RUNTIME_DIR="$tmp/runtime" DBUS_SESSION_BUS_ADDRESS="unix:path=$tmp/no-bus" \
    sh -c 'cd && exec "$@"' sh "${command[@]}" >"$tmp/launcher.log" 2>&1 &
  local launcher=$! window=""
  pids+=("$launcher")
  for _ in $(seq 600); do
    window="$(xdotool search --all --onlyvisible --pid "$launcher" --name '^ZAVO_launcher$' 2>/dev/null |
      head -1)" && [[ -n $window ]] && break
    kill -0 "$launcher" 2>/dev/null || fail "Exec=$exec_line ended without a window"
    sleep 0.05
  done
  [[ -n $window ]] || fail "Exec=$exec_line mapped no window"
  local wm_class entry_class
  wm_class="$(xprop -id "$window" WM_CLASS | sed -E 's/.*= "[^"]*", "([^"]*)"/\1/')"
  entry_class="$(sed -n 's/^StartupWMClass=//p' "$entry")"
  [[ $wm_class == "$entry_class" ]] || fail "WM_CLASS class '$wm_class' is not StartupWMClass '$entry_class'"

  local found config=/home/tester/.config/zavo_launcher
  found="$(cd /home/tester && find . -name settei.ini)"
  [[ $found == ./.config/zavo_launcher/settei.ini ]] ||
    fail "settei.ini is at '${found:-nowhere}' in the fresh home, not in .config/zavo_launcher"
  [[ $(stat -c '%a %u' "$config") == "700 $user_id" ]] || fail "$config is not private to the user"

  # The window has drawn once the screen (black, 32 bits a pixel, the XWD
  # file's last bytes) has more colours than the background and a blank window.
  local colours=0
  for _ in $(seq 100); do
    colours="$(tail -c $((1024 * 768 * 4)) "$tmp/fb/Xvfb_screen0" | od -An -v -tx4 -w4 | sort -u | wc -l)"
    ((colours >= 3)) && break
    sleep 0.1
  done
  ((colours >= 3)) || fail "the screen shows only $colours colours: nothing drawn"
  cp "$tmp/fb/Xvfb_screen0" "$out/package_window.xwd"
  echo "Exec=$exec_line: window $window mapped (WM_CLASS class $wm_class = StartupWMClass), drawn" \
    "($colours colours); settei.ini in the home's .config/zavo_launcher"
}
if [[ $1 == --session ]]; then
  session "$2" "$3"
  exit
fi

deb="$(realpath "$1")"
out="$(realpath "$2")"
use_scratch
archives="$out/apt-archives"
mkdir -p "$archives/partial"
apt_get() {
  # Without dpkg's fsync per file: the root is thrown away after the check.
  DEBIAN_FRONTEND=noninteractive apt-get -q -y -o APT::Sandbox::User=root \
    -o Dpkg::Options::=--force-unsafe-io \
    -o Dir::Cache::Archives="$archives/" -o APT::Install-Recommends=false "$@" >>"$tmp/apt.log" 2>&1 ||
    fail "apt-get $*"
}
# What is on the root besides the home folders and the package manager's own
# records, caches and logs.
snapshot() {
  find / -xdev \( -path /home -o -path /root -o -path /src -o -path /tmp -o -path /var/lib/apt -o -path /var/lib/dpkg \
    -o -path /var/cache -o -path /var/log \) -prune -o -print | sort
}

echo "package apt: $(. /etc/os-release && echo "$PRETTY_NAME"), sources: $(cat /etc/apt/sources.list)"
echo "tester:x:$user_id:$user_id::/home/tester:/bin/sh" >>/etc/passwd
echo "tester:x:$user_id:" >>/etc/group
mkdir -m 0755 /home/tester && chown "$user_id:$user_id" /home/tester
apt_get update
snapshot >"$tmp/before"
packages_before=$(dpkg-query -W | wc -l)

apt_get install "$deb"
version="$(dpkg-deb --field "$deb" Version)"
[[ $(dpkg-query -W -f '${Version}' zavo-launcher) == "$version" ]] || fail "zavo-launcher $version is not installed"
echo "apt-get install ./$(basename "$deb"): $(($(dpkg-query -W | wc -l) - packages_before)) packages" \
  "from the archive besides it"
dpkg-query -L zavo-launcher | grep -vx "/." | sort >"$tmp/package-paths"
# Every library of the program and of Qt's X platform plugin, from the
# Depends alone.
for binary in /usr/bin/ZAVO_launcher /usr/lib/*/qt6/plugins/platforms/libqxcb.so; do
  [[ -e $binary ]] || fail "$binary is not installed"
  if ldd "$binary" | grep 'not found'; then fail "$binary: libraries not found"; fi
done
echo "ldd: every library of ZAVO_launcher and the xcb platform plugin found"

apt_get install xvfb x11-utils xdotool
unshare --net bash "$0" --session "$tmp" "$out" || exit

apt_get purge zavo-launcher
snapshot >"$tmp/after"
# What the package put there (and was not there before) is gone, but for
# folders that another installed package still owns.
while read -r path; do
  [[ -e $path || -L $path ]] || continue
  [[ -d $path ]] && dpkg-query -S "$path" >/dev/null 2>&1 && continue
  echo "$path"
done < <(comm -13 "$tmp/before" "$tmp/package-paths") >"$tmp/left"
comm -13 "$tmp/before" "$tmp/after" | grep -i zavo >>"$tmp/left" || true
[[ ! -s $tmp/left ]] || fail "apt-get purge left: $(cat "$tmp/left")"
echo "apt-get purge: none of the package's $(wc -l <"$tmp/package-paths") paths left"
