#!/usr/bin/env bash
# Takes a screenshot of the main window on a virtual X display (Xvfb, no window manager, so the
# picture is the client area alone): ./tools/screenshot.sh [picture.png]
# The program runs from build/ as ./run builds it, so it reads build/sysset.ini.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/ensure-deps.sh
vortana_packages=(xvfb xauth imagemagick x11-utils)  # Xvfb, import, xwininfo
vortana_ensure_deps
picture=$(realpath -m "${1:-build/main-window.png}")
cmake --build build --target vortana >/dev/null
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    build/vortana & program=$!
    window=""
    for _ in $(seq 50); do
        window=$(xwininfo -root -tree | awk "/VORTANA/ && / 587x466/ { print \$1; exit }")
        [ -n "$window" ] && break
        sleep 0.2
    done
    if [ -z "$window" ]; then
        echo "the main window did not appear" >&2
        kill "$program"
        exit 1
    fi
    sleep 1  # let it paint
    import -window "$window" "$1"
    xwininfo -id "$window" | grep -E "Absolute|Width|Height"
    kill "$program"' screenshot "$picture"
echo "$picture"
