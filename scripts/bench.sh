#!/usr/bin/env bash
# Builds and runs every benchmark (bench/*.cpp) under Wine; each prints its own ratios.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
BUILD_DIR="$build" "$root/scripts/build.sh"
export QF_WINEPREFIX="$build/wineprefix"
for exe in "$build"/bench/bench_*.exe; do
  [ -e "$exe" ] || continue
  [ $# -gt 0 ] && [[ "$(basename "$exe")" != *"$1"* ]] && continue
  echo "== $(basename "$exe" .exe)"
  "$root/scripts/with-display.sh" "$root/scripts/wine-run.sh" "$exe"
done
