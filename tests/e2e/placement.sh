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

"$exe" &
pid=$!
wid=$(xs_wait_window "$pid") || fail "no window"
# The window manager frames the window, the program centres it again (screen 1024 x 768).
xs_wait_centred "$wid" ||
    fail "the frame is not centred: twice its offset is $(xs_offset_from_centre "$wid" || echo none)"
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
