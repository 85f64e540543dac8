#!/usr/bin/env bash
# The Windows program end to end under Wine, driven with xdotool on an X display, against the
# Linux simulator on COM7 (a dosdevices link to its pseudo-terminal), its trace kept:
#   tests/e2e/window-under-wine.sh BUILD_WIN    (from the checkout; WINEPREFIX and DISPLAY set)
# vortana.exe runs from a folder of its own beside the sample catalogue, demo.s19 and a
# sysset.ini naming COM7. "设  置", the model VT8B-W16, demo.s19 through the file dialog, then
# "擦  除", "编  程" and "校  验": each shows in the trace as the device took it and answered.
# The window closed, vortana-cli.exe reads the chip back, equal to demo.s19 wherever it holds data.
set -euo pipefail
build_win=$(realpath "$1")
top=$PWD
source tools/window-driver.sh

dir=$build_win/window-check
rm -rf "$dir" && mkdir -p "$dir"
ln -f "$build_win/vortana.exe" "$dir/"
cp sim/demo/MCUtype.txt sim/demo/demo.s19 "$dir/"
printf '[comx]\r\nnum=COM7\r\n' >"$dir/sysset.ini"
trace=$dir/trace.txt

com7=$WINEPREFIX/dosdevices/com7
rm -f "$com7"
build/vortana-sim --link "$com7" --work-scale 0 --trace >/dev/null 2>"$trace" &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
while [ ! -e "$com7" ]; do sleep 0.1; done

# Waits until the trace has a line matching $1 after its first $2 lines; prints its number.
await_trace() {
    local pattern=$1 after=${2:-0}
    for _ in $(seq 300); do
        local found
        found=$(tail -n +"$((after + 1))" "$trace" | grep -n -m 1 -E -- "$pattern" | cut -d: -f1)
        if [ -n "$found" ]; then
            echo $((after + found))
            return 0
        fi
        sleep 0.1
    done
    echo "not in the simulator's trace: $pattern" >&2
    return 1
}

(cd "$dir" && WINEDEBUG=-all exec /usr/lib/wine/wine64 vortana.exe) &
pids+=($!)
main=$(vortana_window "$vortana_main_caption" 60)
[ -n "$main" ] || { echo "vortana.exe showed no main window" >&2; exit 1; }
vortana_settings_model_file "$main" 3 "Z:${dir//\//\\}\\demo.s19"  # VT8B-W16
line=$(await_trace '<- .*settings')
line=$(await_trace '<- .*download header' "$line")
line=$(await_trace '<- .*block ' "$line")
# Each operation: its button, the device's frame and success, the box that tells it closed.
for step in "101 erase" "218 program" "335 verify"; do
    read -r x name <<<"$step"
    vortana_click "$main" "$x" 364
    line=$(await_trace "<- .* $name\$" "$line")
    line=$(await_trace '-> .*success' "$line")
    vortana_close_box
done
kill "${pids[1]}"
wait "${pids[1]}" 2>/dev/null || true

(cd "$dir" &&
    "$top/tools/wine-run" "$build_win/vortana-cli.exe" read --port COM7 --model VT8B-W16 \
        --output chip.s19 --catalogue MCUtype.txt >/dev/null)
srec_cmp "$dir/demo.s19" "$dir/chip.s19" -crop -within "$dir/demo.s19"
echo "vortana.exe under Wine: settings, model, demo.s19 loaded, erase, program, verify; chip equal"
