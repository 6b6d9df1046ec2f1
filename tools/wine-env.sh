# Sourced by the wine helpers: a private wine prefix inside the build folder, quiet wine.
SOLVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$SOLVANE_ROOT/build/wineprefix}"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEARCH=win64
XVFB_SIZE=1280x1024

# Creates the prefix once (about ten seconds). On an Xvfb of our own, which has no window
# manager, programs run on a wine desktop of the screen's size (with its taskbar and
# notification area, as on Windows): on a bare X display wine waits two seconds for a window
# manager each time a top-level window is hidden or destroyed. Call after start_display.
ensure_wine_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wine wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
    local on_desktop=no
    grep -q '^"Desktop"="Default"' "$WINEPREFIX/user.reg" && on_desktop=yes
    if [ -n "${XVFB_PID:-}" ] && [ $on_desktop = no ]; then
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$XVFB_SIZE" /f >/dev/null 2>&1
        wineserver -w
    elif [ -z "${XVFB_PID:-}" ] && [ $on_desktop = yes ]; then
        wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
        wineserver -w
    fi
}

# Starts Xvfb on a free display when there is no display; XVFB_PID is set when it did.
start_display() {
    export XVFB_PID=""
    [ -n "${DISPLAY:-}" ] && return 0
    local n
    for n in $(seq 91 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "${XVFB_SIZE}x24" -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && return 0
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null
    done
    echo "could not start Xvfb" >&2
    return 1
}

stop_display() {
    wineserver -k 2>/dev/null
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
}
