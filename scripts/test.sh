#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a virtual display.
# Extra arguments go to ctest (for example: -R search).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
BUILD_DIR="$build" "$root/scripts/build.sh"
export QF_WINEPREFIX="$build/wineprefix"
"$root/scripts/with-display.sh" "$root/scripts/wine-prefix.sh" "$QF_WINEPREFIX"
cd "$build"
"$root/scripts/with-display.sh" ctest --output-on-failure "$@"
