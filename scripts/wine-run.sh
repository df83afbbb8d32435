#!/usr/bin/env bash
# Runs a Windows program of a cross build under Wine and returns its exit
# code; CTest's emulator for build-win/. Wine keeps everything in the build
# tree: a private prefix (made once, ~11 s) and a private ja_JP.UTF-8 locale,
# so the programs see code page 932 and Japanese formats whatever the host
# has generated. The prefix maps "ＭＳ Ｐ明朝" to Noto Serif CJK JP, as the
# Linux program does, and "ＭＳ ゴシック" to Ume Gothic, which keeps the
# underscore of "M_Player" at every DPI the tests use (docs/windows-fonts.md).
#
#   wine-run.sh PROGRAM.exe [ARGS...]   run it (the build tree is the nearest
#                                       folder above it with a CMakeCache.txt)
#   wine-run.sh --prepare BUILD_DIR     make the prefix and the locale
#   wine-run.sh --stop BUILD_DIR        stop that prefix's wine server
set -euo pipefail

die() {
  echo "wine-run.sh: $*" >&2
  exit 125
}

setup_env() {
  local build="$1"
  export WINEPREFIX="$build/wine-prefix"
  export WINEDEBUG=-all
  # No .NET or browser add-on downloads: the prefix is made offline.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  locale_dir="$build/wine-locale"
  # Only for Wine: this shell itself cannot load a locale from LOCPATH.
  wine_env=(env LOCPATH="$locale_dir" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 LANGUAGE=)
}

# Under a lock, as CTest may start several programs at once. The lock's
# descriptor is closed for Wine itself: a wine server left running would
# otherwise hold it.
prepare() {
  local build="$1"
  (
    flock 9
    if [[ ! -f $locale_dir/ja_JP.UTF-8/LC_CTYPE ]]; then
      mkdir -p "$locale_dir"
      localedef -i ja_JP -f UTF-8 "$locale_dir/ja_JP.UTF-8" 9>&- ||
        [[ -f $locale_dir/ja_JP.UTF-8/LC_CTYPE ]] || die "localedef failed (package locales)"
    fi
    if [[ ! -f $WINEPREFIX/.zavo-ready ]]; then
      rm -rf "$WINEPREFIX"
      "${wine_env[@]}" wineboot -i >/dev/null 2>&1 9>&- || die "wineboot -i failed in $WINEPREFIX"
      # Windows without an X display (CI has none) go to the null driver.
      "${wine_env[@]}" wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11,null /f \
        >/dev/null 2>&1 9>&- || die "cannot set the graphics driver in $WINEPREFIX"
      touch "$WINEPREFIX/.zavo-ready"
    fi
    # The program's Japanese Windows fonts drawn from chosen fonts, not from
    # whatever Wine would pick (a Gothic stands in for the Mincho clock font
    # otherwise, and IPAGothic loses the underscore at 12, 18 and 20 px). The
    # marker holds the mapping, so a prefix made with another one is mapped
    # anew.
    local fonts="ＭＳ Ｐ明朝=Noto Serif CJK JP
ＭＳ ゴシック=Ume Gothic"
    if [[ $(cat "$WINEPREFIX/.zavo-fonts" 2>/dev/null) != "$fonts" ]]; then
      local name font
      while IFS='=' read -r name font; do
        "${wine_env[@]}" wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" \
          /d "$font" /f >/dev/null 2>&1 9>&- || die "cannot map the font $name in $WINEPREFIX"
      done <<<"$fonts"
      printf '%s' "$fonts" >"$WINEPREFIX/.zavo-fonts"
    fi
  ) 9>"$build/wine-prefix.lock"
}

build_dir_of() {
  local dir
  dir="$(cd "$(dirname "$1")" && pwd)"
  while [[ $dir != / && ! -f $dir/CMakeCache.txt ]]; do
    dir="$(dirname "$dir")"
  done
  [[ -f $dir/CMakeCache.txt ]] || die "no build tree above $1"
  echo "$dir"
}

(($# >= 1)) || die "usage: wine-run.sh PROGRAM.exe [ARGS...] | --prepare DIR | --stop DIR"
case "$1" in
--prepare | --stop)
  (($# == 2)) || die "$1 needs the build folder"
  build="$(cd "$2" && pwd)"
  setup_env "$build"
  if [[ $1 == --prepare ]]; then
    prepare "$build"
    # One server, and with it Wine's own services, for the whole test run:
    # starting them takes seconds, which each program would pay again after
    # a pause. It ends by --stop, or 60 s after the last program. The services
    # are started here, with no output: started by a test program they would
    # inherit its output and keep CTest waiting for them until the server ends.
    # (A console program makes no desktop: the first window still picks the
    # X11 or the null driver by its own DISPLAY.)
    wineserver -k 2>/dev/null || true
    wineserver -p60 >/dev/null 2>&1 || die "wineserver does not start"
    "${wine_env[@]}" wine cmd /c exit 0 </dev/null >/dev/null 2>&1 ||
      die "Wine does not run in $WINEPREFIX"
  elif [[ -d $WINEPREFIX ]]; then
    wineserver -k 2>/dev/null || true
  fi
  ;;
*)
  build="$(build_dir_of "$1")"
  setup_env "$build"
  prepare "$build"
  exec "${wine_env[@]}" wine "$@"
  ;;
esac
