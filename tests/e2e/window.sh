#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a real X server: the window maps with a 408 x 465 client
# area and no maximise action, typing goes into the composition box at once, and a
# click on the pixel centre of Command15 inserts "/wx" at the caret. The text is read
# back through the box's own Ctrl+A, Ctrl+C and the X clipboard. Requests to maximise,
# fill the screen or resize the window leave it where and as large as it was.
set -euo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xsession.sh"
xs_start

"$exe" &
pid=$!
trap 'kill -9 "$pid" 2>/dev/null || true; xs_stop' EXIT
wid=$(xs_wait_window "$pid") || { echo "FAIL: no window"; exit 1; }

size=$(xwininfo -id "$wid" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$size" = "408x465" ] || { echo "FAIL: client area is $size"; exit 1; }
if xprop -id "$wid" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE; then
    echo "FAIL: the window can be maximised"; exit 1
fi

geometry() { xwininfo -id "$wid" | awk '/Absolute upper-left/{printf "%s,", $NF} /Width:|Height:/{printf "%s,", $2}'; }
# The window manager frames the window, the program centres it again.
xs_wait_centred "$wid" || fail "the window did not settle in the middle"
before=$(geometry)
# Whether the window stands where and as large as it was; waits up to 10 s for the program
# to undo what a request changed.
settled() {
    local i
    for i in $(seq 1 500); do
        [ "$(geometry)" = "$before" ] && return 0
        sleep 0.02
    done
    return 1
}
for request in "wmctrl -i -r $wid -b add,maximized_vert,maximized_horz" \
    "wmctrl -i -r $wid -b add,fullscreen" "xdotool key super+Up" \
    "xdotool windowsize $wid 600 600"; do
    $request
    xs_wm_sync "$wid" || fail "the window manager did not answer after '$request'"
    kill -0 "$pid" || fail "'$request' ended the program"
    settled || fail "after '$request' the window is $(geometry), was $before"
done
xdotool windowactivate --sync "$wid"

xdotool type --delay 20 "ab"
# Command15: row 1, column 15 of the palette frame at (10, 67): centre (360, 91).
xdotool mousemove --window "$wid" 360 91 click 1
sleep 0.2
xdotool key --clearmodifiers ctrl+a ctrl+c
text=""
for _ in $(seq 1 100); do
    text=$(xclip -o -selection clipboard 2>/dev/null || true)
    [ -n "$text" ] && break
    sleep 0.02
done
[ "$text" = "ab/wx" ] || { echo "FAIL: the box holds '$text', expected 'ab/wx'"; exit 1; }

xs_close_program "$wid" "$pid" || { echo "FAIL: the program did not end cleanly"; exit 1; }
echo "PASS"
