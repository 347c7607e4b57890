#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzzes the file-version reader with libFuzzer, AddressSanitizer and UBSan.
#
#   tools/fuzz-version.sh [seconds]     (default 60)
#
# Builds in build-fuzz-version/ (or $MIRTHKEY_FUZZ_BUILD_DIR) with clang++, starts from the
# committed corpus tests/version/corpus/ and keeps what it learns in <build>/corpus/. A crash is
# written to <build>/artifacts/; minimize it with
#   <build>/fuzz_version -minimize_crash=1 -runs=10000 <crash-file>
# and commit the result under tests/version/corpus/ so the normal test run replays it.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MIRTHKEY_FUZZ_BUILD_DIR:-$root/build-fuzz-version}

cmake -S "$root/tests/version/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
mkdir -p "$build/corpus" "$build/artifacts"

status=0
"$build/fuzz_version" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
    -artifact_prefix="$build/artifacts/" -print_final_stats=1 \
    "$build/corpus" "$root/tests/version/corpus" || status=$?

if compgen -G "$build/artifacts/*" >/dev/null; then
    echo "fuzz-version: findings in $build/artifacts/:" >&2
    ls -l "$build/artifacts/" >&2
    [[ $status != 0 ]] || status=1
fi
exit "$status"
