#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Return on a focused button after a message box was closed with Return, under Wine: the
# box closes on the key's press, its release reaches no window of the program, and Wine
# marks the next press of Return as a repeat. Each round copies the empty box (refused),
# closes the refusal with Return, moves the focus with Tab to the first emoticon, or with
# Shift+Tab to the help button, and presses Return, which must press that button: the box
# then shows text (its first line is read from a screenshot, not through the clipboard,
# which an empty box would not fill).
#   wine_return_key.sh <mirthkey.exe> [rounds]
set -euo pipefail
exe=$(realpath "$1")
rounds=${2:-8}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_session.sh"
# Dark pixels on the box's first line, right of where the caret blinks.
ink() {
    import -window "$wid" "$work/shot.png"
    convert "$work/shot.png" -crop 300x12+22+246 +repage -colorspace gray -threshold 50% \
        -negate -format '%[fx:round(mean*w*h)]' info:
}
box_shows_text() { # waits until the box's first line holds more than a caret
    local i
    for i in $(seq 1 50); do
        [ "$(ink)" -gt 20 ] && return 0
        sleep 0.02
    done
    return 1
}

use_private_prefix
wine "$exe" 2>"$work/err" &
pid=$!
caption="Mirthkey$(date +%Y)  V1.2.0 Build 65"
wid=$(xs_wait_name "$caption" 60) || fail "no window"

failed=0
for target in emoticon help; do
    pressed=0
    for round in $(seq 1 "$rounds"); do
        [ "$(ink)" -le 20 ] || fail "$target round $round: the box is not empty"
        xdotool mousemove --window "$wid" 54 399 click 1 # copy
        xs_wait_name "错误提示" >/dev/null || fail "$target round $round: copy was not refused"
        xdotool key --clearmodifiers Return
        xs_wait_gone "错误提示" || fail "$target round $round: the refusal stayed after Return"
        xs_wait_name "$caption" >/dev/null || fail "$target round $round: the window is not active"
        if [ "$target" = emoticon ]; then
            xdotool key --clearmodifiers Tab Return
        else
            xdotool key --clearmodifiers shift+Tab shift+Tab shift+Tab Return
        fi
        ! box_shows_text || pressed=$((pressed + 1))
        # The box empty again, for the next copy.
        xdotool mousemove --window "$wid" 200 300 click 1
        xdotool key --clearmodifiers ctrl+a Delete
        for _ in $(seq 1 50); do
            [ "$(ink)" -gt 20 ] || break
            sleep 0.02
        done
    done
    echo "Return on the $target button after the refusal: $pressed of $rounds pressed it"
    [ "$pressed" -eq "$rounds" ] || failed=1
done
xs_close_program "$wid" "$pid" || fail "the program did not end with status 0"
[ "$failed" -eq 0 ] || fail "Return was taken for a repeat"
echo PASS
