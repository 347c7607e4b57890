#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Where the window stands and what its title bar says: the whole window, frame included,
# in the middle of the screen; and a program whose version cannot be read keeps an empty
# title, not the application's name.
set -euo pipefail
exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xsession.sh"
xs_start
work=$(mktemp -d)
trap 'rm -rf "$work"; xs_stop' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$exe" &
pid=$!
wid=$(xs_wait_window "$pid") || fail "no window"
sleep 0.5 # the window manager frames the window, the program centres it again
# The frame's outer edges, as the window manager reports them (screen 1024 x 768).
read -r left top width height < <(xwininfo -id "$wid" -frame |
    awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
         /^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print x, y, w, h}')
extents=$(xprop -id "$wid" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
read -r el er et eb <<<"$extents"
frame_left=$((left - el)) frame_top=$((top - et))
frame_width=$((width + el + er)) frame_height=$((height + et + eb))
dx=$((2 * frame_left + frame_width - 1024)) dy=$((2 * frame_top + frame_height - 768))
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] ||
    fail "frame at $frame_left,$frame_top size ${frame_width}x$frame_height is not centred"
xs_close_program "$wid" "$pid" || fail "the program did not end cleanly"

# Without its version record the program has no caption.
objcopy --remove-section=.mirthkey_version "$exe" "$work/mirthkey"
"$work/mirthkey" &
pid=$!
wid=$(xs_wait_window "$pid") || fail "no window without a version"
sleep 0.3
name=$(xprop -id "$wid" WM_NAME _NET_WM_NAME)
# xprop shows an empty text as nothing after "= ".
[ "$(printf '%s\n' "$name" | grep -c ' = $')" -eq 2 ] || fail "the title is: $name"
xs_close_program "$wid" "$pid" || fail "the program without a version did not end cleanly"
echo PASS
