#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Mirthkey's one entry point: installs what is missing, builds, and runs. Without a
# command it lists the commands (the table COMMANDS below).
set -euo pipefail
cd "$(dirname "$0")"

BUILD_DIR=${BUILD_DIR:-build}
JOBS=$(nproc 2>/dev/null || echo 2)

install_packages() {
    local wanted missing=() pkg
    wanted=$(sed -e 's/#.*//' tools/debian-packages.txt | xargs)
    for pkg in $wanted; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q </dev/null
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
}

build() {
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD_DIR" -j"$JOBS"
}

# The whole suite once more, built with AddressSanitizer and UndefinedBehaviorSanitizer;
# any report fails the run. A subshell: its sanitizer settings stay with it.
test_sanitized() (
    local dir=${BUILD_DIR}-sanitizers
    local flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    # Without the release hardening: the sanitizers check the same accesses their own way.
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" -DMIRTHKEY_HARDENING=OFF >/dev/null
    cmake --build "$dir" -j"$JOBS"
    export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1
    export LSAN_OPTIONS="suppressions=$PWD/tools/sanitizers/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ctest --test-dir "$dir" --output-on-failure -j"$JOBS" -E '^e2e_'
    # The sanitized program under a real X server on a loaded two-core machine has, once in
    # many runs, not shown its window within 30 s; an end-to-end test may run a second time.
    # A first failure stays in the log, with the program's threads (xs_diagnose).
    ctest --test-dir "$dir" --output-on-failure -j"$JOBS" -R '^e2e_' --repeat until-pass:2
)

run_program() {
    local exe="$BUILD_DIR/app/mirthkey"
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        exec "$exe"
    fi
    # No display: run under a private X server, take a screenshot, end cleanly.
    . tools/xsession.sh
    xs_start
    "$exe" &
    local pid=$! wid
    wid=$(xs_wait_window "$pid" 20) || { echo "the window did not appear" >&2; exit 1; }
    # Framed, centred and drawn before the picture is taken.
    xs_wait_centred "$wid" 20 && xs_wait_drawn "$wid" 100 20 ||
        echo "the window had not settled; the screenshot may show it unfinished" >&2
    local shot="$BUILD_DIR/screenshot.png"
    import -frame -window "$wid" "$shot"
    xs_close_program "$wid" "$pid"
    wait "$pid" || true
    echo "No display: ran under a private X server. Screenshot: $(realpath "$shot")"
}

# A static mirthkey.exe for 64-bit Windows, against a Qt cross-built once from Debian's
# source into the cache (tools/windows/qt-mingw.sh), with its tests, which CTest runs under
# Wine; then the zip with the licence and the notices. The toolchain file is passed again
# because the cached Qt may have been built from another checkout.
WINDOWS_DIR=${BUILD_DIR_WINDOWS:-build-windows}
build_windows() {
    local qt
    qt=$(tools/windows/qt-mingw.sh | tail -n1)
    cmake -S . -B "$WINDOWS_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/tools/windows/mingw-w64.cmake" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/tools/windows/wine-run.sh" \
        -DMIRTHKEY_LINUX_PROGRAM="$PWD/$BUILD_DIR/app/mirthkey" >/dev/null
    cmake --build "$WINDOWS_DIR" -j"$JOBS"
    (cd "$WINDOWS_DIR" && cpack -G ZIP -B . >/dev/null && rm -rf _CPack_Packages)
    echo "Windows program: $(realpath "$WINDOWS_DIR/mirthkey.exe")"
    echo "Windows package: $(realpath "$WINDOWS_DIR"/mirthkey-*-windows-x86_64.zip)"
}

# The Windows tests need the Linux program, whose drawing they compare with.
test_windows() {
    tools/windows/wine-prefix.sh >/dev/null
    build_windows
    ctest --test-dir "$WINDOWS_DIR" --output-on-failure -j"$JOBS"
}

# The commands: name, its arguments, what it does. The list printed without a command and
# the dispatch below both read this table; each name has a function cmd_<name>.
COMMANDS=(
    "run||build and start the program (headless: screenshot)"
    "test||build and run every test"
    "bench||print the benchmark figures"
    "fuzz|[seconds]|fuzz the version reader"
    "lint||clang-format and clang-tidy on the project's code"
    "package||build the Debian package into build/package"
    "windows||cross-build mirthkey.exe and its zip into build-windows"
)

cmd_run() {
    install_packages
    build
    run_program
}

cmd_test() {
    install_packages
    build
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$JOBS"
    [ -n "${MIRTHKEY_SKIP_SANITIZERS:-}" ] || test_sanitized
    [ -n "${MIRTHKEY_SKIP_WINDOWS:-}" ] || test_windows
}

cmd_lint() {
    install_packages
    build
    tools/lint.sh "$BUILD_DIR"
}

cmd_package() {
    install_packages
    build
    cpack --config "$BUILD_DIR/CPackConfig.cmake" -B "$BUILD_DIR/package"
    ls "$BUILD_DIR"/package/*.deb
}

cmd_bench() {
    install_packages
    build
    tools/bench.sh "$BUILD_DIR"
}

cmd_windows() {
    install_packages
    build
    build_windows
}

cmd_fuzz() {
    install_packages
    tools/fuzz-version.sh "${1:-60}"
}

usage() {
    local entry name args what
    echo "Usage: ./build.sh <command>"
    for entry in "${COMMANDS[@]}"; do
        IFS='|' read -r name args what <<<"$entry"
        printf '  ./build.sh %-18s %s\n' "$name${args:+ $args}" "$what"
    done
}

for entry in "${COMMANDS[@]}"; do
    if [ "${entry%%|*}" = "${1:-}" ]; then
        shift
        "cmd_${entry%%|*}" "$@"
        exit
    fi
done
usage
exit 2
