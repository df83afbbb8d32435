#!/usr/bin/env bash
# Reads a built Windows program the way Windows' loader will: every DLL it
# imports must be a KnownDLL (loaded from the system folder whatever lies
# beside the program), and no function Windows 7 lacks; ASLR (high-entropy),
# DEP; at most 1 MB; the manifest asks for per-monitor DPI awareness and the
# invoker's rights; icon, picture, version record and manifest are Japanese
# (0x0411) and nothing else. Given the source folder, also the release archive
# beside the program, as its read-me describes it (the version, the oldest
# Windows, the field widths, the licence), and the .exe's size in README.md.
#
#   check_exe.sh [--imports-only] PROGRAM.exe [SOURCE_DIR]
# Prints each fault on a line of its own; exit 1 on any, 77 without the tools.
set -uo pipefail

imports_only=false
if [[ ${1:-} == --imports-only ]]; then
  imports_only=true
  shift
fi
exe="${1:?usage: check_exe.sh [--imports-only] PROGRAM.exe [SOURCE_DIR]}"
source_dir="${2:-}"
objdump=x86_64-w64-mingw32-objdump
for tool in "$objdump" wrestool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
[[ -f $exe ]] || { echo "skipped: $exe is missing (bash scripts/build-windows.sh)"; exit 77; }

faults=0
fault() {
  echo "$*"
  faults=$((faults + 1))
}

# The KnownDLLs of every Windows from 7 to 11 (HKLM\SYSTEM\CurrentControlSet\
# Control\Session Manager\KnownDLLs), and ntdll, which is always the system's.
known=(advapi32 comdlg32 gdi32 imagehlp imm32 kernel32 msctf msvcrt normaliz nsi ntdll ole32
  oleaut32 psapi rpcrt4 sechost setupapi shell32 shlwapi user32 wldap32 ws2_32)
headers="$("$objdump" -p "$exe")" || { echo "cannot read $exe"; exit 1; }
dlls="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")"
[[ -n $dlls ]] || fault "no import table read from $exe"
while read -r dll; do
  [[ -z $dll ]] && continue
  base="$(tr '[:upper:]' '[:lower:]' <<<"${dll%.[dD][lL][lL]}")"
  [[ " ${known[*]} " == *" $base "* ]] || fault "not a KnownDLL: $dll"
done <<<"$dlls"
$imports_only && exit $((faults > 0))

# Windows 7 (6.1) starts no program that asks for a later subsystem or imports
# a function it lacks: those below came with Windows 8 or 10, or with Windows
# 7's update KB2533623 (the DLL directories); the program looks them up at run
# time where it uses them.
subsystem="$(awk '/^MajorSubsystemVersion/ {a = $2} /^MinorSubsystemVersion/ {b = $2}
  END {print a * 100 + b}' <<<"$headers")"
((subsystem <= 601)) || fault "subsystem version $subsystem is above Windows 7's 601"
after7=(AddDllDirectory RemoveDllDirectory SetDefaultDllDirectories
  GetSystemTimePreciseAsFileTime CreateFile2 CopyFile2 WaitOnAddress WakeByAddressAll
  WakeByAddressSingle GetCurrentThreadStackLimits SetThreadDescription GetThreadDescription
  GetDpiForWindow GetDpiForSystem GetSystemMetricsForDpi AdjustWindowRectExForDpi
  SystemParametersInfoForDpi SetProcessDpiAwarenessContext SetThreadDpiAwarenessContext
  EnableNonClientDpiScaling GetDpiForMonitor SetProcessDpiAwareness)
functions="$(awk '/^[A-Z]/ {on = 0} /DLL Name:/ {on = 1; next}
  on && NF == 3 && $1 ~ /^[0-9a-f]+$/ {print $3}' <<<"$headers")"
for f in "${after7[@]}"; do
  grep -qx "$f" <<<"$functions" && fault "imports $f, which Windows 7 lacks"
done

for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
  grep -qw "$flag" <<<"$headers" || fault "DllCharacteristics without $flag"
done
size="$(stat -c %s "$exe")"
((size <= 1048576)) || fault "larger than 1 MB: $size bytes"

# Resource languages: type 3 icon, 14 icon group, 10 picture, 16 version, 24
# manifest.
resources="$(wrestool -l "$exe")"
for type in 3 14 10 16 24; do
  grep -q -- "--type=$type .*--language=1041" <<<"$resources" ||
    fault "no resource of type $type in Japanese (1041)"
done
while read -r line; do
  [[ $line == *--language=1041* ]] || fault "resource not in Japanese: $line"
done <<<"$resources"

manifest="$(wrestool -x --raw -t 24 "$exe" 2>/dev/null | tr -s '[:space:]' ' ')"
for wanted in \
  '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, PerMonitor</dpiAwareness>' \
  '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>' \
  '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>' \
  '<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>' \
  '<supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>' \
  '<supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>' \
  '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>'; do
  [[ $manifest == *"$wanted"* ]] || fault "manifest without $wanted"
done
# The classic controls: no dependency on the themed Common Controls 6.
[[ $manifest != *Microsoft.Windows.Common-Controls* ]] ||
  fault "manifest asks for the themed common controls"

# The release archive beside the program: named after the version record's
# numbers (VS_FIXEDFILEINFO, after its signature FEEF04BD), holding this
# program, the read-me and the licence as LICENSE says it, with CRLF line ends.
if [[ -n $source_dir ]]; then
  command -v unzip >/dev/null || { echo "skipped: unzip is not installed"; exit 77; }
  fixed="$(wrestool -x --raw -t 16 "$exe" | od -An -v -tx1 | tr -d ' \n')"
  fixed="${fixed#*bd04effe}"
  dword() {
    local w="${fixed:$1*8:8}"
    echo $((16#${w:6:2}${w:4:2}${w:2:2}${w:0:2}))
  }
  ms="$(dword 1)" ls="$(dword 2)"
  version="$((ms >> 16)).$((ms & 0xffff)).$((ls >> 16)).$((ls & 0xffff))"
  zip="$(dirname "$exe")/ZAVO_launcher-$version-win64.zip"
  if [[ ! -f $zip ]]; then
    fault "no release archive named after the version record's $version: $zip"
  else
    [[ $(unzip -Z1 "$zip" | sort | tr '\n' ' ') == "LICENSE.txt README_ja.txt ZAVO_launcher.exe " ]] ||
      fault "$zip holds $(unzip -Z1 "$zip" | tr '\n' ' ')"
    unzip -p "$zip" ZAVO_launcher.exe | cmp -s - "$exe" || fault "$zip holds another ZAVO_launcher.exe"
    unzip -p "$zip" LICENSE.txt | tr -d '\r' | cmp -s - "$source_dir/LICENSE" ||
      fault "LICENSE.txt in $zip is not LICENSE"
    for text in README_ja.txt LICENSE.txt; do
      unzip -p "$zip" "$text" | grep -q $'[^\r]$' && fault "$text has lines without CRLF"
    done
    readme="$(unzip -p "$zip" README_ja.txt | tr -d '\r')"
    [[ $readme == $'\xef\xbb\xbf'* ]] || fault "README_ja.txt has no byte-order mark"
    # What the read-me says that a test can see: the version (the first line
    # and the paragraph on it), Windows 7 as the oldest (the imports above),
    # the byte widths of settei.ini's fields.
    dir_bytes="$(sed -n 's/.*kDirPathWidth = \([0-9]*\);.*/\1/p' "$source_dir/src/core/slot_record.h")"
    exe_bytes="$(sed -n 's/.*kExeNameWidth = \([0-9]*\);.*/\1/p' "$source_dir/src/core/slot_record.h")"
    for claim in "ZAVO_launcher $version (Windows 64 ビット版)" "この版は $version です" \
      "ファイル バージョン $version、" "Windows 7、8、8.1、10、11 の 64 ビット版で動きます。" \
      "フォルダーのパスは $dir_bytes バイトまで" "ファイル名は $exe_bytes バイトまで"; do
      [[ $readme == *"$claim"* ]] || fault "README_ja.txt does not say: $claim"
    done
  fi
  # README.md's figure for the .exe, one per release's MinGW-w64, holds this
  # build's.
  grouped="$(sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<<"$size")"
  figure="$(( (size + 500) / 1000 )) KB ($grouped bytes)"
  grep "^\*\*The .exe\*\* (MinSizeRel, stripped) is " "$source_dir/README.md" | grep -qF "$figure" ||
    fault "README.md's line '**The .exe** (MinSizeRel, stripped) is …' does not hold this build's size: $figure"
fi

((faults == 0)) && echo "ok: $exe ($size bytes; imports: $(tr '\n' ' ' <<<"$dlls"))"
exit $((faults > 0))
