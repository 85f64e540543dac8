# The Windows part of ./test: the Qt-free parts cross-built into build-win/ and their tests run
# under Wine, in a prefix of their own (build-win/wineprefix, made once, headless). The serial
# component's tests get a null-modem pair, COM11 and COM12: two dosdevices links to
# pseudo-terminals that socat joins. They share it, so they run one at a time (label
# serial-line); the rest run in parallel. Sourced by ./test; prints how long it took.

vortana_test_windows() {
    local started=$SECONDS
    cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-w64.cmake >/dev/null
    cmake --build build-win

    export WINEPREFIX=$PWD/build-win/wineprefix WINEDEBUG=-all DISPLAY=
    [ -f "$WINEPREFIX/system.reg" ] || /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
    # One server for every test program, ended below. Wine's own services start with it, here:
    # started by the first test program they would hold its output pipe open for as long as the
    # server runs.
    /usr/lib/wine/wineserver -p
    /usr/lib/wine/wine64 wineboot >/dev/null 2>&1

    local devices=$WINEPREFIX/dosdevices
    rm -f "$devices/com11" "$devices/com12"
    socat pty,raw,echo=0,link="$devices/com11" pty,raw,echo=0,link="$devices/com12" &
    local pair=$!
    while [ ! -e "$devices/com11" ] || [ ! -e "$devices/com12" ]; do sleep 0.1; done
    export VORTANA_TEST_COM_PAIR=COM11:COM12

    local status=0
    (cd build-win &&
        ctest --output-on-failure -j "$(nproc)" -LE serial-line "$@" &&
        ctest --output-on-failure -L serial-line "$@") || status=$?
    kill "$pair"
    /usr/lib/wine/wineserver -k
    echo "Windows build and its tests under Wine: $((SECONDS - started)) s"
    return $status
}
