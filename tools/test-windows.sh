# The Windows part of ./test: the Qt-free parts cross-built into build-win/ and their tests run
# under Wine, in a prefix of their own (build-win/wineprefix, made once, headless). The serial
# component's tests get a null-modem pair, COM11 and COM12: two dosdevices links to
# pseudo-terminals that socat joins. They share it, so they run one at a time (label
# serial-line); the rest run in parallel. Last, vortana-cli.exe writes a 64 KiB file to the
# simulator (build/vortana-sim, the Linux one, on COM7) and reads it back, byte for byte.
# Sourced by ./test; prints how long it took.

vortana_test_windows() {
    local started=$SECONDS
    cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-w64.cmake >/dev/null
    cmake --build build-win

    export WINEPREFIX=$PWD/build-win/wineprefix WINEDEBUG=-all DISPLAY=
    [ -f "$WINEPREFIX/system.reg" ] || /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
    # One server for every test program, ended below. Wine's own services start with it, here:
    # started by the first test program they would hold its output pipe open for as long as the
    # server runs.
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true  # one an interrupted run left behind
    /usr/lib/wine/wineserver -p >/dev/null 2>&1
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
    [ $status -ne 0 ] || vortana_cli_write_read "$devices/com7" || status=$?
    /usr/lib/wine/wineserver -k
    echo "Windows build and its tests under Wine: $((SECONDS - started)) s"
    return $status
}

# A 64 KiB model at 0000-FFFF, random bytes as its S-record file, the simulator unpaced and
# without work times on the link `com7`; write, read, compare.
vortana_cli_write_read() {
    local com7=$1
    [ -x build/vortana-sim ] || {
        cmake -S . -B build -G Ninja >/dev/null && cmake --build build --target vortana-sim
    }
    local dir=build-win/cli-check
    rm -rf "$dir" && mkdir -p "$dir"
    echo "01 VT8A-C64             0000 - FFFF         64K       0x00" >"$dir/MCUtype.txt"
    head -c 65536 /dev/urandom >"$dir/image.bin"
    srec_cat "$dir/image.bin" -binary -o "$dir/image.s19" -motorola -Address_Length=2
    build/vortana-sim --link "$com7" --no-pace --work-scale 0 >/dev/null &
    local sim=$!
    while [ ! -e "$com7" ]; do sleep 0.1; done
    local status=0
    (cd "$dir" &&
        ../../tools/wine-run ../vortana-cli.exe write --port COM7 --model VT8A-C64 \
            --file image.s19 --catalogue MCUtype.txt &&
        ../../tools/wine-run ../vortana-cli.exe read --port COM7 --model VT8A-C64 \
            --output out.bin --catalogue MCUtype.txt &&
        cmp image.bin out.bin) || status=$?
    kill "$sim"
    [ $status -eq 0 ] && echo "vortana-cli.exe under Wine: 64 KiB written and read back, equal"
    return $status
}
