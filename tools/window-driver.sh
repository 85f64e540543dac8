# Drives the program's windows on an X display with xdotool, as a user would: the Linux window
# (tools/screenshot.sh) and the Windows one under Wine (tools/screenshot.sh --windows, the Windows
# checks of ./test). Sourced; needs DISPLAY. Points are counted from a window's client area's top
# left corner; the button centres come from the main window's design (left + width / 2,
# top + height / 2).

vortana_main_caption='VORTANA编程界面'
vortana_box_caption='^VORTANA Programer$'

# The id of the shown window whose name matches $1, once it is there (at most $2 seconds, 30 by
# default); nothing when it did not come. A search that a closing window made fail with BadWindow
# is tried again.
vortana_window() {
    local until=$((SECONDS + ${2:-30})) id
    while [ $SECONDS -lt $until ]; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && echo "$id" && return 0
        sleep 0.1
    done
}

# The ids of the windows shown now, one a line. A window that closes while xdotool looks at it
# makes xdotool fail with BadWindow after listing the others: that is no error here.
vortana_shown_windows() {
    xdotool search --onlyvisible --name '' 2>/dev/null || true
}

# Clicks the point $2, $3 of window $1.
vortana_click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# The id of a shown window that is none of the ids in $1 (one a line), once there is one: Wine's
# file dialog has no name.
vortana_new_window() {
    local id
    for _ in $(seq 300); do
        id=$(vortana_shown_windows | grep -vxF -- "$1" | head -n 1)
        [ -n "$id" ] && echo "$id" && return 0
        sleep 0.1
    done
    return 1
}

# Gives window $1 the keyboard: a click in its corner, off any control. Without a window manager
# Wine's windows take the keyboard only so.
vortana_activate() {
    vortana_click "$1" 3 3
    sleep 0.3  # the click is no half of a double-click to come
}

# Waits until window $1 is no longer shown (at most 30 seconds).
vortana_await_gone() {
    for _ in $(seq 300); do
        vortana_shown_windows | grep -qx "$1" || return 0
        sleep 0.1
    done
    return 1
}

# Closes the information box that comes (its OK button has the focus), and waits until it is gone.
vortana_close_box() {
    local box
    box=$(vortana_window "$vortana_box_caption")
    [ -n "$box" ] || return 1
    vortana_activate "$box"
    xdotool key Return
    vortana_await_gone "$box"
}

# On the main window $1: sends the settings (and closes the box that says so), picks the model on
# catalogue line $2 (from 1) and loads the file $3 through the file dialog, whose path is typed
# as the dialog takes it; the load downloads it, and its box is closed.
vortana_settings_model_file() {
    local main=$1 line=$2 file=$3 list shown dialog
    vortana_click "$main" 500 100  # 设  置
    vortana_close_box
    vortana_click "$main" 500 156  # 选 择 型 号
    list=$(vortana_window 'VORTANAMCU型号')
    vortana_activate "$list"
    # Catalogue lines are 24 pixels apart from 6 pixels down.
    xdotool mousemove --window "$list" 80 $((24 * line - 6)) click --repeat 2 --delay 80 1
    vortana_await_gone "$list"
    shown=$(vortana_shown_windows)
    vortana_click "$main" 500 236  # 加 载 文 件
    dialog=$(vortana_new_window "$shown")  # the file dialog
    vortana_activate "$dialog"
    xdotool type --delay 10 "$file"
    xdotool key Return
    vortana_close_box  # "文件加载成功，长度是 ..."
}
