#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a virtual display.
# Extra arguments go to ctest (for example: -R search). Tests labelled "long" run only
# when asked for with a label argument (for example: -L long).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
# The format check of the tests needs clang-format besides what the build needs.
"$root/scripts/setup.sh" clang-format
BUILD_DIR="$build" "$root/scripts/build.sh"
export QF_WINEPREFIX="$build/wineprefix"
"$root/scripts/with-display.sh" "$root/scripts/wine-prefix.sh" "$QF_WINEPREFIX"
cd "$build"
labels=(-LE long)
for argument in "$@"; do
  case "$argument" in
    -L|-LE|-L*|-LE*|--label-regex*|--label-exclude*) labels=() ;;
  esac
done
"$root/scripts/with-display.sh" ctest --output-on-failure ${labels[@]+"${labels[@]}"} "$@"
