#!/usr/bin/env bash
# Runs a command on a fresh virtual X display and stops the Wine server afterwards,
# so nothing is left holding the display.
#
# The display gets one X resource (read by nobody), as a desktop session has one: without
# any resource database Wine's X11 driver looks for ~/.Xdefaults again on every font selection
# (dozens of failed file opens per painted list row). QF_NO_X_RESOURCES=1 leaves the
# display without resources. -noreset keeps the resource when the setting client leaves.
set -uo pipefail
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash -c '
  if [ -z "${QF_NO_X_RESOURCES:-}" ] && command -v xprop >/dev/null; then
    xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "quillfix.display:	virtual
"
  fi
  "$@"; rc=$?
  if [ -n "${QF_WINEPREFIX:-}" ]; then WINEPREFIX="$QF_WINEPREFIX" wineserver -k 2>/dev/null; fi
  exit $rc' bash "$@"
