#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails, naming them, when a tracked source, script or CMake file lacks the
# licence line in its first three lines.
#   check-spdx.sh [repository top]   (default: this script's repository)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=${1:-$here/..}
# shellcheck source=tools/spdx-files.sh
. "$here/spdx-files.sh"

missing=0
while IFS= read -r file; do
  if ! head -n 3 "$top/$file" | grep -qF "$spdx_tag"; then
    echo "no licence line: $file"
    missing=$((missing + 1))
  fi
done < <(spdx_files "$top")

if [ "$missing" -ne 0 ]; then
  echo "$missing file(s) without '$spdx_tag' (tools/add-spdx.sh adds it)"
  exit 1
fi
