#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every shell script of the source tree under shellcheck, the files they
# source included. Build folders (build*/) are left out.
#   tools/check-scripts.sh
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t scripts < <(find . \( -path './build*' -o -path ./.git \) -prune -o -name '*.sh' -print | sort)
scripts+=(.ci/run)
shellcheck -x "${scripts[@]}"
echo "shellcheck: ${#scripts[@]} scripts clean"
