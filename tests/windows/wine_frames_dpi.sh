#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window's frames under Wine at 96, 120, 144 and 192 DPI (100 %, 125 %, 150 %,
# 200 %): a screenshot of the client area must show every frame's etched lines and the
# composition box's frame whole (check_frames.py), and the program must still end with
# status 0. The screen is large enough for the window at 200 %.
# The DPI is set in a private copy of the test prefix (hard links, with registry files
# of its own, which Wine rewrites by replacing them), so other tests keep 96 DPI.
#   wine_frames_dpi.sh <mirthkey.exe> [dpi...]
set -euo pipefail
exe=$(realpath "$1")
shift
dpis=("$@")
[ ${#dpis[@]} -gt 0 ] || dpis=(96 120 144 192)
here=$(cd "$(dirname "$0")" && pwd)
export XS_SCREEN=1600x1200x24
. "$here/wine_session.sh"

use_private_prefix
caption=$(xs_caption)
failed=0
for dpi in "${dpis[@]}"; do
    set_wine_dpi "$dpi"
    wine "$exe" &
    pid=$!
    wid=$(xs_wait_name "$caption" 60) || fail "$dpi DPI: no window"
    xdotool mousemove 0 0
    sleep 1
    import -window "$wid" "$work/$dpi.png"
    echo "$dpi DPI:"
    python3 "$here/check_frames.py" "$work/$dpi.png" "$(awk "BEGIN { print $dpi / 96 }")" ||
        failed=1
    xs_close_program "$wid" "$pid" || fail "$dpi DPI: the program did not end with status 0"
done
[ "$failed" -eq 0 ] || fail "broken frame lines"
echo PASS
