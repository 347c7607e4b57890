#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Formatting and static checks of the project's own code.
#   tools/lint.sh <build dir with compile_commands.json>
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

mapfile -t sources < <(git ls-files -- '*.cpp' '*.h' ':!:tests/version/corpus/*')
echo "clang-format: ${#sources[@]} files"
clang-format --dry-run -Werror "${sources[@]}"

# Only what this build compiles: programs for Windows alone have no entry in its database.
mapfile -t units < <(printf '%s\n' "${sources[@]}" | grep '\.cpp$' |
    while IFS= read -r unit; do
        grep -q -F "\"$PWD/$unit\"" "$build/compile_commands.json" && echo "$unit"
    done)
echo "clang-tidy: ${#units[@]} files"
printf '%s\n' "${units[@]}" |
    xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2>&1 |
    grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' |
    tee "$build/clang-tidy.log" || true
if grep -q -E 'error:|warning:' "$build/clang-tidy.log"; then
    echo "clang-tidy found problems"
    exit 1
fi
echo "lint: clean"
