#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints every benchmark figure in one table. Usage: tools/bench.sh <build dir>
# BENCH_RUNS sets the number of runs for the start-up and idle figures (5).
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

# Idle CPU: the window with its two 200 ms timers beside a bare window, both running
# at the same time under one X server with a window manager; runs of 4 s, scaled to
# 20 s. CPU time from schedstat (nanoseconds, all threads).
cpu_ns() { cat /proc/$1/task/*/schedstat | awk '{ns += $1} END {printf "%d", ns}'; }
unset XS_NO_WM
xs_start
trap 'xs_stop; rm -f "$out"' EXIT
"$build/app/mirthkey" >/dev/null 2>&1 &
app=$!
"$build/tests/bench/bench_bare_window" >/dev/null 2>&1 &
bare=$!
sleep 3
app_runs=() bare_runs=()
for _ in $(seq 1 "$runs"); do
    a0=$(cpu_ns $app) b0=$(cpu_ns $bare)
    sleep 4
    a1=$(cpu_ns $app) b1=$(cpu_ns $bare)
    app_runs+=($(((a1 - a0) * 5))) bare_runs+=($(((b1 - b0) * 5)))
done
kill $app $bare 2>/dev/null || true
wait $app $bare 2>/dev/null || true
xs_stop
summary() { # label, values in ns per 20 s
    local label=$1
    shift
    printf '%s\n' "$@" | sort -n | awk -v label="$label" '{v[NR] = $1}
        END { m = v[int((NR + 1) / 2)];
              printf "%s: median %.1f ms (min %.1f, max %.1f), n=%d, %.3f %% of a core\n",
                     label, m / 1e6, v[1] / 1e6, v[NR] / 1e6, NR, m / 2e8 }'
}
summary "idle CPU per 20 s, mirthkey" "${app_runs[@]}" >>"$out"
summary "idle CPU per 20 s, bare Qt window" "${bare_runs[@]}" >>"$out"

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
