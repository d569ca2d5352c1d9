#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a test program holds a test that none of its parts' filters
# selects, so that no CTest test would run it.
#   check-test-parts.sh PROGRAM FILTERS   (FILTERS: the parts' patterns, ':'-joined)
set -eu
program=$1
filters=$2
listed=$("$program" --gtest_list_tests "--gtest_filter=-$filters")
missed=$(printf '%s\n' "$listed" | grep -c '^  ' || true)
if [ "$missed" -ne 0 ]; then
  echo "tests that no part of $(basename "$program") runs:"
  printf '%s\n' "$listed"
  exit 1
fi
total=$("$program" --gtest_list_tests | grep -c '^  ' || true)
echo "every one of the $total tests of $(basename "$program") belongs to a part"
