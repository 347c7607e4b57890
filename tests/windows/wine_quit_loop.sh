#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# mirthkey.exe under Wine started and quit again and again, as a user does: the window
# comes up, every other round copies codes to the clipboard (which the program hands to
# the system when it ends), the close request is answered Yes with a key, and every
# round must end with status 0 and no crash report.
#   wine_quit_loop.sh <mirthkey.exe> [rounds]
set -euo pipefail
exe=$(realpath "$1")
rounds=${2:-30}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_session.sh"

wineserver -k 2>/dev/null || true
wineserver -p
caption=$(xs_caption)
for round in $(seq 1 "$rounds"); do
    wine "$exe" 2>"$work/err" &
    pid=$!
    wid=$(xs_wait_name "$caption" 60) || fail "round $round: no window"
    if [ $((round % 2)) -eq 0 ]; then
        # Command15, then the copy button; the notice is closed with Return.
        xdotool mousemove --window "$wid" 360 91 click 1
        xdotool mousemove --window "$wid" 54 399 click 1
        xs_wait_name "系统提示" >/dev/null || fail "round $round: no notice after copy"
        xdotool key --clearmodifiers Return
        xs_wait_gone "系统提示" || fail "round $round: the notice stayed"
    fi
    wmctrl -i -c "$wid"
    xs_wait_name "系统询问" >/dev/null || fail "round $round: no exit question"
    xdotool key --clearmodifiers alt+y
    for _ in $(seq 1 1500); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.02
    done
    kill -0 "$pid" 2>/dev/null && fail "round $round: Yes did not end the program"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "round $round: exit status $status"
    ! grep -q 'Unhandled\|page fault\|exception' "$work/err" || fail "round $round: a crash report"
done
echo "PASS: $rounds rounds, every one ended with status 0"
