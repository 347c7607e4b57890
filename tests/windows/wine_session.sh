# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the Wine end-to-end scripts: the test prefix, a private X server with a
# window manager, a scratch folder $work beside the prefix, and fail(); all of it is
# cleaned up when the script exits.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
"$root/tools/windows/wine-prefix.sh" >/dev/null
. "$root/tools/xsession.sh"
. "$root/tools/windows/wine-prefix.sh" --env
shared_prefix=$WINEPREFIX
xs_start
work=$(mktemp -d "$(dirname "$shared_prefix")/wine-test.XXXXXX")
wine_session_end() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
    xs_stop
}
trap wine_session_end EXIT
fail() {
    echo "FAIL: $*"
    [ ! -s "$work/err" ] || sed 's/^/  wine: /' "$work/err" | head -n 60
    exit 1
}

# Moves to a private copy of the test prefix: its files hard-linked, its registry files
# copied (Wine rewrites them by replacing them), so what is set there stays there.
use_private_prefix() {
    cp -al "$shared_prefix" "$work/prefix"
    local reg
    for reg in "$work"/prefix/*.reg; do
        cp --remove-destination "$shared_prefix/$(basename "$reg")" "$reg"
    done
    export WINEPREFIX=$work/prefix
}

# Wine's screen resolution in dots per inch (96 is 100 %) for programs started next.
set_wine_dpi() {
    wineserver -k 2>/dev/null || true
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        </dev/null >/dev/null 2>&1
    wineserver -w 2>/dev/null || true
}
