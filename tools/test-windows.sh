# The Windows part of ./test: the program cross-built into build-win/ and its tests run under
# Wine, in a prefix of their own (build-win/wineprefix, made once). With Qt for Windows in its
# cache folder (tools/build-qt-windows), the window too: vortana.exe and its window tests (label
# window, on Qt's offscreen platform, which needs no display), then on a virtual X display (Xvfb)
# the window end to end against the simulator and the release zip started from a fresh prefix;
# without it, a line says how to get it.
#
# The tests run headless on one Wine server. The serial component's tests get a null-modem pair,
# COM11 and COM12: two dosdevices links to pseudo-terminals that socat joins. They share it, so
# they run one at a time (label serial-line); the rest run in parallel. Then vortana-cli.exe
# writes a 64 KiB file to the simulator (build/vortana-sim, the Linux one, on COM7) and reads it
# back, byte for byte. The window's checks start a server of their own on the X display: Wine's
# desktop takes its display from the program that starts the server. Every server is started with
# its output thrown away: Debian's wineserver lists the objects left at its exit on standard
# error, hundreds of lines.
# Sourced by ./test; prints how long it took.

# vortana_test_windows QT [CTEST ARGUMENTS]: QT is "build" to build Qt for Windows when it is
# missing (about 25 minutes), "if-present" to build the window only when it is there.
vortana_test_windows() {
    local qt=$1
    shift
    local started=$SECONDS
    [ "$qt" = build ] && tools/build-qt-windows
    local qt_args=() window=no
    if tools/build-qt-windows --ready; then
        qt_args=(-DCMAKE_PREFIX_PATH="$(tools/build-qt-windows --print)")
        window=yes
        vortana_install_missing "${vortana_windows_window_packages[@]}"
    else
        echo "The window is not built for Windows: Qt for Windows is missing;" \
            "tools/build-qt-windows builds it (about 25 minutes), or ./test --windows"
    fi
    cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-w64.cmake \
        "${qt_args[@]}" >/dev/null
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
    if [ $status -eq 0 ] && [ $window = yes ]; then
        vortana_window_checks || status=$?
    fi
    echo "Windows build and its tests under Wine: $((SECONDS - started)) s"
    return $status
}

# The Linux simulator, built when missing.
vortana_sim_built() {
    [ -x build/vortana-sim ] || {
        cmake -S . -B build -G Ninja >/dev/null && cmake --build build --target vortana-sim
    }
}

# A 64 KiB model at 0000-FFFF, random bytes as its S-record file, the simulator unpaced and
# without work times on the link `com7`: a job saved and run as a shift of two rounds from the
# console's input (Enter, then q), the chip read back and compared, the two rounds' serial numbers
# in the log and the counter.
vortana_cli_write_read() {
    local com7=$1
    vortana_sim_built
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
        ../../tools/wine-run ../vortana-cli.exe job save shift.job --port COM7 --model VT8A-C64 \
            --file image.s19 --catalogue MCUtype.txt --serial-file counter --log log.csv &&
        printf '\nq\n' | ../../tools/wine-run ../vortana-cli.exe run shift.job --loop \
            --catalogue MCUtype.txt >/dev/null &&
        ../../tools/wine-run ../vortana-cli.exe read --port COM7 --model VT8A-C64 \
            --output out.bin --catalogue MCUtype.txt &&
        cmp image.bin out.bin &&
        [ "$(cut -d, -f4,6 log.csv | tail -n +2 | tr '\r\n' ' ')" = "0,ok 1,ok " ] &&
        [ "$(cat counter)" = 2 ]) || status=$?
    kill "$sim"
    [ $status -eq 0 ] && echo "vortana-cli.exe under Wine: a shift of two rounds from the" \
        "console's input, serial numbers 0 and 1 logged; 64 KiB read back, equal"
    return $status
}

# On a virtual X display: the window end to end in build-win's prefix, then the release zip in a
# fresh one.
vortana_window_checks() {
    vortana_sim_built
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        status=0
        /usr/lib/wine/wineserver -p >/dev/null 2>&1
        tests/e2e/window-under-wine.sh build-win || status=$?
        /usr/lib/wine/wineserver -k 2>/dev/null
        [ $status -eq 0 ] && tests/packaging/windows-release.sh build-win || status=$?
        exit $status'
}
