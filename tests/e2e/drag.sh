#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A text drag out of the composition box ends when the button is released: with the
# whole text selected (as the copy button leaves it), the left button goes down just
# above the box's bottom edge and the pointer leaves the box downwards in small steps,
# where the box scrolls by itself, then the button comes up. The window must still take
# clicks afterwards: an emoticon click inserts its code, and a close request brings up
# the exit question, whose Yes ends the program.
set -euo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xsession.sh"
xs_start

clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }

"$exe" &
pid=$!
wid=$(xs_wait_window "$pid") || fail "no window"

# Command15 (row 1, column 15 of the palette frame at (10, 67)) and Command97 inside
# Frame4 at (11, 376).
xdotool mousemove --window "$wid" 360 91 click 1
xdotool mousemove --window "$wid" $((11 + 17 + 26)) $((376 + 12 + 11)) click 1
xs_wait_name "系统提示" >/dev/null || fail "no notice after copy"
xdotool key --clearmodifiers Return
xs_wait_gone "系统提示" 2 || true
xs_wait_window "$pid" >/dev/null || fail "the window is gone"
sleep 0.2

# Text1 fills (14, 243) to (393, 331) of the window: press 6 px above its bottom edge.
x=100
y=325
xdotool mousemove --window "$wid" $x $y mousedown 1
for _ in $(seq 1 20); do
    y=$((y + 2))
    xdotool mousemove --window "$wid" $x $y
    sleep 0.03
done
sleep 0.3
xdotool mouseup 1
sleep 0.5

# Command3 (row 1, column 3) replaces the selection with its code.
xdotool mousemove --window "$wid" $((10 + 2 + 24 * 2 + 12)) 91 click 1
sleep 0.2
xdotool key --clearmodifiers ctrl+a ctrl+c
text=""
for _ in $(seq 1 100); do
    text=$(clipboard)
    [ "$text" != "/wx" ] && break
    sleep 0.02
done
case "$text" in
*/se*) ;;
*) fail "after the drag an emoticon click left the box holding '$text'" ;;
esac

wmctrl -i -c "$wid"
xs_wait_name "系统询问" 10 >/dev/null || fail "no exit question after the drag"
xdotool key --clearmodifiers Return
for _ in $(seq 1 500); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.02
done
if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    fail "Yes on the exit question did not end the program"
fi
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
echo PASS
