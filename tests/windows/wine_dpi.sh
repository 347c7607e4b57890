#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# mirthkey.exe at 150 % (Wine's LogPixels 144) in a prefix of its own: the client area is
# one and a half times 408 x 465, and the window's colour reaches its right and bottom
# edges (no black or cut-off strip beside the scaled controls).
#   wine_dpi.sh <mirthkey.exe>
set -euo pipefail
exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_session.sh"
use_private_prefix
set_wine_dpi 144
wineserver -p || true

wine "$exe" &
pid=$!
caption=$(xs_caption)
wid=$(xs_wait_name "$caption" 60) || fail "no window captioned '$caption'"
size=$(xwininfo -id "$wid" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
echo "client area at 144 DPI: $size"
case "$size" in 612x697 | 612x698) ;; *) fail "client area at 144 DPI is $size" ;; esac
xdotool mousemove 0 0
sleep 1
import -window "$wid" "$work/window.png"
height=${size#*x}
for strip in "6x$height+606+0" "612x4+0+$((height - 4))"; do
    colours=$(convert "$work/window.png" -crop "$strip" +repage -unique-colors -depth 8 txt:- |
        sed -n 's/.*#\([0-9A-F]\{6\}\).*/\1/p' | sort -u | tr '\n' ' ')
    [ "$colours" = "E9F8F8 " ] || fail "the strip $strip holds $colours"
done
xs_close_program "$wid" "$pid" || fail "the program did not end cleanly"
echo PASS
