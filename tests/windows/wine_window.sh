#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# mirthkey.exe's window under Wine with a window manager: the whole window, frame
# included, in the middle of the screen; no maximise action, and requests to maximise
# or resize (the window manager's or the title bar's) leave it where and as large as it
# was. Renamed to mk.bin the program looks for mk.exe, finds none, keeps an empty caption,
# and its exit question names it "mk".
#   wine_window.sh <mirthkey.exe>
set -euo pipefail
exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_session.sh"
geometry() { xwininfo -id "$1" | awk '/Absolute upper-left/{printf "%s,", $NF} /Width:|Height:/{printf "%s,", $2}'; }

wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wineserver -p || true
wine "$exe" &
pid=$!
caption=$(xs_caption)
wid=$(xs_wait_name "$caption" 60) || fail "no window captioned '$caption'"
sleep 0.5
read -r left top width height < <(xwininfo -id "$wid" -frame |
    awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
         /^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print x, y, w, h}')
read -r el er et eb <<<"$(xprop -id "$wid" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
above=$((top - et)) below=$((768 - top - height - eb))
sides="left $((left - el)), right $((1024 - left - width - er)), above $above, below $below"
echo "frame: $sides (extents $el $er $et $eb)"
dx=$((2 * (left - el) + width + el + er - 1024)) dy=$((above - below))
# The program centres the frame Windows gives the window; the one openbox draws around
# Wine's window is 2 px shorter above, so the sides may differ by 4 px (26 px when the frame
# was left out).
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 4 ] || fail "the window is not centred: $sides"
if xprop -id "$wid" _NET_WM_ALLOWED_ACTIONS | grep -q 'MAXIMIZE\|RESIZE'; then
    fail "the window can be maximised or resized: $(xprop -id "$wid" _NET_WM_ALLOWED_ACTIONS)"
fi
before=$(geometry "$wid")
# A double click on the title bar, where the window manager draws it.
title_click="xdotool mousemove $((left + 100)) $((top - et / 2)) click --repeat 2 --delay 80 1"
for request in "wmctrl -i -r $wid -b add,maximized_vert,maximized_horz" "$title_click" \
    "xdotool windowsize $wid 600 600"; do
    $request
    sleep 1
    kill -0 "$pid" 2>/dev/null || fail "'$request' ended the program"
    [ "$(geometry "$wid")" = "$before" ] || fail "after '$request' the window is $(geometry "$wid"), was $before"
done
xs_close_program "$wid" "$pid" || fail "the program did not end cleanly"

# Renamed: no mk.exe beside it, so no version and no caption.
cp "$exe" "$work/mk.bin"
wine "$work/mk.bin" &
pid=$!
wid=""
for _ in $(seq 1 3000); do
    wid=$(xdotool search --onlyvisible --classname '^mk\.bin$' 2>/dev/null | head -n1) || true
    [ -n "$wid" ] && break
    sleep 0.02
done
[ -n "$wid" ] || fail "no window of mk.bin"
sleep 0.5
name=$(xprop -id "$wid" WM_NAME _NET_WM_NAME)
[ "$(printf '%s\n' "$name" | grep -c ' = ""$\| = $')" -eq 2 ] || fail "mk.bin's title is: $name"
wmctrl -i -c "$wid"
xs_wait_name "系统询问" >/dev/null || fail "no exit question from mk.bin"
# Windows' message boxes copy their text with Ctrl+C, and Qt's do so on Windows.
xdotool key --clearmodifiers ctrl+c
sleep 0.5
question=$(xclip -o -selection clipboard 2>/dev/null || true)
case "$question" in
*"是否要退出正在运行的"*"   mk？"*) ;;
*) fail "mk.bin's exit question reads: $question" ;;
esac
xdotool key --clearmodifiers alt+y
for _ in $(seq 1 1500); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.02
done
wait "$pid" || fail "mk.bin ended with status $?"
echo PASS
