#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program's caption, its exit question, and copied text that outlives it:
# the title carries the year and version; a close request brings up "系统询问", which
# Escape does not dismiss and No answers by keeping the program; a second close
# answered with Enter (Yes) ends it with status 0; text copied before quitting can
# still be pasted afterwards, until another program takes the clipboard, and the
# keeper that served it is then gone.
set -euo pipefail
exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xsession.sh"
xs_start

keepers() { xs_keepers_of "$exe"; }
[ -z "$(keepers)" ] || fail "a keeper is already running"

"$exe" &
pid=$!
wid=$(xs_wait_window "$pid") || fail "no window"
title=$(xs_caption)
[ "$(xdotool getwindowname "$wid")" = "$title" ] || fail "title is '$(xdotool getwindowname "$wid")'"

# Something to copy: type it and copy it with the box's own Ctrl+A, Ctrl+C.
xdotool type --delay 20 "/wx/se"
xdotool key --clearmodifiers ctrl+a ctrl+c
copied() {
    local i
    for i in $(seq 1 500); do
        [ "$(xclip -o -selection clipboard 2>/dev/null)" = "/wx/se" ] && return 0
        sleep 0.02
    done
    return 1
}
copied || fail "the text was not copied"

wmctrl -i -c "$wid"
question=$(xs_wait_name "系统询问") || fail "no exit question"
# Escape, then Shift, which does nothing there: once the question has taken the Shift (the
# window's last user time, which the program sets from each key it takes, has moved on), it
# has handled Escape too, and must still be there.
pressed() {
    local key=$1 before i
    before=$(xprop -id "$question" _NET_WM_USER_TIME 2>/dev/null) || return 1
    xdotool key "$key"
    for i in $(seq 1 500); do
        [ "$(xprop -id "$question" _NET_WM_USER_TIME 2>/dev/null)" != "$before" ] && return 0
        sleep 0.02
    done
    return 1
}
pressed Escape && pressed shift || fail "Escape closed the question"
xdotool search --onlyvisible --name '^系统询问$' >/dev/null || fail "Escape closed the question"
xdotool key --clearmodifiers alt+n
xs_wait_gone "系统询问" 30 || fail "the question stayed after No"
kill -0 "$pid" || fail "No ended the program"

wmctrl -i -c "$wid"
xs_wait_name "系统询问" >/dev/null || fail "no exit question the second time"
xdotool key Return
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"

[ "$(xclip -o -selection clipboard)" = "/wx/se" ] || fail "the copied text is gone"
[ -n "$(keepers)" ] || fail "no keeper serves the text"

# Another program takes the clipboard: the keeper ends.
xs_take_clipboard keepers || fail "the keeper outlived its text"
[ "$(xclip -o -selection clipboard)" = "other" ] || fail "the clipboard was not taken over"

echo PASS
