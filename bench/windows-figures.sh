#!/usr/bin/env bash
# vortana.exe's figures, for bench/report: its size stripped, as the release zip holds it, and its
# start-up under Wine on a virtual X display, from the start to its main window shown (the median
# of five starts, after one that fills Wine's and the system's caches). Prints
# "figure windows_exe_mb N" and "figure windows_start_s N". A time under Wine is no Windows
# figure: it tells a change in the program's own start-up, not what a PC takes.
#   bench/windows-figures.sh    (from the checkout, with build-win/vortana.exe built)
set -euo pipefail
if [ -z "${VORTANA_ON_XVFB:-}" ]; then
    VORTANA_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0"
fi
source tools/window-driver.sh

work=$(mktemp -d)
export WINEPREFIX=$PWD/build-win/wineprefix WINEDEBUG=-all
cleanup() {
    /usr/lib/wine/wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

x86_64-w64-mingw32-strip -o "$work/vortana.exe" build-win/vortana.exe
cp sim/demo/MCUtype.txt "$work/"
awk -v bytes="$(stat -c %s "$work/vortana.exe")" 'BEGIN { printf "figure windows_exe_mb %.1f\n", bytes / 1e6 }'

[ -f "$WINEPREFIX/system.reg" ] || /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
/usr/lib/wine/wineserver -k 2>/dev/null || true  # one started without this display
/usr/lib/wine/wine64 wineboot >/dev/null 2>&1

times=()
for run in 0 1 2 3 4 5; do
    started=$(date +%s.%N)
    (cd "$work" && exec /usr/lib/wine/wine64 vortana.exe) &
    program=$!
    vortana_window "$vortana_main_caption" 60 >/dev/null
    shown=$(date +%s.%N)
    kill "$program"
    wait "$program" 2>/dev/null || true
    [ $run -gt 0 ] && times+=("$(awk -v a="$started" -v b="$shown" 'BEGIN { print b - a }')")
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "figure windows_start_s %.2f\n", t[int((NR + 1) / 2)] }'
