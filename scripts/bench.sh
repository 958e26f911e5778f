#!/usr/bin/env bash
# Builds and runs every benchmark (bench/*.cpp) under Wine; each prints its own ratios.
# Every benchmark runs even when an earlier one misses its limit; the exit status tells
# whether all of them met theirs.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
BUILD_DIR="$build" "$root/scripts/build.sh"
export QF_WINEPREFIX="$build/wineprefix"
if [ -z "${QF_NO_X_RESOURCES:-}" ] && command -v xprop >/dev/null; then
  echo "display: Xvfb with one X resource loaded (scripts/with-display.sh)"
else
  echo "display: Xvfb without X resources"
fi
missed=()
for exe in "$build"/bench/bench_*.exe; do
  [ -e "$exe" ] || continue
  [ $# -gt 0 ] && [[ "$(basename "$exe")" != *"$1"* ]] && continue
  echo "== $(basename "$exe" .exe)"
  "$root/scripts/with-display.sh" "$root/scripts/wine-run.sh" "$exe" || missed+=("$(basename "$exe" .exe)")
done
if [ ${#missed[@]} -gt 0 ]; then
  echo "limits missed by: ${missed[*]}"
  exit 1
fi
