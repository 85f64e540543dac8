#!/usr/bin/env bash
# The Windows release: `cpack -G ZIP` in BUILD_WIN, the zip's files, vortana.exe a GUI program
# with its icon and version that imports Windows' own DLLs alone; then the zip unpacked into a
# fresh Wine prefix, and vortana.exe started from there shows its main window (on DISPLAY).
#   tests/packaging/windows-release.sh BUILD_WIN    (from the checkout)
set -euo pipefail
build_win=$(realpath "$1")
source tools/window-driver.sh
cpack_setting() {
    sed -n "s/^set($1 \"\(.*\)\")\$/\1/p" "$build_win/CPackConfig.cmake"
}
version=$(cpack_setting CPACK_PACKAGE_VERSION)
name=$(cpack_setting CPACK_PACKAGE_FILE_NAME)

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

(cd "$build_win" && cpack -G ZIP -B "$work/package" >/dev/null)
zip=$work/package/$name.zip
listing=$(unzip -Z1 "$zip" | sort)
expected=$(printf "$name/%s\n" MCUtype.txt README-en.txt README-zh.txt demo.s19 vortana-cli.exe \
    vortana.exe | sort)
[ "$listing" = "$expected" ] || { echo "the zip holds:" "$listing" >&2; exit 1; }

unzip -q "$zip" -d "$work/prefix-files"
exe=$work/prefix-files/$name/vortana.exe
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q 'Subsystem.*Windows GUI' <<<"$headers" || { echo "vortana.exe is no GUI program" >&2; exit 1; }
# Windows' own DLLs, as Qt and the C runtime import them.
windows_dlls='advapi32|authz|comdlg32|d3d9|d3d11|dwmapi|dwrite|dxgi|gdi32|imm32|kernel32|msvcrt'
windows_dlls+='|netapi32|ole32|oleaut32|setupapi|shcore|shell32|shlwapi|user32|userenv|uxtheme'
windows_dlls+='|version|winmm|ws2_32|wtsapi32|api-ms-win-[a-z0-9-]+'
foreign=$(grep -oP 'DLL Name: \K.*' <<<"$headers" | grep -viE "^($windows_dlls)\.dll\$" || true)
[ -z "$foreign" ] || { echo "vortana.exe needs DLLs Windows lacks: $foreign" >&2; exit 1; }
resources=$(x86_64-w64-mingw32-windres -i "$exe" -O rc 2>/dev/null)
grep -q 'ICON' <<<"$resources" && grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$resources" ||
    { echo "vortana.exe lacks its icon or its version" >&2; exit 1; }

export WINEPREFIX=$work/prefix WINEDEBUG=-all
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
exe_size=$(stat -c %s "$exe")
unpacked=$WINEPREFIX/drive_c/$name
mv "$work/prefix-files/$name" "$unpacked"
/usr/lib/wine/wine64 "C:\\$name\\vortana.exe" &
pid=$!
main=$(vortana_window "$vortana_main_caption" 60)
[ -n "$main" ] || { echo "vortana.exe from the zip showed no main window" >&2; exit 1; }
xwininfo -id "$main" | grep -q 'Map State: IsViewable'
echo "$name.zip: $(stat -c %s "$zip") bytes; vortana.exe $exe_size bytes, started" \
    "from a fresh Wine prefix and showed its main window"
