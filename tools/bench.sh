#!/usr/bin/env bash
# Prints every benchmark figure. Usage: tools/bench.sh <build dir>
set -euo pipefail
build=$(realpath "${1:-build}")
here=$(cd "$(dirname "$0")" && pwd)
runs=${BENCH_RUNS:-5}

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $(uname -sr), $(date -u +%Y-%m-%d)"

# Start-up under a private X server without a window manager, so that the map
# request reaches the root window directly.
XS_NO_WM=1
. "$here/xsession.sh"
xs_start
"$build/tests/bench/bench_startup" "$runs" "$build/app/mirthkey" "$build/tests/bench/bench_bare_window"
xs_stop

"$build/tests/bench/bench_insertion"
"$build/commands/bench/bench_commands"

# Idle CPU over 20 s: the window with its two 200 ms timers beside a bare window,
# both running at the same time under one X server with a window manager.
# CPU time in nanoseconds, all threads (schedstat is exact where stat counts 10 ms ticks).
cpu_ns() { cat /proc/$1/task/*/schedstat | awk '{ns += $1} END {printf "%d", ns}'; }
unset XS_NO_WM
xs_start
"$build/app/mirthkey" >/dev/null 2>&1 &
app=$!
"$build/tests/bench/bench_bare_window" >/dev/null 2>&1 &
bare=$!
sleep 3
idle_seconds=${BENCH_IDLE_SECONDS:-20}
a0=$(cpu_ns $app) b0=$(cpu_ns $bare)
sleep "$idle_seconds"
a1=$(cpu_ns $app) b1=$(cpu_ns $bare)
awk -v a=$((a1 - a0)) -v b=$((b1 - b0)) -v s="$idle_seconds" 'BEGIN {
    printf "idle CPU over %d s: mirthkey %.1f ms (%.3f %% of a core), bare window %.1f ms (%.3f %%)\n",
        s, a / 1e6, a / 1e7 / s, b / 1e6, b / 1e7 / s }'
kill $app $bare 2>/dev/null || true
wait $app $bare 2>/dev/null || true
xs_stop
