#!/usr/bin/env bash
# Mirthkey's one entry point: installs what is missing, builds, and runs.
#   ./build.sh run            build and start the program (headless: screenshot)
#   ./build.sh test           build and run every test
#   ./build.sh bench          print the benchmark figures
#   ./build.sh fuzz [seconds] fuzz the version reader
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
    sleep 1
    local shot="$BUILD_DIR/screenshot.png"
    import -frame -window "$wid" "$shot"
    xs_close_program "$wid" "$pid"
    wait "$pid" || true
    echo "No display: ran under a private X server. Screenshot: $(realpath "$shot")"
}

cmd=${1:-}
case "$cmd" in
run)
    install_packages
    build
    run_program
    ;;
test)
    install_packages
    build
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$JOBS"
    ;;
bench)
    install_packages
    build
    tools/bench.sh "$BUILD_DIR"
    ;;
fuzz)
    install_packages
    tools/fuzz-version.sh "${2:-60}"
    ;;
*)
    sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
