#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's private prefix, creating the prefix
# on first use. The prefix lives in $QF_WINEPREFIX, else <build>/wineprefix next to the
# program's build tree (found from the program's path), else ./wineprefix.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [ -z "${QF_WINEPREFIX:-}" ]; then
  dir="$(cd "$(dirname "$1")" 2>/dev/null && pwd || pwd)"
  while [ "$dir" != "/" ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir="$(dirname "$dir")"; done
  [ -f "$dir/CMakeCache.txt" ] || dir="$(pwd)"
  QF_WINEPREFIX="$dir/wineprefix"
fi
"$here/wine-prefix.sh" "$QF_WINEPREFIX"
export WINEPREFIX="$QF_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
