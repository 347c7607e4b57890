#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints every benchmark figure in one table. Usage: tools/bench.sh <build dir>
# BENCH_RUNS sets the number of runs for the start-up and idle figures (5),
# BENCH_IDLE_SECONDS the length of each idle measurement (20).
set -euo pipefail
build=$(realpath "${1:-build}")
here=$(cd "$(dirname "$0")" && pwd)
runs=${BENCH_RUNS:-5}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then # a private one for the offscreen benchmarks too
    export XDG_RUNTIME_DIR="/tmp/mirthkey-bench-runtime-$(id -u)"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi

# Start-up under a private X server without a window manager, so that the map
# request reaches the root window directly.
XS_NO_WM=1
. "$here/xsession.sh"
xs_start
trap 'xs_stop; rm -f "$out"' EXIT
"$build/tests/bench/bench_startup" "$runs" "$build/app/mirthkey" \
    "$build/tests/bench/bench_bare_window" >>"$out"
xs_stop

# Start-up with a window manager, peak memory and the idle cost, each program alone in an
# X session of its own: the window, beside a window that shows a line of text and beside
# the floor, its two decorations done the plain way (tools/bench-idle.py).
python3 "$here/bench-idle.py" --runs "$runs" --idle "${BENCH_IDLE_SECONDS:-20}" \
    --bare "hello window" --floor "plain animation" \
    "hello window=$build/tests/bench/bench_hello_window" \
    "plain animation=$build/tests/bench/bench_plain_animation" \
    "mirthkey=$build/app/mirthkey" >>"$out"

"$build/tests/bench/bench_insertion" >>"$out"
"$build/tests/bench/bench_commands" >>"$out"
"$here/bench-version.sh" "$build" >>"$out"

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
    "$(free -g | awk '/Mem:/{print $2}') GiB, $(uname -sr), Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo 6)," \
    "$(date -u +%Y-%m-%d)"
echo
echo "| Figure | Result |"
echo "|---|---|"
grep -E '^[^:]+: ' "$out" | sed -E 's/^([^:]+): (.*)$/| \1 | \2 |/'
