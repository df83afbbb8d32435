#!/usr/bin/env bash
# Runs COMMAND with DISPLAY on a private Xvfb (no window manager) that ends
# with it, and returns its exit code: for Win32 tests under Wine that read
# back what their windows drew, which Wine's null driver does not keep.
#
#   with_x_display.sh COMMAND [ARGS...]
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
command -v Xvfb >/dev/null || {
  echo "with_x_display.sh: Xvfb is missing (package xvfb)" >&2
  exit 1
}
use_scratch
if ! start_xvfb "$tmp" 640x480x24; then
  echo "with_x_display.sh: Xvfb did not start" >&2
  cat "$tmp/xvfb.log" >&2
  exit 1
fi
"$@"
