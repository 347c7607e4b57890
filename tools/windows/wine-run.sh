#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine in the project's prefix (tools/windows/wine-prefix.sh)
# and returns its exit status; CTest runs the Windows build's tests through it.
#   wine-run.sh <program.exe> [arguments...]
# Wine hands no variable named QT_* from the Unix environment to Windows programs, so
# those are set again inside, by a batch file that then starts the program. What the
# program writes reaches us through files, printed once it has ended: output of a
# program started from a batch file does not come through Wine's cmd. With
# MIRTHKEY_QTEST set the program is a Qt Test program, which without a console reports to
# the debugger only unless given a report file.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-prefix.sh" >/dev/null
. "$here/wine-prefix.sh" --env

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
program=$(winepath -w "$1" 2>/dev/null)
shift
# Each winepath is a Wine start: the scratch folder is named once.
inside=$(winepath -w "$scratch" 2>/dev/null)
args=("$@")
if [ -n "${MIRTHKEY_QTEST:-}" ]; then
    args+=(-o "$inside\\report.txt,txt")
fi
{
    printf '@echo off\r\n'
    while IFS= read -r assignment; do
        printf 'set %s\r\n' "$assignment"
    done < <(env | grep '^QT_[A-Za-z0-9_]*=' || true)
    printf '"%s"' "$program"
    for arg in "${args[@]}"; do
        printf ' "%s"' "$arg"
    done
    printf ' >"%s\\out" 2>"%s\\err"\r\n' "$inside" "$inside"
    printf 'exit /b %%ERRORLEVEL%%\r\n'
} >"$scratch/run.bat"
status=0
wine cmd /c "$inside\\run.bat" || status=$?
cat "$scratch/out" "$scratch/err" 2>/dev/null || true
[ ! -f "$scratch/report.txt" ] || cat "$scratch/report.txt"
exit "$status"
