#!/usr/bin/env bash
# Runs a command on a fresh virtual X display and stops the Wine server afterwards,
# so nothing is left holding the display.
set -uo pipefail
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$@"; rc=$?
  if [ -n "${QF_WINEPREFIX:-}" ]; then WINEPREFIX="$QF_WINEPREFIX" wineserver -k 2>/dev/null; fi
  exit $rc' bash "$@"
