# Drives the program's windows on an X display with xdotool, as a user would: the Linux window
# (tools/screenshot.sh) and the Windows one under Wine (tools/screenshot.sh --windows, the Windows
# checks of ./test). Sourced; needs DISPLAY. Points are counted from a window's client area's top
# left corner; the button centres come from the main window's design (left + width / 2,
# top + height / 2).

vortana_main_caption='VORTANA编程界面'
vortana_box_caption='^VORTANA Programer$'

# The id of the shown window whose name matches $1, once it is there (at most $2 seconds, 30 by
# default).
vortana_window() {
    timeout "${2:-30}" xdotool search --sync --onlyvisible --name "$1" | head -n 1
}

# Clicks the point $2, $3 of window $1.
vortana_click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Closes the information box that comes (its OK button has the focus), and waits until it is gone.
vortana_close_box() {
    local box
    box=$(vortana_window "$vortana_box_caption")
    [ -n "$box" ] || return 1
    xdotool key Return
    while xdotool search --onlyvisible --name "$vortana_box_caption" | grep -qx "$box"; do
        sleep 0.1
    done
}

# On the main window $1: sends the settings (and closes the box that says so), picks the model on
# catalogue line $2 (from 1) and loads the file $3 through the file dialog, whose path is typed
# as the dialog takes it; the load downloads it, and its box is closed.
vortana_settings_model_file() {
    local main=$1 line=$2 file=$3 list
    vortana_click "$main" 500 100  # 设  置
    vortana_close_box
    vortana_click "$main" 500 156  # 选 择 型 号
    list=$(vortana_window 'VORTANAMCU型号')
    # Catalogue lines are 24 pixels apart from 6 pixels down.
    xdotool mousemove --window "$list" 80 $((24 * line - 6)) click --repeat 2 --delay 80 1
    vortana_click "$main" 500 236  # 加 载 文 件
    vortana_window '^(Open|打开)$' >/dev/null  # the file dialog, in Chinese once translated
    xdotool type --delay 10 "$file"
    xdotool key Return
    vortana_close_box  # "文件加载成功，长度是 ..."
}
