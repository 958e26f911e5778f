#!/usr/bin/env bash
# Builds Quillfix, opens its window under Wine on a virtual display and saves what the
# display shows as PNG files: the whole screen and the window alone.
# Usage: scripts/screenshot.sh [screen.png]   (default: <build>/quillfix-screen.png;
# the window alone goes beside it as <name>-window.png)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
screen="${1:-$build/quillfix-screen.png}"
case "$screen" in /*) ;; *) screen="$(pwd)/$screen" ;; esac
window="${screen%.png}-window.png"

"$root/scripts/setup.sh" imagemagick x11-apps x11-utils
BUILD_DIR="$build" "$root/scripts/build.sh" --target quillfix
export QF_WINEPREFIX="$build/wineprefix"
"$root/scripts/wine-prefix.sh" "$QF_WINEPREFIX"
rm -f "$screen" "$window"

"$root/scripts/with-display.sh" bash -c '
  set -u
  wine_run="$1"; exe="$2"; screen="$3"; window="$4"
  title="Quillfix 1.0 RC 2"
  "$wine_run" "$exe" &
  pid=$!
  id=""
  for _ in $(seq 1 120); do
    id="$(xwininfo -root -tree 2>/dev/null | awk -v t="\"$title\":" "index(\$0, t) { print \$1; exit }")"
    [ -n "$id" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
  done
  if [ -z "$id" ]; then
    echo "The Quillfix window did not appear." >&2
    exit 1
  fi
  sleep 2
  import -window root "$screen"
  import -window "$id" "$window"
' bash "$root/scripts/wine-run.sh" "$build/app/quillfix.exe" "$screen" "$window"

echo "$screen"
echo "$window"
