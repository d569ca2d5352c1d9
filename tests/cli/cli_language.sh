#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line's help and refusals in the language the locale asks for:
#   cli_language.sh ORBEL en|ru
# (CTest runs it under LANG=C, en_US.UTF-8 and ru_RU.UTF-8.)
set -euo pipefail

orbel=$1
want=$2
fail() { echo "FAIL (LANG=${LANG:-}): $*" >&2; exit 1; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY "$orbel" "$@"; }

# Each row: the arguments | the English refusal | the Russian one. They come
# from the parser, from an option's reader and from a combination of options.
rows=(
  "play --frequency 5 --bogus|Unknown option 'bogus'. (orbel --help lists the options)|Неизвестный параметр «bogus». (список параметров: orbel --help)"
  "play --classic --frequency 0|--frequency must be a whole number from 20 to 20000 (Hz), not '0'|--frequency: нужно целое число от 20 до 20000 (Гц), а не '0'"
  "play --frequency 997,5|--frequency '997,5': use a point for decimals, not a comma|--frequency '997,5': дробную часть отделяйте точкой, а не запятой"
  "export a.wav --frequency 997,5|--frequency '997,5': use a point for decimals, not a comma|--frequency '997,5': дробную часть отделяйте точкой, а не запятой"
  "export a.wav --frequency 50000|--frequency must be from 1 to 43200 Hz at 96000 samples per second, not '50000'|--frequency: нужно от 1 до 43200 Гц при 96000 отсчётах в секунду, а не '50000'"
  "play --sweep 20:20000 --fade 6000|--fade must be a whole number from 0 to 5000 (ms, at most half the sweep), not '6000'|--fade: нужно целое число от 0 до 5000 (мс, не больше половины качания), а не '6000'"
  "play --am 1:50:sine:99999|--am '1:50:sine:99999': FREQUENCY must make the level play from 20 to 20000 Hz (a multiple of the tone's 440 Hz)|--am '1:50:sine:99999': FREQUENCY должно давать частоту уровня от 20 до 20000 Гц (как множитель частоты тона 440 Гц)"
  "play --waveform ccif --note A|--waveform ccif sets its own frequencies: drop --frequency and --note|--waveform ccif задаёт частоты сам: уберите --frequency и --note"
  "calibrate --device x --measured abc|--measured must be the meter's reading in volts above 0, such as 0.245, 0.245V or 245mV, not 'abc'|--measured: нужно показание вольтметра в вольтах больше 0, например 0.245, 0.245V или 245mV, а не 'abc'"
  "play --waveform multitone --tones 20:20000:3|--waveform multitone can be written with export; play comes later|--waveform multitone можно записать командой export; play появится позже"
)
for row in "${rows[@]}"; do
  IFS='|' read -r arguments english russian <<<"$row"
  read -ra args <<<"$arguments"
  status=0
  refusal=$(run "${args[@]}" 2>&1) || status=$?
  [ "$status" -eq 2 ] || fail "$arguments exits with $status, not 2"
  case $want in
    en) expected=$english ;;
    ru) expected=$russian ;;
    *) fail "language $want" ;;
  esac
  [ "$refusal" = "orbel: $expected" ] || fail "$arguments: $refusal"
done

help=$(run --help)
# As wide as a terminal, in characters.
widest=$(LC_ALL=C.UTF-8 wc -L <<<"$help")
[ "$widest" -le 80 ] || fail "a help line is $widest characters wide"
case $want in
  en)
    [[ $help == "Usage: orbel "* ]] || fail "help: ${help%%$'\n'*}"
    [[ $help == *"Tone frequency, 20 to 20000 Hz"* ]] || fail "help lacks the English option text" ;;
  ru)
    [[ $help == "Использование: orbel "* ]] || fail "help: ${help%%$'\n'*}"
    # Every option's description (on its line, or on the next after a long
    # name) is Russian: Cyrillic letters are UTF-8 sequences led by D0 or D1.
    untranslated=$(LC_ALL=C awk '
      /^  -/ { if (pending) print pending; pending = ($0 ~ /[\320\321]/) ? "" : $0; next }
      pending { if ($0 !~ /[\320\321]/) print pending; pending = "" }
      END { if (pending) print pending }' <<<"$help")
    [ -z "$untranslated" ] || fail "untranslated option lines: $untranslated" ;;
esac
echo "ok: help and refusals in $want under LANG=${LANG:-}"
