# shellcheck shell=bash
# What the scripts, checks and benchmarks share: the checkout's root, the
# number of parallel jobs, installing missing packages, a scratch folder whose
# started processes end with the script, the private X session and clean
# Debian roots. Source it: `source "$(dirname "$0")/lib.sh"` (from scripts/).

zavo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
source "$zavo_root/scripts/x_session.sh"

# install_packages PKG...: installs those of PKG that are not installed yet,
# with sudo when not root. Nothing is fetched when all are there.
install_packages() {
  local missing=() p sudo=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    -o DPkg::Lock::Timeout=300 "${missing[@]}"
}

# use_scratch: makes the folder `tmp` and the array `pids`; on exit every PID
# in `pids` is ended, last first, and waited for, and `tmp` is removed.
use_scratch() {
  tmp="$(mktemp -d)"
  pids=()
  trap _end_scratch EXIT
  trap 'exit 130' INT TERM
}
_end_scratch() {
  end_pids
  rm -rf "$tmp"
}

# end_pids: ends every PID in `pids`, last first, and waits for them.
end_pids() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for i in "${pids[@]}"; do wait "$i" 2>/dev/null || true; done
}

# ---- clean Debian roots ---------------------------------------------------
# Made by mmdebstrap from the Debian archive, as sbuild and debci make theirs,
# and kept under the cache folder by release, variant and package list: the
# next run with the same list reuses the root. A run never writes the cached
# root: it works on an overlay (or, where the kernel has none, a copy).

root_cache="${ZAVO_ROOT_CACHE:-/var/cache/zavo-launcher/roots}"
debian_mirror="${ZAVO_DEBIAN_MIRROR:-http://deb.debian.org/debian}"

# debian_root RELEASE VARIANT [PKG...]: prints the path of a root of RELEASE
# (bookworm, trixie) made with mmdebstrap --variant=VARIANT and PKG included,
# making it first when the cache has none.
debian_root() {
  local release=$1 variant=$2
  shift 2
  install_packages mmdebstrap >&2 || return
  local key dir
  key="$(printf '%s\n' "$release" "$variant" "$@" | sha256sum | cut -c1-16)"
  dir="$root_cache/$release-$variant-$key"
  if [[ ! -e $dir/.complete ]]; then
    mkdir -p "$root_cache"
    local new="$dir.new.$$" include
    include="$(
      IFS=,
      echo "$*"
    )"
    echo "making a $release root ($variant) in $dir" >&2
    local start=$SECONDS
    # No fsync per unpacked file (dpkg's unsafe-io; eatmydata for the rest):
    # a root cut off half-made is thrown away anyway, and the syncs were most
    # of the time on a busy disk.
    local fast=(--dpkgopt=force-unsafe-io)
    [[ ! -d /usr/share/mmdebstrap/hooks/eatmydata ]] ||
      fast+=(--hook-dir=/usr/share/mmdebstrap/hooks/eatmydata)
    mmdebstrap --variant="$variant" ${include:+--include="$include"} \
      --aptopt='APT::Install-Recommends "false"' \
      --dpkgopt='path-exclude=/usr/share/man/*' "${fast[@]}" \
      "$release" "$new" "$debian_mirror" >&2 || {
      rm -rf "$new"
      return 1
    }
    touch "$new/.complete"
    # Another run may have made the same root meanwhile: keep the first.
    mv -T "$new" "$dir" 2>/dev/null || rm -rf "$new"
    echo "root made in $((SECONDS - start)) s, $(du -sh "$dir" | cut -f1)" >&2
  fi
  echo "$dir"
}

# in_debian_root ROOT SOURCE COMMAND...: runs COMMAND (a shell command line)
# as root inside a throwaway view of ROOT, in its own mount namespace, with
# /proc, /sys, /dev and a private /tmp; SOURCE (a folder, may be empty) is
# bound at /src, read-write, and COMMAND starts there (all of it, also when it
# begins with a job sent to the background). The root itself stays as it was
# made.
in_debian_root() {
  local base=$1 source=$2
  shift 2
  local work
  work="$(mktemp -d)"
  mkdir -p "$work/upper" "$work/work" "$work/view"
  unshare --mount --fork --pid --mount-proc=/proc bash -c '
    set -e
    base=$1 source=$2 work=$3
    shift 3
    mount --make-rprivate /
    if ! mount -t overlay overlay -o "lowerdir=$base,upperdir=$work/upper,workdir=$work/work" \
      "$work/view" 2>/dev/null; then
      cp -a "$base/." "$work/view/"
    fi
    view=$work/view
    # The view is a mount point of its own, so the tests that make private
    # mount namespaces inside it can.
    mount --rbind "$view" "$view"
    mount -t proc proc "$view/proc"
    mount --rbind /sys "$view/sys" && mount --make-rslave "$view/sys"
    mount --rbind /dev "$view/dev" && mount --make-rslave "$view/dev"
    mount -t tmpfs -o mode=1777 tmpfs "$view/tmp"
    cp /etc/resolv.conf "$view/etc/resolv.conf" 2>/dev/null || true
    mkdir -p "$view/src"
    [[ -z $source ]] || mount --bind "$source" "$view/src"
    exec chroot "$view" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
      LANG=C.UTF-8 TERM="${TERM:-dumb}" bash -c "cd /src || exit 1
$*"
  ' in_debian_root "$base" "$source" "$work" "$@"
  local status=$?
  rm -rf "$work"
  return $status
}

# private_x_session: in a use_scratch script, a private X display with openbox
# for this script alone: its own runtime folder, no Wayland or Qt platform
# carried over from the caller. Returns 1, with the servers' logs, when the
# display does not come up.
private_x_session() {
  mkdir -p -m 0700 "$tmp/runtime"
  export XDG_RUNTIME_DIR="$tmp/runtime"
  unset QT_QPA_PLATFORM QT_XCB_NO_MITSHM WAYLAND_DISPLAY SESSION_MANAGER
  start_x_session "$tmp" && return 0
  x_session_logs "$tmp" >&2
  echo "the private X display did not come up" >&2
  return 1
}
