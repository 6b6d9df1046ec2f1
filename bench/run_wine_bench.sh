#!/bin/bash
# The renderer's and the desktop program's benchmarks under wine, and xplanet drawing the same
# kind of wallpaper on the same machine, in one run.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/wine-env.sh"
start_display || exit 1
trap stop_display EXIT
ensure_wine_prefix
work=$(mktemp -d)
cp "$root/build/dist/SVShared.dll" "$root/build/dist/cheby" "$root/build/dist/solvane.exe" "$root/build/dist/WorldPlaces.bin" \
   "$root/build/dist/solvane-almanac.exe" "$root/build/win/render_bench.exe" \
   "$root/build/win/desktop_bench.exe" "$root/build/win/timesync_bench.exe" "$root/build/dist/svsaver.scr" "$work/"
# A portable copy: the benchmark's options stay beside the programs.
touch "$work/portable"
(cd "$work" && wine render_bench.exe) | tee "$work/ours.txt"
(cd "$work" && wine render_bench.exe huge)
# NTP against chrony on a port of its own, stopped after.
. "$root/tools/loopback-servers.sh"
mkdir "$work/chrony"
if start_chrony 11123 "$work/chrony"; then
    (cd "$work" && SOLVANE_CHRONY_PORT=11123 wine timesync_bench.exe)
    kill "$(cat "$work/chrony/chronyd.pid")"
else
    (cd "$work" && wine timesync_bench.exe)
fi
# CPU of a process (all its threads, OpenGL's included), from each thread's time on a
# processor (in nanoseconds) read every second: the mean over the measured time, and the median
# second, which a rare second's stall of this virtual machine, or a dear moment of wine's, does
# not move. A thread counts from the first read that finds it; one that ends loses at most its
# last second.
process_cpu() {  # pid seconds
    local pid=$1 i reads=$(mktemp -d)
    threads() { for t in /proc/"$pid"/task/*; do echo "${t##*/} $(cut -d' ' -f1 "$t/schedstat" 2>/dev/null)"; done; }
    threads > "$reads/0"; date +%s.%N > "$reads/start"
    for i in $(seq "$2"); do
        sleep 1
        threads > "$reads/$i"
    done
    date +%s.%N > "$reads/end"
    if [ ! -d "/proc/$pid" ]; then echo "the process ended while measured"; rm -rf "$reads"; return; fi
    for i in $(seq "$2"); do
        awk 'FNR == NR {before[$1] = $2; next} $2 != "" {gain += $2 - ($1 in before ? before[$1] : $2)} END {printf "%.0f\n", gain}' \
            "$reads/$((i - 1))" "$reads/$i"
    done | sort -n | awk -v elapsed="$(echo "$(cat "$reads/end") - $(cat "$reads/start")" | bc -l)" '
        {ns[NR] = $1; total += $1}
        END {printf "CPU %.3f %% of one core over %.0f s (median second %.3f %%)\n",
                    total / elapsed / 1e7, elapsed, ns[int((NR + 1) / 2)] / 1e7}'
    rm -rf "$reads"
}
# The solvane.exe process of this run, with a desktop_bench command run first; a helper that
# failed leaves the figure unmeasured rather than measuring something else.
cpu_of() {  # viewpoint seconds description [desktop_bench command run first]
    if ! (cd "$work" && wine desktop_bench.exe options "$1" && wine desktop_bench.exe first-frame); then
        printf '%s: not measured (no globe shown)\n' "$3"
        cleanup_solvane
        return
    fi
    case "${4:-}" in
    "") ;;
    cover*) (cd "$work" && wine desktop_bench.exe $4 &) ;;  # the cover stays while measured
    *) if ! (cd "$work" && wine desktop_bench.exe "$4"); then
           printf '%s: not measured (%s failed)\n' "$3" "$4"
           cleanup_solvane
           return
       fi ;;
    esac
    sleep 3
    local pid
    pid=$(this_solvane)
    [ -z "$pid" ] && { echo "$3: not measured (solvane.exe is not running)"; return; }
    printf '%s: %s\n' "$3" "$(process_cpu "$pid" "$2")"
    cleanup_solvane
}
this_solvane() { pgrep -f "$(basename "$work").solvane\.exe" | head -n 1; }  # this run's, not another tree's
cleanup_solvane() {
    local pid
    pid=$(this_solvane)
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    wineserver -w 2>/dev/null
}
cpu_of 2 60 "default window, one frame a second (target <= 0.25 %)"
cpu_of 7 20 "spinning globe (target <= 10 %)"
cpu_of 2 30 "default window with the Lunar Phases window open (target <= 2 %)" lunar-open
cpu_of 2 30 "default window after the Lunar Phases window was open and closed (back to idle)" lunar-open-close
cpu_of 2 60 "default window with the World Clock window open, 12 places (target <= 0.3 % above the default window)" world-open
cpu_of 7 20 "spinning globe, window minimised (target <= 0.05 %)" minimise
cpu_of 7 20 "spinning globe, window covered by another (target <= 0.05 %)" "cover 30"
cpu_of 7 20 "spinning globe, session locked (target <= 0.05 %)" lock
# The screen saver full screen: CPU over 30 s at one frame a second and with the spinning
# globe. It finds the clock (and user.bin with the viewpoint) through AppPath, and is told that
# folder is trusted, as an installed one is, so that it draws with the maps.
saver_cpu() {  # viewpoint description
    (cd "$work" && wine desktop_bench.exe options "$1")
    wine reg add 'HKLM\Software\Kelbrook\Solvane\Registration' /v AppPath /d "$(winepath -w "$work/solvane.exe")" /f >/dev/null 2>&1
    if ! (cd "$work" && wine desktop_bench.exe saver); then
        echo "screen saver, $2: not measured (svsaver.scr did not start)"
        return
    fi
    sleep 8
    local pid
    pid=$(pgrep -f "$(basename "$work").svsaver\.scr" | head -n 1)
    [ -z "$pid" ] && { echo "screen saver, $2: not measured (svsaver.scr is not running)"; return; }
    printf 'screen saver, %s: %s\n' "$2" "$(process_cpu "$pid" 30)"
    kill "$pid" 2>/dev/null
    wineserver -w 2>/dev/null
}
saver_cpu 2 "one frame a second (target <= 1 %)"
saver_cpu 7 "spinning globe, a frame every 25 ms (target <= 35 %)"
# The idle clock's working set: the generator off, on with pictures of the screen's size, and on
# with a picture drawn whole on the largest surface (4096 x 4096, 64 MB). With
# SOLVANE_BENCH_BASELINE naming another build's solvane.exe, its figures follow this build's.
working_sets() {  # folder label
    local w
    for w in off screen 4096x4096; do
        (cd "$1" && wine desktop_bench.exe options 2 "$w" && wine desktop_bench.exe working-set "$2, generator $w")
        wineserver -w 2>/dev/null
    done
}
working_sets "$work" "this build"
if [ -n "${SOLVANE_BENCH_BASELINE:-}" ]; then
    mkdir "$work/baseline"
    cp "$work/SVShared.dll" "$work/cheby" "$work/desktop_bench.exe" "$work/solvane-almanac.exe" "$work/portable" \
       "$work/baseline/"
    cp "$SOLVANE_BENCH_BASELINE" "$work/baseline/solvane.exe"
    working_sets "$work/baseline" "baseline"
fi
# From the Sun: the globe it waits for is lit at any hour.
(cd "$work" && wine desktop_bench.exe options 0 && wine desktop_bench.exe exit)
wineserver -w 2>/dev/null
first=$(sed -n 's/^wallpaper 1920x1080 end to end, first picture[^:]*: \([0-9.]*\) ms.*/\1/p' "$work/ours.txt")
renewal=$(sed -n 's/^wallpaper 1920x1080 end to end, each renewal[^:]*: \([0-9.]*\) ms.*/\1/p' "$work/ours.txt")
threes=$(sed -n 's/^wallpaper for three monitors[^:]*: \([0-9.]*\) ms.*/\1/p' "$work/ours.txt")

# xplanet now and then crashes here: up to three tries, the time of one that drew and ended
# well (a crash may leave a picture behind, but its time is not a whole run's).
drew=no
for try in 1 2 3; do
    rm -f "$work/xplanet.bmp"
    start=$(date +%s.%N)
    if xplanet -num_times 1 -output "$work/xplanet.bmp" -geometry 1920x1080 -projection orthographic >/dev/null 2>&1 &&
        [ -s "$work/xplanet.bmp" ]; then
        end=$(date +%s.%N)
        drew=yes
        break
    fi
    echo "xplanet failed (try $try)"
done
[ $drew = yes ] || { echo "xplanet drew no picture: speed-ups not measured"; rm -rf "$work"; exit 1; }
theirs=$(echo "($end - $start) * 1000" | bc -l)
printf 'xplanet 1920x1080 orthographic, one image: %.1f ms\n' "$theirs"
[ -n "$renewal" ] && printf 'wallpaper speed-up over xplanet, each renewal: %.1fx (target >= 3)\n' "$(echo "$theirs / $renewal" | bc -l)"
# xplanet for the three monitors' pixels: its 1920x1080 time scaled by their pixel count.
[ -n "$threes" ] && printf 'wallpaper speed-up over xplanet, three monitors per renewal: %.1fx (target >= 3)\n' \
    "$(echo "$theirs * (1920*1080 + 2560*1440 + 1280*1024) / (1920*1080) / $threes" | bc -l)"
[ -n "$first" ] && printf 'wallpaper speed-up over xplanet, first picture after start: %.1fx\n' "$(echo "$theirs / $first" | bc -l)"
rm -rf "$work"
