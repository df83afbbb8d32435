#!/usr/bin/env bash
# Reads a built Windows program the way Windows' loader will: every DLL it
# imports must be a KnownDLL (loaded from the system folder whatever lies
# beside the program); ASLR (high-entropy), DEP; at most 1 MB; the manifest
# asks for per-monitor DPI awareness and the invoker's rights; icon, picture,
# version record and manifest are Japanese (0x0411) and nothing else.
#
#   check_exe.sh [--imports-only] PROGRAM.exe
# Prints each fault on a line of its own; exit 1 on any, 77 without the tools.
set -uo pipefail

imports_only=false
if [[ ${1:-} == --imports-only ]]; then
  imports_only=true
  shift
fi
exe="${1:?usage: check_exe.sh [--imports-only] PROGRAM.exe}"
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

((faults == 0)) && echo "ok: $exe ($size bytes; imports: $(tr '\n' ' ' <<<"$dlls"))"
exit $((faults > 0))
