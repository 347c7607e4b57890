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
shown() { # whether the window shows; prints its box
    local box
    box=$(window_box)
    echo "$box"
    case "$box" in 408x465+*) ;; *) return 1 ;; esac
}
# What the program and the compositor say to each other, from the program's Wayland log
# (WAYLAND_DEBUG): the lines that match $1.
traffic() { grep -c "$1" "$work/native.log" || true; }
# Button presses and releases, key releases that reached the program, and pointer moves
# over its window.
button_presses() { traffic '^\[[0-9. ]*\] wl_pointer@[0-9]*\.button(.*, 1)$'; }
button_releases() { traffic '^\[[0-9. ]*\] wl_pointer@[0-9]*\.button(.*, 0)$'; }
key_releases() { traffic '^\[[0-9. ]*\] wl_keyboard@[0-9]*\.key(.*, 0)$'; }
pointer_moves() { traffic '^\[[0-9. ]*\] wl_pointer@[0-9]*\.\(enter\|motion\)('; }
at_least() { [ "$("${@:2}")" -ge "$1" ]; } # whether the count that command $2... gives has reached $1
# Whether the compositor has answered the program's last request about its window's state
# or size with a configure event, and the program has acknowledged the last one.
answered() {
    awk '/ -> xdg_toplevel@[0-9]+\.((un)?set_(maximized|fullscreen)|resize)\(/ { asked = NR }
         /^\[[0-9. ]*\] xdg_surface@[0-9]+\.configure\(/ { answer = NR; serial = $2 }
         / -> xdg_surface@[0-9]+\.ack_configure\(/ { acked = $2 }
         END { exit !(answer > asked && acked == serial) }' FS='[()]' "$work/native.log"
}
# Moves the pointer to $1, $2 and waits until the program has seen it there: the title bar
# takes a click once the pointer has moved over it.
hover() {
    local moves
    moves=$(pointer_moves)
    host xdotool mousemove "$1" "$2"
    xs_wait_until at_least $((moves + 1)) pointer_moves || fail "the program did not see the pointer move"
}
# Makes an attempt named $1, the command that follows $3, which the program gets as $3
# more of the input that $2 counts (a press on the title begins a move in the compositor,
# which may keep the release from the program), and waits until the compositor and the
# program are done with it.
attempt() {
    local what=$1 kind=$2 count=$3 before
    shift 3
    before=$($kind)
    "$@"
    xs_wait_until at_least $((before + count)) "$kind" || fail "$what: the program did not get the input"
    xs_wait_until answered || fail "$what: the compositor and the program did not settle"
    kill -0 "$pid" 2>/dev/null || { cat "$work/native.log"; fail "$what ended the program"; }
}
# The same, then checks that the program lives and its window is as it was.
check_unchanged() {
    attempt "$@"
    xs_wait_until -x "$box0" window_box || fail "$1 changed the window from $box0 to $(window_box)"
}

# Starts the program natively on Wayland and reads where its window and title bar are.
start_native() {
    WAYLAND_DEBUG=client QT_QPA_PLATFORM=wayland "$exe" 2>"$work/native.log" &
    pid=$!
    box0=$(xs_wait_until -t 30 shown) || fail "no native Wayland window"
    IFS='x+' read -r _ _ left top <<<"$box0"
    right=$((left + 408))
    title_y=$((top - 15))
    xs_wait_until title_bar_drawn || fail "the window has no title bar"
}
title_bar_drawn() { [ "$(xs_host_pixel $((left + 100)) "$title_y")" != 336699 ]; } # over the desktop

# Natively on Wayland.
start_native
hover "$((right - 37))" "$title_y" # the maximise button
check_unchanged "the maximise button" button_releases 1 host xdotool click 1
hover "$((left + 100))" "$title_y"
check_unchanged "a click on the title" button_presses 1 host xdotool click 1
# Weston keeps the presses of its own keys (M, F), the releases reach the program.
check_unchanged "Super+Shift+M" key_releases 3 host xdotool key super+shift+m
check_unchanged "Super+Shift+F" key_releases 3 host xdotool key super+shift+f
# The pointer is still over the title.
check_unchanged "a double click on the title" button_presses 2 host xdotool click --repeat 2 --delay 100 1
kill "$pid"
wait "$pid" 2>/dev/null || true

# Off the screen before the next window comes.
off_screen() { ! shown >/dev/null; }
wait_gone() { xs_wait_until off_screen || fail "the window stayed on the screen"; }
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
hover "$((right + 1))" "$((top + 200))"
# The press asks the compositor to resize the window, and once it has answered, the
# pointer's moves are its own: each answered with a size.
host xdotool mousedown 1
resizing() { [ "$(traffic ' -> xdg_toplevel@[0-9]*\.resize(')" -gt 0 ] && answered; }
xs_wait_until resizing || fail "a press on the frame's edge began no resize"
configures() { traffic '^\[[0-9. ]*\] xdg_surface@[0-9]*\.configure('; }
for step in "60 40" "90 60"; do
    read -r dx dy <<<"$step"
    answers=$(configures)
    host xdotool mousemove "$((right + dx))" "$((top + 200 + dy))"
    xs_wait_until at_least $((answers + 1)) configures ||
        fail "the compositor did not answer a drag on the frame's edge"
done
host xdotool mouseup 1
xs_wait_until answered || fail "the drag on the frame's edge did not settle"
kill -0 "$pid" 2>/dev/null || { cat "$work/native.log"; fail "dragging the frame's edge ended the program"; }
size() { window_box | sed 's/+.*//'; }
xs_wait_until -x "${box0%%+*}" size || fail "dragging the frame's edge resized the window from $box0 to $(window_box)"
kill "$pid"
wait "$pid" 2>/dev/null || true
echo PASS
