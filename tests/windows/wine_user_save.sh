#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows save under Wine as an ordinary user, in folders that take no new file: one
# its user may not add files to (mode 555; Wine lets root add files anywhere) and, where
# a file system may be mounted, a full disk (a small tmpfs). The user "nobody" runs the
# save test's folderTakingNoNewFile in a Wine prefix of its own, since Wine runs only in
# a prefix its user owns; the folders are named to it in MIRTHKEY_CLOSED_FOLDER and
# MIRTHKEY_FULL_FOLDER, the QT_* variables passed on as tools/windows/wine-run.sh does.
#   wine_user_save.sh <the save test's .exe>
# Without root or a user "nobody" it is skipped (status 77).
set -euo pipefail
exe=$(realpath "$1")
if [ "$(id -u)" -ne 0 ] || ! getent passwd nobody >/dev/null; then
    echo "SKIP: needs root, to run Wine as the user \"nobody\""
    exit 77
fi
user=$(id -u nobody)
group=$(id -g nobody)
work=$(mktemp -d)
chmod 755 "$work"
as_user() {
    setpriv --reuid="$user" --regid="$group" --clear-groups \
        env HOME="$work/home" WINEPREFIX="$work/home/prefix" WINEARCH=win64 WINEDEBUG=-all \
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" "$@"
}
end() {
    as_user wineserver -k 2>/dev/null || true
    umount "$work/full" 2>/dev/null || true
    rm -rf "$work"
}
trap end EXIT
windows() { printf 'Z:%s' "${1//\//\\}"; }

mkdir "$work/home"
cp "$exe" "$work/test.exe" # the build folder may be closed to other users
chown "$user:$group" "$work/home" "$work/test.exe"
as_user wine wineboot --init </dev/null >/dev/null 2>&1

# 16 KB of old text in each file, more than the full disk has left.
old=$(for _ in $(seq 1 400); do printf 'the old text, longer than the new one.\r\n'; done)
mkdir "$work/closed"
printf '%s' "$old" >"$work/closed/codes.txt"
printf '%s' "$old" >"$work/closed/read-only.txt"
chmod 444 "$work/closed/read-only.txt"
chown -R "$user:$group" "$work/closed"
chmod 555 "$work/closed"

mkdir "$work/full"
full=
if mount -t tmpfs -o "size=64k,mode=755,uid=$user,gid=$group" tmpfs "$work/full" 2>/dev/null; then
    printf '%s' "$old" >"$work/full/codes.txt"
    dd if=/dev/zero of="$work/full/filler" bs=4k 2>/dev/null || true
    chown "$user:$group" "$work/full/codes.txt" "$work/full/filler"
    full=$(windows "$work/full")
else
    echo "no tmpfs could be mounted: the full disk is not tried"
fi

{
    printf '@echo off\r\n'
    while IFS= read -r assignment; do
        printf 'set %s\r\n' "$assignment"
    done < <(env | grep '^QT_[A-Za-z0-9_]*=' || true)
    printf 'set MIRTHKEY_CLOSED_FOLDER=%s\r\n' "$(windows "$work/closed")"
    [ -z "$full" ] || printf 'set MIRTHKEY_FULL_FOLDER=%s\r\n' "$full"
    printf '"%s" folderTakingNoNewFile -o "%s,txt" >"%s" 2>&1\r\n' "$(windows "$work/test.exe")" \
        "$(windows "$work/home/report.txt")" "$(windows "$work/home/out")"
    printf 'exit /b %%ERRORLEVEL%%\r\n'
} >"$work/run.bat"
status=0
as_user wine cmd /c "$(windows "$work/run.bat")" || status=$?
cat "$work/home/out" "$work/home/report.txt" 2>/dev/null || true
exit "$status"
