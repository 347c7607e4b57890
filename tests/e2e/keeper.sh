#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The clipboard keeper in hostile surroundings. The program is copied into folders of
# its own and run from there; each run copies text and quits, and the text must still
# be on the clipboard afterwards, served by the program's own image:
#  - a world-writable folder with a planted "mirthkey-clipboard-keeper" beside the
#    program: the planted file never runs;
#  - a descriptor the program was started with (a lock): the keeper does not hold it;
#  - a folder whose name is not UTF-8: the caption still carries the version.
set -euo pipefail
exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xsession.sh"
xs_start
work=$(mktemp -d)
trap 'for k in $(pgrep -x mirthkey-keeper || true); do
          case "$(readlink /proc/$k/exe)" in "$work"/*) kill "$k" ;; esac; done
      rm -rf "$work"; xs_stop' EXIT
fail() { echo "FAIL: $*"; exit 1; }

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
    sleep 0.2
    xs_close_program "$wid" "$pid" || fail "$program: did not end cleanly"
    [ "$(xclip -o -selection clipboard)" = "$text" ] || fail "$program: the copied text is gone"
    [ -n "$(xs_keepers_of "$program")" ] || fail "$program: no keeper of its own serves the text"
}

# A world-writable, sticky folder where someone else left a file of the keeper's name.
shared=$work/shared
mkdir -m 1777 "$shared"
cp "$exe" "$shared/mirthkey"
printf '#!/bin/sh\ntouch "%s/planted-ran"\nsleep 5\n' "$work" >"$shared/mirthkey-clipboard-keeper"
chmod 755 "$shared/mirthkey-clipboard-keeper"
start=$SECONDS
copy_and_quit "$shared/mirthkey" "/wx" "$shared/mirthkey"
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
[ "$title" = "Mirthkey$(date +%Y)  V1.2.0 Build 65" ] || fail "from a non-UTF-8 folder the title is '$title'"
echo PASS
