#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's main road under a real X server: clicks on Command15, Command3 and
# Command22 collect "/wx/se/ka", the copy button puts it on the X clipboard before its
# notice shows, and after Return the box has the focus with the whole text selected,
# so typing replaces it.
set -euo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xsession.sh"
xs_start

"$exe" &
pid=$!
wid=$(xs_wait_window "$pid") || fail "no window"

# Palette button N is in column c=(N-1)%16 and row r=(N-1)/16 of the frame at (10, 67);
# its 25 x 25 square starts at (2+24c, 12+24r) inside the frame.
click_emoticon() {
    local n=$1 c r
    c=$(((n - 1) % 16))
    r=$(((n - 1) / 16))
    xdotool mousemove --window "$wid" $((10 + 2 + 24 * c + 12)) $((67 + 12 + 24 * r + 12)) click 1
}
click_emoticon 15
click_emoticon 3
click_emoticon 22
# Command97 at (17, 12), 52 x 22, inside Frame4 at (11, 376).
xdotool mousemove --window "$wid" $((11 + 17 + 26)) $((376 + 12 + 11)) click 1

xs_wait_name "系统提示" >/dev/null || fail "no notice after copy"
text=$(xs_clipboard)
[ "$text" = "/wx/se/ka" ] || fail "with the notice open the clipboard holds '$text'"
xdotool key --clearmodifiers Return
xs_wait_gone "系统提示" 2 || true
text=$(xs_clipboard)
[ "$text" = "/wx/se/ka" ] || fail "the clipboard holds '$text', expected '/wx/se/ka'"

# Typing replaces the selection: the whole text was selected and the box has the focus.
xdotool type --delay 20 "ab"
xdotool key --clearmodifiers ctrl+a ctrl+c
xs_wait_until -x ab xs_clipboard || fail "after typing the box holds '$(xs_clipboard)', expected 'ab'"

xs_close_program "$wid" "$pid" || fail "the program did not end cleanly"
echo "PASS"
