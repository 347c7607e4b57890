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
