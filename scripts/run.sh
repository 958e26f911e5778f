#!/usr/bin/env bash
# Builds Quillfix and opens its window under Wine (on the current display, or on a
# virtual one when there is none).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
BUILD_DIR="$build" "$root/scripts/build.sh" --target quillfix
export QF_WINEPREFIX="$build/wineprefix"
if [ -n "${DISPLAY:-}" ]; then
  exec "$root/scripts/wine-run.sh" "$build/app/quillfix.exe"
fi
echo "No DISPLAY: running on a virtual display (scripts/screenshot.sh shows the window)."
exec "$root/scripts/with-display.sh" "$root/scripts/wine-run.sh" "$build/app/quillfix.exe"
