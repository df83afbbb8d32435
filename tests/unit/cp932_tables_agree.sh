#!/usr/bin/env bash
# The Windows codec (under Wine) must give the glibc codec's table, line for
# line: cp932_tables_agree.sh HOST_TOOL WINDOWS_TOOL EMULATOR OUT_DIR
set -euo pipefail
host="$1" windows="$2" emulator="$3" out="$4"
"$host" "$out/cp932_linux.txt"
"$emulator" "$windows" "$out/cp932_windows.txt"
if ! cmp -s "$out/cp932_linux.txt" "$out/cp932_windows.txt"; then
  echo "code page 932 tables differ (- Linux, + Windows):"
  diff "$out/cp932_linux.txt" "$out/cp932_windows.txt" | head -n 60 || true
  echo "$(diff "$out/cp932_linux.txt" "$out/cp932_windows.txt" | grep -c '^[<>]') differing lines"
  exit 1
fi
echo "$(wc -l <"$out/cp932_linux.txt") lines agree"
