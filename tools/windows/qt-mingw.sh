#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt for 64-bit Windows (static, release, Widgets) from Debian's own qt6-base
# source with MinGW-w64, once, into a cache folder outside the work tree:
#   ${MIRTHKEY_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/mirthkey}/qt-mingw-<key>
# The key is a hash of this recipe (this script, the toolchain file, any patch in
# tools/windows/patches/) and of the host Qt version whose tools the cross build uses;
# a changed recipe builds a new tree beside the old one.
#
#   tools/windows/qt-mingw.sh            build if missing; print the prefix last
#   tools/windows/qt-mingw.sh --prefix   print the prefix only, build nothing
#
# Needs no display and no stdin. Everything happens in <prefix>.work and the finished
# tree is renamed into place only when complete, so an interrupted run leaves no
# half-built prefix; the next run resumes the compile if configuring had finished.
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
CACHE=${MIRTHKEY_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/mirthkey}
TOOLCHAIN=$HERE/mingw-w64.cmake
JOBS=${JOBS:-$(nproc 2>/dev/null || echo 2)}

# Only what the cross build needs; the Linux build's own list is tools/debian-packages.txt.
PACKAGES="g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake ninja-build perl
          dpkg-dev xz-utils qt6-base-dev qt6-base-dev-tools"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    as_root apt-get update -q </dev/null >&2
    as_root apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null >&2
}

host_qt_version() {
    dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo none
}

recipe_key() {
    {
        cat "$HERE/qt-mingw.sh" "$TOOLCHAIN"
        find "$HERE/patches" -type f -name '*.patch' 2>/dev/null | LC_ALL=C sort | xargs -r cat
        host_qt_version
    } | sha256sum | cut -c1-12
}

# Source packages need a deb-src entry; add one mirroring the machine's Debian entry
# (same archive, suites and keyring) when there is none.
ensure_deb_src() {
    if grep -rqs '^deb-src\|^Types:.*deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return 0
    fi
    local src=/etc/apt/sources.list.d/debian.sources
    [ -f "$src" ] || { echo "no Debian sources entry to mirror in $src" >&2; exit 1; }
    sed 's/^Types:.*/Types: deb-src/' "$src" | as_root tee /etc/apt/sources.list.d/mirthkey-deb-src.sources >/dev/null
    as_root apt-get update -q </dev/null >&2
}

fetch_source() {
    local work=$1 version
    version=$(host_qt_version)
    rm -rf "$work/src.tmp"
    mkdir -p "$work/src.tmp"
    (cd "$work/src.tmp" && apt-get source -q "qt6-base=$version" </dev/null >&2)
    local dir
    dir=$(find "$work/src.tmp" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
    [ -n "$dir" ] || { echo "apt-get source gave no qt6-base folder" >&2; exit 1; }
    if [ -d "$HERE/patches" ]; then
        local p
        for p in $(find "$HERE/patches" -type f -name '*.patch' | LC_ALL=C sort); do
            patch -d "$dir" -p1 --forward <"$p" >&2
        done
    fi
    mv "$dir" "$work/src"
    rm -rf "$work/src.tmp"
}

configure_qt() {
    local work=$1 prefix=$2
    rm -rf "$work/build"
    mkdir -p "$work/build"
    # The host's moc/rcc/uic and Qt's host CMake files come from Debian's own Qt of the
    # same version. Qt's configure ignores -device-option CROSS_COMPILE=, hence the
    # toolchain file. Debian's tarball lacks the wintab headers (tabletevent); direct2d
    # stays on because the Windows platform plugin's DirectWrite font database needs it.
    (cd "$work/build" && "$work/src/configure" \
        -prefix "$prefix" \
        -release -static -opensource -confirm-license \
        -platform linux-g++ -xplatform win32-g++ \
        -qt-host-path /usr \
        -nomake examples -nomake tests \
        -qt-zlib -qt-libpng -no-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre \
        -no-opengl -no-icu -no-fontconfig -no-dbus \
        -no-feature-sql -no-feature-network -no-feature-printsupport \
        -no-feature-xml -no-feature-concurrent \
        -no-feature-tabletevent \
        -- -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF </dev/null >&2)
    touch "$work/configured"
}

main() {
    local key prefix work
    key=$(recipe_key)
    prefix=$CACHE/qt-mingw-$key
    if [ "${1:-}" = --prefix ]; then
        echo "$prefix"
        return 0
    fi
    if [ -f "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
        echo "$prefix"
        return 0
    fi

    mkdir -p "$CACHE"
    # One builder per recipe at a time; a second caller waits and then reuses.
    exec 9>"$prefix.lock"
    flock 9
    if [ -f "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
        echo "$prefix"
        return 0
    fi

    install_packages $PACKAGES
    work=$prefix.work
    mkdir -p "$work"
    if [ ! -f "$work/configured" ]; then
        ensure_deb_src
        rm -rf "$work/src"
        fetch_source "$work"
        configure_qt "$work" "$prefix"
    fi
    echo "Building Qt for Windows in $work/build (long: about 1000 steps)" >&2
    cmake --build "$work/build" --parallel "$JOBS" >&2
    rm -rf "$work/stage"
    DESTDIR=$work/stage cmake --install "$work/build" >&2
    [ -f "$work/stage$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ] ||
        { echo "the installed Qt has no qt.toolchain.cmake" >&2; exit 1; }
    rm -rf "$prefix"
    mv "$work/stage$prefix" "$prefix"
    rm -rf "$work"
    echo "$prefix"
}

main "$@"
