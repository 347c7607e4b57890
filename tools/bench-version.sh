#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the file-version reader (prints figures, asserts nothing).
#
#   tools/bench-version.sh <build-dir>
#
# Uses <build-dir>/tests/bench/bench_version, which the normal build makes. Builds a small PE with
# the MinGW resource compiler and linker in a temporary directory, pads a copy with a 200 MB
# section, and prints one line per figure: our read of the small and the large file, python
# pefile on the large one, and the ratio between the two.
set -euo pipefail

build=${1:?usage: tools/bench-version.sh <build-dir>}
bench=$build/tests/bench/bench_version
runs=${BENCH_VERSION_RUNS:-9}
python=/usr/bin/python3
[[ -x $bench ]] || { echo "bench-version: $bench is not built" >&2; exit 1; }
for tool in x86_64-w64-mingw32-windres x86_64-w64-mingw32-ld x86_64-w64-mingw32-objcopy; do
    command -v "$tool" >/dev/null || { echo "bench-version: $tool not found" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/bench-version.XXXXXX")
trap 'rm -rf "$work"' EXIT
cat >"$work/v.rc" <<'RC'
1 VERSIONINFO
FILEVERSION 1,2,0,65
PRODUCTVERSION 1,2,0,65
BEGIN
 BLOCK "StringFileInfo"
 BEGIN
  BLOCK "080404b0"
  BEGIN
   VALUE "FileVersion", "1.2.0.65"
   VALUE "ProductName", "Mirthkey"
  END
 END
 BLOCK "VarFileInfo"
 BEGIN
  VALUE "Translation", 0x804, 1200
 END
END
RC
x86_64-w64-mingw32-windres --preprocessor=cpp "$work/v.rc" -O coff -o "$work/v.o"
x86_64-w64-mingw32-ld "$work/v.o" -o "$work/small.exe" --entry=0
truncate -s 200M "$work/zeros"
x86_64-w64-mingw32-objcopy --add-section .pad="$work/zeros" \
    --set-section-flags .pad=contents,readonly,data "$work/small.exe" "$work/large.exe" \
    2> >(grep -v 'below image base' >&2)
rm "$work/zeros"

label() { echo "$(( ($(stat -c %s "$1") + 1023) / 1024 )) KB PE"; }
small_line=$("$bench" "$work/small.exe" "$(label "$work/small.exe")" "$runs")
large_line=$("$bench" "$work/large.exe" "200 MB PE" "$runs")
echo "$small_line"
echo "$large_line"
if [[ -x $build/app/mirthkey ]]; then
    "$bench" "$build/app/mirthkey" "mirthkey ELF" "$runs"
fi

if "$python" -c 'import pefile' 2>/dev/null; then
    pefile_line=$("$python" - "$work/large.exe" <<'PY'
import statistics, sys, time
import pefile
times = []
for _ in range(3):
    start = time.perf_counter()
    fixed = pefile.PE(sys.argv[1]).VS_FIXEDFILEINFO[0]
    times.append((time.perf_counter() - start) * 1000)
    assert (fixed.FileVersionMS, fixed.FileVersionLS) == (0x00010002, 0x00000041)
print(f"pefile read 200 MB PE: median {statistics.median(times):.3f} ms "
      f"(min {min(times):.3f}, max {max(times):.3f}), n={len(times)}")
PY
)
    echo "$pefile_line"
    ours=$(sed -E 's/.*median ([0-9.]+) ms.*/\1/' <<<"$large_line")
    theirs=$(sed -E 's/.*median ([0-9.]+) ms.*/\1/' <<<"$pefile_line")
    awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "version read speed-up over pefile, 200 MB PE: %.0fx\n", b / a }'
else
    echo "pefile read 200 MB PE: skipped (no python3-pefile)"
fi
