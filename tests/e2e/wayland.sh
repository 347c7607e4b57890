#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program on a Wayland desktop: weston, with an XWayland server of its own, inside a
# private X server that gives it a keyboard and a pointer.
#  - Natively on Wayland (chosen with QT_QPA_PLATFORM), the window stays as it is and the
#    program alive whatever asks to make it larger: the maximise button Qt draws in its
#    title bar, weston's keys for maximised and full screen, dragging the frame's edge.
#  - Left to itself on a desktop that has an X server, the program runs through X.
set -euo pipefail
exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xsession.sh"
XS_NO_WM=1 xs_start
xs_start_weston
work=$(mktemp -d)
trap 'for k in $(xs_keepers_of "$exe"); do kill "$k"; done; rm -rf "$work"; xs_stop' EXIT
host() { DISPLAY=$XS_HOST_DISPLAY "$@"; }

# The window's client area on the screen, "WxH+X+Y": where its background colour is.
window_box() {
    host import -window root png:- | convert - -fill black +opaque '#E9F8F8' -format '%@' info: 2>/dev/null
}
# Waits until the window shows; prints its box.
wait_box() {
    local box i
    for i in $(seq 1 1500); do
        box=$(window_box)
        case "$box" in 408x465+*) echo "$box"; return 0 ;; esac
        sleep 0.02
    done
    echo "no window on the screen (last box: $box)" >&2
    return 1
}
# Checks after an attempt named $1 that the program lives and its window is as it was;
# with $2 = size, only its size (a drag that lands on the frame rather than its edge
# moves the window, which a user may do).
check_unchanged() {
    local box
    sleep 1.5 # the compositor has answered the request by then
    kill -0 "$pid" 2>/dev/null || { cat "$work/native.log"; fail "$1 ended the program"; }
    box=$(window_box)
    if [ "${2:-}" = size ]; then
        [ "${box%%+*}" = "${box0%%+*}" ] || fail "$1 changed the window from $box0 to $box"
    else
        [ "$box" = "$box0" ] || fail "$1 changed the window from $box0 to $box"
    fi
}

# Starts the program natively on Wayland and reads where its window and title bar are.
start_native() {
    QT_QPA_PLATFORM=wayland "$exe" 2>"$work/native.log" &
    pid=$!
    box0=$(wait_box) || fail "no native Wayland window"
    sleep 1 # mapped and given its title bar
    IFS='x+' read -r _ _ left top <<<"$box0"
    right=$((left + 408))
    title_y=$((top - 15))
}

# Natively on Wayland.
start_native
# The title bar takes a click once the pointer has moved over it.
host xdotool mousemove "$((right - 37))" "$title_y" sleep 0.3 click 1 # the maximise button
check_unchanged "the maximise button"
host xdotool mousemove "$((left + 100))" "$title_y" sleep 0.3 click 1 key super+shift+m
check_unchanged "Super+Shift+M"
host xdotool key super+shift+f
check_unchanged "Super+Shift+F"
host xdotool mousemove "$((left + 100))" "$title_y" sleep 0.3 click --repeat 2 --delay 100 1
check_unchanged "a double click on the title"
kill "$pid"
wait "$pid" 2>/dev/null || true

# Off the screen before the next window comes.
wait_gone() {
    for _ in $(seq 1 500); do
        case "$(window_box)" in 408x465+*) sleep 0.02 ;; *) return 0 ;; esac
    done
}
wait_gone

# With an X server at hand the program goes through it: its window is an X window.
DISPLAY=$XS_XWAYLAND XDG_SESSION_TYPE=wayland "$exe" &
pid=$!
DISPLAY=$XS_XWAYLAND xs_wait_window "$pid" >/dev/null || fail "no X window under XWayland"
kill "$pid"
wait "$pid" 2>/dev/null || true

# Natively again, for a drag on the frame's edge last: weston's pointer may stay caught in
# the resize that the drag began, and the program is ended from outside.
wait_gone
start_native
host xdotool mousemove "$((right + 1))" "$((top + 200))" mousedown 1 \
    mousemove "$((right + 60))" "$((top + 240))" sleep 0.3 mousemove "$((right + 90))" "$((top + 260))" \
    sleep 0.3 mouseup 1
check_unchanged "dragging the frame's edge" size
kill "$pid"
wait "$pid" 2>/dev/null || true
echo PASS
