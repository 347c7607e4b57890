#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the cache logic of tools/windows/qt-mingw.sh without building Qt: where the
# prefix goes, what its key depends on, reuse of a finished tree, and that only a
# complete install is moved into place. apt, dpkg-query and cmake are stand-ins on PATH.
#   qt_cache.sh <source dir> <case>
set -euo pipefail
source_dir=$1
case_name=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A private copy of the recipe, which the cases may change.
recipe=$scratch/recipe
mkdir -p "$recipe"
cp "$source_dir"/tools/windows/qt-mingw.sh "$source_dir"/tools/windows/mingw-w64.cmake "$recipe"/
script=$recipe/qt-mingw.sh

# Stand-ins: every package counts as installed; apt-get must never be reached; cmake
# --install writes whatever $FAKE_INSTALL lists under $DESTDIR$prefix.
fakes=$scratch/bin
mkdir -p "$fakes"
cat >"$fakes/dpkg-query" <<'FAKE'
#!/bin/sh
case "$*" in *Version*) echo 6.4.2+test ;; *) echo 'install ok installed' ;; esac
FAKE
cat >"$fakes/apt-get" <<'FAKE'
#!/bin/sh
echo "apt-get $*" >>"$FAKE_LOG"
exit 1
FAKE
cat >"$fakes/cmake" <<'FAKE'
#!/bin/sh
echo "cmake $*" >>"$FAKE_LOG"
if [ "$1" = --install ]; then
    for file in $FAKE_INSTALL; do
        mkdir -p "$(dirname "$DESTDIR$FAKE_PREFIX/$file")"
        : >"$DESTDIR$FAKE_PREFIX/$file"
    done
fi
FAKE
chmod +x "$fakes"/*
export PATH=$fakes:$PATH FAKE_LOG=$scratch/log
: >"$FAKE_LOG"

export HOME=$scratch/home MIRTHKEY_CACHE=$scratch/cache
unset XDG_CACHE_HOME
prefix=$("$script" --prefix)
key_of() { basename "$("$script" --prefix)"; }
toolchain=lib/cmake/Qt6/qt.toolchain.cmake

case $case_name in
location)
    [[ $(basename "$prefix") =~ ^qt-mingw-[0-9a-f]{12}$ ]] || fail "prefix name $prefix"
    [ "$(dirname "$prefix")" = "$scratch/cache" ] || fail "MIRTHKEY_CACHE ignored: $prefix"
    [ "$(MIRTHKEY_CACHE='' XDG_CACHE_HOME=$scratch/xdg "$script" --prefix)" = \
        "$scratch/xdg/mirthkey/$(basename "$prefix")" ] || fail "XDG_CACHE_HOME ignored"
    [ "$(MIRTHKEY_CACHE='' "$script" --prefix)" = "$HOME/.cache/mirthkey/$(basename "$prefix")" ] ||
        fail "no fallback to ~/.cache"
    [ ! -e "$scratch/cache" ] || fail "--prefix created the cache"
    ;;
key)
    # Each part of the recipe changes the key; the same recipe keeps it.
    before=$(key_of)
    [ "$(key_of)" = "$before" ] || fail "key not stable"
    echo '# changed' >>"$recipe/mingw-w64.cmake"
    after_toolchain=$(key_of)
    [ "$after_toolchain" != "$before" ] || fail "toolchain file not in the key"
    mkdir "$recipe/patches"
    printf -- '--- a/x\n+++ b/x\n' >"$recipe/patches/0001-fix.patch"
    after_patch=$(key_of)
    [ "$after_patch" != "$after_toolchain" ] || fail "patch not in the key"
    echo '# changed' >>"$script"
    [ "$(key_of)" != "$after_patch" ] || fail "script not in the key"
    ;;
reuse)
    mkdir -p "$(dirname "$prefix/$toolchain")"
    : >"$prefix/$toolchain"
    [ "$("$script")" = "$prefix" ] || fail "finished tree not reused"
    [ ! -s "$FAKE_LOG" ] || fail "a finished tree was rebuilt: $(cat "$FAKE_LOG")"
    ;;
resume)
    # An interrupted run left a configured work folder and a half-installed prefix:
    # the compile resumes, and only the complete install replaces the prefix.
    mkdir -p "$prefix.work/build" "$prefix/lib"
    touch "$prefix.work/configured" "$prefix/lib/stale"
    FAKE_PREFIX=$prefix FAKE_INSTALL="$toolchain lib/libQt6Core.a" "$script" >"$scratch/out"
    [ "$(tail -n1 "$scratch/out")" = "$prefix" ] || fail "prefix not printed last"
    [ -f "$prefix/$toolchain" ] && [ -f "$prefix/lib/libQt6Core.a" ] || fail "install not moved into place"
    [ ! -e "$prefix/lib/stale" ] || fail "half-built prefix kept"
    [ ! -e "$prefix.work" ] || fail "work folder left behind"
    grep -q "^cmake --build $prefix.work/build" "$FAKE_LOG" || fail "no resumed build"
    ! grep -q '^apt-get' "$FAKE_LOG" || fail "configured work folder fetched again"
    ;;
incomplete)
    mkdir -p "$prefix.work/build"
    touch "$prefix.work/configured"
    if FAKE_PREFIX=$prefix FAKE_INSTALL=lib/libQt6Core.a "$script" >"$scratch/out" 2>/dev/null; then
        fail "an install without qt.toolchain.cmake succeeded"
    fi
    [ ! -e "$prefix" ] || fail "incomplete install moved into place"
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
echo "PASS: $case_name"
