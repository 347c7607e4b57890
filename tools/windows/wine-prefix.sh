#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prepares the Wine prefix the Windows tests run in, once, in the cache folder outside
# the work tree (it is about 700 MB):
#   ${MIRTHKEY_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/mirthkey}/wine-<key>
# The key is a hash of this script and the Wine version, so a changed setup makes a new
# prefix. Prints the prefix last. Source it instead to get WINEPREFIX and the settings
# every Wine run here uses:  . tools/windows/wine-prefix.sh --env
#
# In the prefix "SimSun" and "宋体" are substitutes for "AR PL UMing CN", the font the
# Linux build draws with, registered with its file, so that both builds can be compared pixel for pixel; the crash
# dialog is off, and no Mono or Gecko installer is offered.

wine_prefix_dir() {
    local here cache version key
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    cache=${MIRTHKEY_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/mirthkey}
    version=$(dpkg-query -W -f='${Version}' wine64 2>/dev/null || echo none)
    key=$({ cat "$here/wine-prefix.sh"; echo "$version"; } | sha256sum | cut -c1-12)
    echo "$cache/wine-$key"
}

wine_settings() {
    WINEPREFIX=$(wine_prefix_dir)
    export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

wine_prefix_create() {
    local prefix=$WINEPREFIX
    [ -f "$prefix/.mirthkey-ready" ] && return 0
    mkdir -p "$(dirname "$prefix")"
    exec 8>"$prefix.lock"
    flock 8
    [ -f "$prefix/.mirthkey-ready" ] && return 0
    rm -rf "$prefix"
    echo "Creating the Wine prefix $prefix" >&2
    wine wineboot --init </dev/null >&2 2>/dev/null
    local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    local name
    for name in SimSun 宋体 NSimSun; do
        wine reg add "$key" /v "$name" /t REG_SZ /d "AR PL UMing CN" /f </dev/null >/dev/null 2>&1
    done
    # Wine finds the build machine's fonts by itself but lists none in the registry, where
    # Qt's FreeType engine looks a font's file up.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
        /v 'AR PL UMing CN & AR PL UMing HK & AR PL UMing TW & AR PL UMing TW MBE (TrueType)' \
        /t REG_SZ /d 'Z:\usr\share\fonts\truetype\arphic\uming.ttc' /f </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$prefix/.mirthkey-ready"
}

if [ "${1:-}" = --env ]; then
    wine_settings
    return 0 2>/dev/null || exit 0
fi
set -euo pipefail
wine_settings
wine_prefix_create
echo "$WINEPREFIX"
