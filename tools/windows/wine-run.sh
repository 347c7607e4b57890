#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine in the project's prefix (tools/windows/wine-prefix.sh),
# with its exit status; CTest uses it to run the Windows build's test programs.
#   wine-run.sh <program.exe> [arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-prefix.sh" >/dev/null
. "$here/wine-prefix.sh" --env
exec wine "$@"
