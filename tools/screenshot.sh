#!/usr/bin/env bash
# Takes a screenshot of the main window on a virtual X display (Xvfb, no window manager, so the
# picture is the client area alone):
#   ./tools/screenshot.sh [picture.png]                   as the program starts
#   ./tools/screenshot.sh --after-download [picture.png]  after a download to the simulator
#   ./tools/screenshot.sh --windows [picture.png]         the same with vortana.exe under Wine
# The default picture is build/main-window.png (build-win/main-window.png for --windows). The
# first runs the program from build/, so it reads build/sysset.ini. The others run it as the demo
# does (./run): beside the sample catalogue and S-record file, the simulator on a pseudo-terminal
# (under Wine: COM7, a link in build-win/wineprefix/dosdevices); xdotool then clicks the settings
# button, picks the model VT8B-W16 in the model list, loads demo.s19, closes the boxes and the
# picture is taken once the device has accepted the download. --windows needs
# build-win/vortana.exe, which ./test --windows builds.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/ensure-deps.sh
vortana_packages=(xvfb xauth imagemagick x11-utils xdotool)  # Xvfb, import, xwininfo, clicks
vortana_ensure_deps

mode=start
case "${1:-}" in
    --after-download | --windows)
        mode=${1#--}
        shift
        ;;
esac
default_picture=build/main-window.png
[ "$mode" = windows ] && default_picture=build-win/main-window.png
picture=$(realpath -m "${1:-$default_picture}")
if [ -z "${VORTANA_ON_XVFB:-}" ]; then
    if [ "$mode" = windows ]; then
        [ -f build-win/vortana.exe ] || {
            echo "build-win/vortana.exe is missing: ./test --windows builds it" >&2
            exit 1
        }
        cmake --build build --target vortana-sim >/dev/null
    else
        cmake --build build --target vortana vortana-sim >/dev/null
    fi
    args=("$picture")
    [ "$mode" = start ] || args=("--$mode" "$picture")
    VORTANA_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "${args[@]}"
fi

pids=()
demo=""
cleanup() {
    [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null
    [ "$mode" = windows ] && /usr/lib/wine/wineserver -k 2>/dev/null
    [ -n "$demo" ] && rm -rf "$demo"
    return 0
}
trap cleanup EXIT

source tools/window-driver.sh

if [ "$mode" = start ]; then
    build/vortana &
    pids+=($!)
    main=$(vortana_window "$vortana_main_caption")
else
    demo=$(mktemp -d)
    cp sim/demo/MCUtype.txt sim/demo/demo.s19 "$demo/"
    if [ "$mode" = windows ]; then
        export WINEPREFIX=$PWD/build-win/wineprefix WINEDEBUG=-all
        [ -f "$WINEPREFIX/system.reg" ] || /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
        cp build-win/vortana.exe "$demo/"
        link=$WINEPREFIX/dosdevices/com7
        port=COM7
        program=(/usr/lib/wine/wine64 vortana.exe)
        file="Z:${demo//\//\\}\\demo.s19"  # as the Windows file dialog takes it
    else
        cp build/vortana "$demo/"
        link="/tmp/ttyV$(id -u)"  # short: the port box and the status bar show it
        port=$link
        program=(./vortana)
        file=$demo/demo.s19
    fi
    build/vortana-sim --link "$link" >"$demo/sim.out" &
    pids+=($!)
    for _ in $(seq 50); do
        [ -e "$link" ] && break
        sleep 0.1
    done
    printf '[comx]\nnum=%s\n' "$port" >"$demo/sysset.ini"
    (cd "$demo" && exec "${program[@]}") &
    pids+=($!)
    main=$(vortana_window "$vortana_main_caption" 60)
    vortana_settings_model_file "$main" 3 "$file"  # VT8B-W16
fi
sleep 1  # let it paint
import -window "$main" "$picture"
xwininfo -id "$main" | grep -E "Absolute|Width|Height"
echo "$picture"
