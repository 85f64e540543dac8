#!/usr/bin/env bash
# Takes a screenshot of the main window on a virtual X display (Xvfb, no window manager, so the
# picture is the client area alone):
#   ./tools/screenshot.sh [picture.png]                   as the program starts
#   ./tools/screenshot.sh --after-download [picture.png]  after a download to the simulator
# The default picture is build/main-window.png. The first runs the program from build/, so it
# reads build/sysset.ini. The second runs it as the demo does (./run): beside the sample catalogue
# and S-record file, the simulator on a pseudo-terminal; xdotool then clicks the settings button,
# picks the model VT8B-W16 in the model list, loads demo.s19, closes the boxes and the picture is
# taken once the device has accepted the download.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/ensure-deps.sh
vortana_packages=(xvfb xauth imagemagick x11-utils xdotool)  # Xvfb, import, xwininfo, clicks
vortana_ensure_deps

after_download=0
if [ "${1:-}" = --after-download ]; then
    after_download=1
    shift
fi
picture=$(realpath -m "${1:-build/main-window.png}")
if [ -z "${VORTANA_ON_XVFB:-}" ]; then
    cmake --build build --target vortana vortana-sim >/dev/null
    args=("$picture")
    [ "$after_download" = 1 ] && args=(--after-download "$picture")
    VORTANA_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "${args[@]}"
fi

pids=()
demo=""
cleanup() {
    [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null
    [ -n "$demo" ] && rm -rf "$demo"
    return 0
}
trap cleanup EXIT

# The id of the shown window whose name matches $1, once it is there.
window() {
    timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1
}
# Clicks the point $2, $3 of window $1, counted from its client area's top left corner.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}
# Closes the information box that comes (its OK button has the focus).
close_box() {
    local box
    box=$(window '^VORTANA Programer$')
    xdotool key Return
    while xdotool search --onlyvisible --name '^VORTANA Programer$' | grep -qx "$box"; do
        sleep 0.1
    done
}

if [ "$after_download" = 0 ]; then
    build/vortana &
    pids+=($!)
    main=$(window 'VORTANA编程界面')
else
    demo=$(mktemp -d)
    cp build/vortana sim/demo/MCUtype.txt sim/demo/demo.s19 "$demo/"
    link="/tmp/ttyV$(id -u)"  # short: the port box and the status bar show it
    build/vortana-sim --link "$link" >"$demo/sim.out" &
    pids+=($!)
    for _ in $(seq 50); do
        [ -e "$link" ] && break
        sleep 0.1
    done
    printf '[comx]\nnum=%s\n' "$link" >"$demo/sysset.ini"
    "$demo/vortana" &
    pids+=($!)
    main=$(window 'VORTANA编程界面')
    # Button centres from the window's design (left + width / 2, top + height / 2).
    click "$main" 500 100  # 设  置
    close_box
    click "$main" 500 156  # 选 择 型 号
    list=$(window 'VORTANAMCU型号')
    # The catalogue's third line, VT8B-W16: lines are 24 pixels apart from 6 pixels down.
    xdotool mousemove --window "$list" 80 66 click --repeat 2 --delay 80 1
    click "$main" 500 236  # 加 载 文 件
    window '^(Open|打开)$' >/dev/null  # Qt's file dialog, in Chinese once its translation is in
    xdotool type --delay 10 "$demo/demo.s19"
    xdotool key Return
    close_box  # "文件加载成功，长度是 0500"
fi
sleep 1  # let it paint
import -window "$main" "$picture"
xwininfo -id "$main" | grep -E "Absolute|Width|Height"
echo "$picture"
