#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The clipboard keeper in hostile surroundings. The program is copied into folders of
# its own and run from there; each run copies text and quits, and the text must still
# be on the clipboard afterwards, served by the program's own image:
#  - a world-writable folder with a planted "mirthkey-clipboard-keeper" beside the
#    program: the planted file never runs;
#  - a descriptor the program was started with (a lock): the keeper does not hold it;
#  - a folder whose name is not UTF-8: the caption still carries the version.
# Every keeper works in the root folder (the program's folder can be unmounted), shows no
# mark of keeper mode in its environment nor what the program set there for the toolkit,
# and holds one copy of the text (a text of 4 MB
# grows it by less than 6 MB).
set -euo pipefail
exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xsession.sh"
xs_start
work=$(mktemp -d)
trap 'for k in $(pgrep -x mirthkey-keeper || true); do
          case "$(readlink /proc/$k/exe)" in "$work"/*) kill "$k" ;; esac; done
      rm -rf "$work"; xs_stop' EXIT
# The build script's own switches (MIRTHKEY_SKIP_WINDOWS …) may be in the environment the
# suite runs in; the program must not inherit them, or they would pass for a keeper mark.
while read -r name; do unset "$name"; done < <(compgen -e | grep '^MIRTHKEY' || true)

# Runs the program at $1 (started by the command that follows), copies "$2", quits,
# and checks that its keeper serves the text.
copy_and_quit() {
    local program=$1 text=$2 pid wid
    shift 2
    "$@" &
    pid=$!
    wid=$(xs_wait_window "$pid") || fail "$program: no window"
    title=$(xdotool getwindowname "$wid")
    xdotool type --delay 20 "$text"
    xdotool key --clearmodifiers ctrl+a ctrl+c
    xs_wait_until -x "$text" xs_clipboard || fail "$program: the text was not copied"
    xs_close_program "$wid" "$pid" || fail "$program: did not end cleanly"
    [ "$(xclip -o -selection clipboard)" = "$text" ] || fail "$program: the copied text is gone"
    keeper=$(xs_keepers_of "$program")
    [ -n "$keeper" ] || fail "$program: no keeper of its own serves the text"
    [ "$(readlink "/proc/$keeper/cwd")" = / ] ||
        fail "$program: the keeper works in $(readlink "/proc/$keeper/cwd")"
    # Compared with the environment the program was started with: a MIRTHKEY_ variable of
    # the user's (a build setting) is the keeper's too. What the program set for the
    # toolkit (the platform, how images reach the X server) stays with the program.
    [ "$(tr '\0' '\n' <"/proc/$keeper/environ" | grep '^MIRTHKEY' | sort)" = "$(env | grep '^MIRTHKEY' | sort)" ] ||
        fail "$program: the keeper's environment marks it"
    [ "$(tr '\0' '\n' <"/proc/$keeper/environ" | grep '^QT_' | sort)" = "$(env | grep '^QT_' | sort)" ] ||
        fail "$program: the keeper inherited the program's settings for the toolkit"
}
rss_kib() { awk '/^VmRSS:/{print $2}' "/proc/$1/status"; }

# A world-writable, sticky folder where someone else left a file of the keeper's name.
shared=$work/shared
mkdir -m 1777 "$shared"
cp "$exe" "$shared/mirthkey"
printf '#!/bin/sh\ntouch "%s/planted-ran"\nsleep 5\n' "$work" >"$shared/mirthkey-clipboard-keeper"
chmod 755 "$shared/mirthkey-clipboard-keeper"
start=$SECONDS
copy_and_quit "$shared/mirthkey" "/wx" "$shared/mirthkey"
small_rss=$(rss_kib "$keeper")
[ ! -e "$work/planted-ran" ] || fail "the planted keeper ran"
[ $((SECONDS - start)) -lt 20 ] || fail "quitting waited for the keeper"

# Started holding a lock on descriptor 9: once the program has quit, the lock is free
# although the keeper runs on.
locked=$work/locked
mkdir "$locked"
cp "$exe" "$locked/mirthkey"
copy_and_quit "$locked/mirthkey" "/se" \
    bash -c 'exec 9>"$1/lock"; flock -n 9 || exit 1; exec "$1/mirthkey"' locker "$locked"
flock -n "$locked/lock" true || fail "the keeper holds the program's lock"

# A folder named with a byte that is not UTF-8.
bad=$work/$'bad\xffdir'
mkdir "$bad"
cp "$exe" "$bad/mirthkey"
copy_and_quit "$bad/mirthkey" "/ka" "$bad/mirthkey"
[ "$title" = "$(xs_caption)" ] || fail "from a non-UTF-8 folder the title is '$title'"

# A text of 4 MB, pasted into the box, copied and left behind.
big=$work/big
mkdir "$big"
cp "$exe" "$big/mirthkey"
python3 -c 'import sys; sys.stdout.write(("/wx/se/ka" * 11 + "\n") * 40000)' >"$work/big.txt"
xclip -selection clipboard -i "$work/big.txt"
"$big/mirthkey" &
pid=$!
wid=$(xs_wait_window "$pid") || fail "no window for the large text"
# The keys are taken in order: the copy comes once the paste is in. The clipboard then
# changes hands, from xclip (which offers no text/plain) to the program.
xdotool key --clearmodifiers ctrl+v ctrl+a ctrl+c
program_owns_clipboard() {
    timeout 5 xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -x text/plain >/dev/null
}
xs_wait_until -t 30 program_owns_clipboard || fail "the large text was not copied"
xs_close_program "$wid" "$pid" || fail "the program with the large text did not end cleanly"
cmp -s <(xclip -o -selection clipboard) "$work/big.txt" || fail "the large text did not outlive the program"
keeper=$(xs_keepers_of "$big/mirthkey")
[ -n "$keeper" ] || fail "no keeper serves the large text"
growth=$(($(rss_kib "$keeper") - small_rss))
echo "keeper memory for a text of $(($(stat -c %s "$work/big.txt") / 1024)) KiB: $growth KiB more than for 3 bytes"
if [ -z "${SANITIZED_BUILD:-}" ]; then
    [ "$growth" -lt 6144 ] || fail "the keeper holds $growth KiB more for a 4 MB text"
fi
echo PASS
