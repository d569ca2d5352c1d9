#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Steady play of the real sound output, recorded from a private server's
# null sink: no silent run over 1 ms, no 2 ms window below 0.9 of the
# steady level, no underrun reported. With "load", two busy loops keep both
# cores busy meanwhile (started and stopped here, by process id).
#   tests/system/sound-steady-check.sh pulseaudio|pipewire PROBE SECONDS [load]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -ge 3 ] || { echo "usage: $0 pulseaudio|pipewire PROBE SECONDS [load]" >&2; exit 2; }
if [ -z "${SOUND_STEADY_INNER:-}" ]; then
  ORBEL_SOUND_SERVER=$1 SOUND_STEADY_INNER=1 exec "$here/sound-server.sh" run "$0" "$@"
fi
work=$(mktemp -d)
busy=()
cleanup() {
  local pid
  for pid in "${busy[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
if [ "${4:-}" = load ]; then
  for _ in 1 2; do
    (while :; do :; done) &
    busy+=("$!")
  done
fi
case "${4:-}" in load) what="with both cores busy" ;; *) what="idle" ;; esac
# The figures mean something only on a machine otherwise idle: say how
# busy it was.
echo "-- $1, ${3} s steady, $what; load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
ORBEL_SYSTEM_TESTS=$here timeout $(( $3 + 60 )) "$2" --steady "$work" "$3" | tee "$work/probe.log"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/python3 "$here/sound_steady_analyse.py" "$work"
