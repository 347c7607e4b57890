#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# mirthkey.exe under Wine in a private X server with a window manager, as a user drives
# it: the caption, the bottom labels drawn pixel for pixel as the Linux build draws them,
# emoticon clicks, copy (read back from the X clipboard), clear answered No then Yes,
# help and history, save through the Save As dialog (also over a Unix symbolic link), the
# exit question (Escape ignored, No keeps, Yes ends with status 0), and copied text still
# on the clipboard afterwards.
#   wine_e2e.sh <mirthkey.exe> <Linux build's mirthkey>
set -euo pipefail
exe=$(realpath "$1")
linux=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_session.sh"
clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }
clipboard_is() { # waits until the clipboard holds $1
    local i
    for i in $(seq 1 250); do
        [ "$(clipboard)" = "$1" ] && return 0
        sleep 0.02
    done
    return 1
}

# The bottom labels, each crop away from the blinking author name and the typewriter:
# the rights notice, the e-mail and web lines with their links, and "作者：".
crops() { # crops <screenshot> <prefix>
    convert "$1" -crop 408x19+0+446 +repage "$2-rights.png"
    convert "$1" -crop 218x30+190+416 +repage "$2-links.png"
    convert "$1" -crop 40x16+20+424 +repage "$2-author.png"
}

# The Linux build's drawing, for comparison.
"$linux" &
pid=$!
wid=$(xs_wait_window "$pid") || fail "the Linux program showed no window"
xdotool mousemove 0 0
sleep 1
import -window "$wid" "$work/linux.png"
xs_close_program "$wid" "$pid" || fail "the Linux program did not end cleanly"
crops "$work/linux.png" "$work/linux"

# The Windows program. A persistent Wine server stands for the Windows session, which
# outlives the program: the clipboard stays served after it ends.
wineserver -k 2>/dev/null || true
wineserver -p
wine "$exe" &
pid=$!
caption=$(xs_caption)
wid=$(xs_wait_name "$caption" 60) || fail "no window captioned '$caption'"
size=$(xwininfo -id "$wid" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$size" = "408x465" ] || fail "client area is $size"

xdotool mousemove 0 0
sleep 1
import -window "$wid" "$work/windows.png"
crops "$work/windows.png" "$work/windows"
for part in rights links author; do
    differ=$(compare -metric AE "$work/linux-$part.png" "$work/windows-$part.png" null: 2>&1 || true)
    [ "$differ" = 0 ] || fail "the $part labels differ from Linux in $differ pixels"
done

# Palette button N: column (N-1)%16, row (N-1)/16 of the frame at (10, 67); action
# button centres on the row y=399 inside Frame4.
click_emoticon() {
    local c=$((($1 - 1) % 16)) r=$((($1 - 1) / 16))
    xdotool mousemove --window "$wid" $((10 + 2 + 24 * c + 12)) $((67 + 12 + 24 * r + 12)) click 1
}
click_action() {
    local x
    case $1 in
    97) x=54 ;; 98) x=109 ;; 99) x=164 ;; 100) x=220 ;; 101) x=289 ;; 102) x=355 ;;
    esac
    xdotool mousemove --window "$wid" "$x" 399 click 1
}
box_text() { # the composition box's whole text through its own Ctrl+A, Ctrl+C
    echo none | xclip -selection clipboard
    xdotool mousemove --window "$wid" 200 300 click 1
    xdotool key --clearmodifiers ctrl+a ctrl+c
    local i
    for i in $(seq 1 250); do
        [ "$(clipboard)" != none ] && break
        sleep 0.02
    done
    clipboard
}

click_emoticon 15
click_emoticon 3
click_emoticon 22
click_action 97
xs_wait_name "系统提示" >/dev/null || fail "no notice after copy"
clipboard_is "/wx/se/ka" || fail "after copy the clipboard holds '$(clipboard)'"
xdotool key --clearmodifiers Return
xs_wait_gone "系统提示" || fail "the notice stayed after Return"

click_action 98
xs_wait_name "系统提示" >/dev/null || fail "no question before clearing"
xdotool key --clearmodifiers alt+n
xs_wait_gone "系统提示" || fail "the question stayed after No"
[ "$(box_text)" = "/wx/se/ka" ] || fail "No on the clear question changed the box"
click_action 98
xs_wait_name "系统提示" >/dev/null || fail "no question before clearing again"
xdotool key --clearmodifiers alt+y
xs_wait_gone "系统提示" || fail "the question stayed after Yes"
click_action 97
xs_wait_name "错误提示" >/dev/null || fail "copying the cleared box was not refused"
xdotool key --clearmodifiers Return
xs_wait_gone "错误提示" || fail "the refusal stayed after Return"

click_action 100
case "$(box_text)" in 简单帮助：*) ;; *) fail "help put '$(clipboard)' in the box" ;; esac
click_action 101
IFS=. read -r major minor _ build <<<"$EXPECTED_VERSION"
case "$(box_text)" in "软件更新历史："*"软件己更新到 V$major.$minor.$build版") ;; *) fail "history put '$(clipboard)' in the box" ;; esac

# Save: the dialog takes a name, and the file holds the text in GB18030 with CR LF.
click_action 98
xs_wait_name "系统提示" >/dev/null || fail "no question before clearing for the save"
xdotool key --clearmodifiers alt+y
xs_wait_gone "系统提示" || fail "the question stayed after Yes"
click_emoticon 15
click_emoticon 3
click_action 99
xs_wait_name "文件另存为" >/dev/null || fail "no Save As dialog"
sleep 0.5
xdotool type --delay 20 "$(winepath -w "$work/codes.txt" 2>/dev/null)"
xdotool key --clearmodifiers Return
xs_wait_gone "文件另存为" || fail "the Save As dialog stayed"
for _ in $(seq 1 250); do
    [ -s "$work/codes.txt" ] && break
    sleep 0.02
done
[ "$(od -An -tx1 "$work/codes.txt" 2>/dev/null | tr -d ' \n')" = 2f77782f73650d0a ] ||
    fail "the saved file holds '$(od -An -tx1 "$work/codes.txt" 2>&1)'"
xdotool search --onlyvisible --name '^错误提示$' >/dev/null 2>&1 && fail "the save reported a failure"

# Save over a Unix symbolic link, which Wine shows as the file it reaches: the dialog asks
# (its question has the dialog's caption), and after Yes that file holds the text and the
# link is still a link.
printf 'the old text\r\n' >"$work/target.txt"
ln -s target.txt "$work/link.txt"
click_action 99
xs_wait_name "文件另存为" >/dev/null || fail "no Save As dialog for the link"
sleep 0.5
xdotool type --delay 20 "$(winepath -w "$work/link.txt" 2>/dev/null)"
xdotool key --clearmodifiers Return
for _ in $(seq 1 250); do
    [ "$(xdotool search --onlyvisible --name '^文件另存为$' 2>/dev/null | wc -l)" -ge 2 ] && break
    sleep 0.02
done
[ "$(xdotool search --onlyvisible --name '^文件另存为$' 2>/dev/null | wc -l)" -ge 2 ] ||
    fail "saving over the link was not asked about"
xdotool key --clearmodifiers alt+y
xs_wait_gone "文件另存为" || fail "the Save As dialog stayed after Yes"
for _ in $(seq 1 250); do
    [ "$(od -An -tx1 "$work/target.txt" | tr -d ' \n')" = 2f77782f73650d0a ] && break
    sleep 0.02
done
[ "$(od -An -tx1 "$work/target.txt" 2>/dev/null | tr -d ' \n')" = 2f77782f73650d0a ] ||
    fail "through the link the file holds '$(od -An -tx1 "$work/target.txt" 2>&1)'"
[ -L "$work/link.txt" ] || fail "the link became a file of its own"
xdotool search --onlyvisible --name '^错误提示$' >/dev/null 2>&1 && fail "the save through the link reported a failure"

# Something on the clipboard to outlive the program.
click_action 97
xs_wait_name "系统提示" >/dev/null || fail "no notice after the last copy"
xdotool key --clearmodifiers Return
xs_wait_gone "系统提示" || fail "the notice stayed after Return"
clipboard_is "/wx/se" || fail "the last copy left '$(clipboard)'"

wmctrl -i -c "$wid"
xs_wait_name "系统询问" >/dev/null || fail "no exit question"
xdotool key Escape
sleep 0.5
xdotool search --onlyvisible --name '^系统询问$' >/dev/null || fail "Escape closed the question"
xdotool key --clearmodifiers alt+n
xs_wait_gone "系统询问" || fail "the question stayed after No"
kill -0 "$pid" 2>/dev/null || fail "No ended the program"
wmctrl -i -c "$wid"
xs_wait_name "系统询问" >/dev/null || fail "no exit question the second time"
xdotool key --clearmodifiers alt+y
status=0
for _ in $(seq 1 1500); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.02
done
kill -0 "$pid" 2>/dev/null && fail "Yes on the exit question did not end the program"
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
clipboard_is "/wx/se" || fail "after the program ended the clipboard holds '$(clipboard)'"
echo PASS
