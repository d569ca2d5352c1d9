#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line's help and a refusal in the language the locale asks for:
#   cli_language.sh ORBEL en|ru
# (CTest runs it under LANG=C, en_US.UTF-8 and ru_RU.UTF-8.)
set -euo pipefail

orbel=$1
want=$2
fail() { echo "FAIL (LANG=${LANG:-}): $*" >&2; exit 1; }

help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$orbel" --help)
status=0
refusal=$(env -u DISPLAY -u WAYLAND_DISPLAY "$orbel" play --frequency 5 --bogus 2>&1) || status=$?
[ "$status" -eq 2 ] || fail "a wrong option exits with $status, not 2"
[ "$(printf '%s\n' "$refusal" | wc -l)" -eq 1 ] || fail "refusal is not one line: $refusal"

case $want in
  en)
    [[ $help == "Usage: orbel "* ]] || fail "help: ${help%%$'\n'*}"
    [[ $help == *"Tone frequency, 20 to 20000 Hz"* ]] || fail "help lacks the English option text"
    [ "$refusal" = "orbel: Unknown option 'bogus'. (orbel --help lists the options)" ] ||
      fail "refusal: $refusal" ;;
  ru)
    [[ $help == "Использование: orbel "* ]] || fail "help: ${help%%$'\n'*}"
    [[ $help == *"Частота тона, от 20 до 20000 Гц"* ]] || fail "help lacks the Russian option text"
    [ "$refusal" = "orbel: Неизвестный параметр «bogus». (список параметров: orbel --help)" ] ||
      fail "refusal: $refusal" ;;
  *) fail "language $want" ;;
esac
echo "ok: help and refusal in $want under LANG=${LANG:-}"
