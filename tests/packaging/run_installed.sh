#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as the package installs it, under a real X server: the caption carries the
# version read from the installed (stripped) file, the window's class is the one the menu
# entry names, and text copied before quitting is kept by the program's own image started
# again as the clipboard keeper.
# Usage: run_installed.sh <unpacked package root> <version> <app id>
set -euo pipefail
root=$(realpath "$1")
version=$2
app_id=$3
exe=$root/usr/bin/mirthkey
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xsession.sh"

pid=""
fail() {
    echo "FAIL: $*"
    [ -n "$XS_TMP" ] && [ -s "$XS_TMP/program.log" ] && cat "$XS_TMP/program.log"
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    exit 1
}
# Keepers started from the unpacked package.
keepers() { xs_keepers_of "$exe"; }
[ -x "$exe" ] || fail "$exe is missing"
[ -z "$(keepers)" ] || fail "a keeper from this package already runs"

xs_start
"$exe" 2>"$XS_TMP/program.log" &
pid=$!
wid=$(xs_wait_window "$pid") || fail "no window"

IFS=. read -r major minor patch build <<<"$version"
title="Mirthkey$(date +%Y)  V$major.$minor.$patch Build $build"
[ "$(xdotool getwindowname "$wid")" = "$title" ] ||
    fail "title is '$(xdotool getwindowname "$wid")', expected '$title'"

class=$(xprop -id "$wid" WM_CLASS | sed -n 's/.*= ".*", "\(.*\)"$/\1/p')
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/$app_id.desktop")
if [ -z "$class" ] || [ "$class" != "$wm_class" ]; then
    fail "window class '$class', the menu entry says '$wm_class'"
fi

xdotool type --delay 20 "/wx"
xdotool key --clearmodifiers ctrl+a ctrl+c
xs_wait_until -x "/wx" xs_clipboard || fail "the text was not copied"
status=0
xs_close_program "$wid" "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the program did not end with status 0 ($status)"

[ "$(xclip -o -selection clipboard)" = "/wx" ] || fail "the copied text is gone"
[ -n "$(keepers)" ] || fail "no keeper from $exe serves the text"
# Hand the clipboard to someone else; the keeper then ends.
xs_take_clipboard keepers || fail "the keeper outlived its text"
echo PASS
