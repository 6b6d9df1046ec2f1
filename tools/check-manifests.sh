#!/bin/bash
# Fails unless every program in the install folder $1 embeds the application manifest, well
# formed and saying what Windows 10/11 need: asInvoker, supportedOS, common controls 6 and
# Per-Monitor V2 DPI awareness.
set -u
bad=0
for program in solvane.exe svsaver.scr solvane-almanac.exe solvane-render.exe solvane-setclock.exe; do
    manifest=$(perl -0777 -ne 'print $1 if /(<\?xml.*?<\/assembly>)/s' "$1/$program")
    if [ -z "$manifest" ]; then
        echo "$program: no manifest" >&2
        bad=1
        continue
    fi
    if ! echo "$manifest" | xmllint --noout - 2>&1; then
        echo "$program: the manifest is not well formed" >&2
        bad=1
    fi
    for needed in 'level="asInvoker"' '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}' \
                  '{1f676c76-80e1-4239-95bb-83d0f6d0da78}' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' \
                  'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' 'PerMonitorV2, PerMonitor' 'true/pm'; do
        if ! grep -qF "$needed" <<<"$manifest"; then
            echo "$program: the manifest lacks $needed" >&2
            bad=1
        fi
    done
done
[ $bad = 0 ] && echo "manifests: every program embeds a well-formed one"
exit $bad
