#!/bin/bash
# Starts a Windows program of the build under wine. Without a display it starts Xvfb, lets the
# program run for a while, saves screenshots of the screen and stops what it started.
# usage: run-under-wine.sh PROGRAM.exe SCREENSHOT_FOLDER
set -u
. "$(dirname "$0")/wine-env.sh"
program=$(realpath "$1")
shots=$(realpath -m "$2")
mkdir -p "$shots"

if [ -n "${DISPLAY:-}" ] && [ -z "${SOLVANE_RUN_SECONDS:-}" ]; then
    ensure_wine_prefix
    echo "Running $(basename "$program") on $DISPLAY; Ctrl+C ends it."
    exec wine "$program"
fi

start_display || exit 1
trap stop_display EXIT
ensure_wine_prefix
(cd "$(dirname "$program")" && exec wine "$program") &
pid=$!
sleep 1.2
import -window root "$shots/start.png"
sleep "${SOLVANE_RUN_SECONDS:-8}"
import -window root "$shots/running.png"
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
# A wallpaper picture of this instant, as the wallpaper generator draws it.
render="$(dirname "$program")/solvane-render.exe"
[ -x "$render" ] && wine "$render" --size 1280x1024 --viewpoint 0 --flags FDD --out "$(winepath -w "$shots/wallpaper.bmp")" >/dev/null 2>&1
echo "Screenshots: $shots/start.png $shots/running.png; wallpaper: $shots/wallpaper.bmp"
