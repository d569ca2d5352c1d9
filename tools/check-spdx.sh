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
# One awk over every file (reading at most three lines of each) rather than
# two processes per file: the list is long.
mapfile -t files < <(spdx_files "$top" | sed 's|^|./|')
lacking=""
if [ "${#files[@]}" -ne 0 ]; then
  lacking=$(cd "$top" && awk -v tag="$spdx_tag" '
    BEGIN { for (i = 1; i < ARGC; i++) lacking[ARGV[i]] = 1 }
    FNR > 3 { nextfile }
    index($0, tag) { delete lacking[FILENAME]; nextfile }
    END { for (i = 1; i < ARGC; i++) if (ARGV[i] in lacking) print ARGV[i] }' "${files[@]}")
fi
while IFS= read -r file; do
  [ -n "$file" ] || continue
  echo "no licence line: ${file#./}"
  missing=$((missing + 1))
done <<<"$lacking"

if [ "$missing" -ne 0 ]; then
  echo "$missing file(s) without '$spdx_tag' (tools/add-spdx.sh adds it)"
  exit 1
fi
