#!/bin/bash
# Runs a command with a wine prefix ready and a display (Xvfb when there is none), then stops
# wine and the Xvfb it started.
. "$(dirname "$0")/wine-env.sh"
start_display || exit 1
trap stop_display EXIT
ensure_wine_prefix
"$@"
