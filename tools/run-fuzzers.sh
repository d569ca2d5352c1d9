#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every libFuzzer binary in a folder for a bounded time, each from its
# seed corpus (tests/*/corpus/<fuzzer name>/) copied to a scratch folder.
set -euo pipefail
dir=$1
seconds=${2:-45}
root="$(cd "$(dirname "$0")/.." && pwd)"
shopt -s nullglob
for fuzzer in "$dir"/*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  work=$(mktemp -d)
  for seeds in "$root"/tests/*/corpus/"$name"; do
    cp -r "$seeds"/. "$work"/
  done
  echo "-- $name"
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 "$work" 2>"$work.log" || {
    tail -n 60 "$work.log"; echo "fuzzer $name found a problem"; exit 1; }
  grep -E '^Done|#[0-9]+.*DONE' "$work.log" | tail -n 1 || true
  rm -rf "$work" "$work.log"
done
