#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence line at the top of every tracked source, script and CMake
# file that lacks it: as the first line, or after a shebang or shellcheck
# directive line. Idempotent: files that have it in their first three lines
# are left alone.
#   add-spdx.sh [repository top]   (default: this script's repository)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=${1:-$here/..}
# shellcheck source=tools/spdx-files.sh
. "$here/spdx-files.sh"

added=0
while IFS= read -r file; do
  path=$top/$file
  if head -n 3 "$path" | grep -qF "$spdx_tag"; then
    continue
  fi
  case $file in
    *.cpp | *.h) line="// $spdx_tag" ;;
    *) line="# $spdx_tag" ;;
  esac
  first=$(head -n 1 "$path")
  tmp=$(mktemp "$path.XXXXXX")
  case $first in
    '#!'* | '# shellcheck '*)
      { printf '%s\n%s\n' "$first" "$line"; tail -n +2 "$path"; } >"$tmp" ;;
    *)
      { printf '%s\n' "$line"; cat "$path"; } >"$tmp" ;;
  esac
  # Keep the file's mode (scripts stay executable).
  chmod --reference="$path" "$tmp"
  mv "$tmp" "$path"
  added=$((added + 1))
done < <(spdx_files "$top")
echo "licence line added to $added file(s)"
