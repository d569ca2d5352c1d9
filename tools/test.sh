#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and runs every test, in this order:
#   build/       Release build of what needs Release speed: the program, the
#                real-server, desktop and package tests, one benchmark (the
#                others: --target benchmarks), the picture programs; built
#                first, its tests run while the sanitizer builds compile
#   build-asan/  AddressSanitizer + UndefinedBehaviorSanitizer build: the
#                unit tests and the other checks that run under sanitizers
#   build-tsan/  ThreadSanitizer build of the threaded tests, compiled while
#                the sanitizer unit tests run; its tests run last, and the
#                Release tests' summary is shown again at the end
#   build-fuzz/  libFuzzer targets (clang), each run for a bounded time; built
#                and run in the background from the start
# Every build treats warnings as errors. Each stage prints its time.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)

JOBS=${JOBS:-$(nproc)}
# Twelve fuzzers: 5 s each keeps the whole command within its time budget on
# two cores; FUZZ_SECONDS=300 tools/test.sh fuzzes deeper.
FUZZ_SECONDS=${FUZZ_SECONDS:-5}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

began=$SECONDS
stage_began=$SECONDS
# Processor seconds of the processes this shell has waited for: on a machine
# that others load, a stage's processor time says more than its wall time.
# What runs in the background counts where it is waited for: the builds
# there say their own times.
cpu_seconds() {
  local fields
  read -r -a fields </proc/$$/stat
  # cutime and cstime, in clock ticks; the name field "(bash)" has no space.
  echo $(((fields[15] + fields[16]) / $(getconf CLK_TCK)))
}
stage_cpu=$(cpu_seconds)
stage() { # name of the next stage
  local cpu
  cpu=$(cpu_seconds)
  echo "   (took $((SECONDS - stage_began)) s, processor $((cpu - stage_cpu)) s)"
  stage_began=$SECONDS
  stage_cpu=$cpu
  echo "== $1"
}

echo "== installing what is missing"
tools/install-deps.sh

# Unity builds: each library's and test program's sources compile in batches
# of 16, so that the Qt and GoogleTest headers and their inline code
# (instrumented anew in every file of a sanitizer build) are compiled once a
# batch rather than once a file: the libraries build in about a third of the
# processor time. The developer loop keeps one file a unit, so that a
# one-file change stays quick.
configure() { # dir, extra cmake args...
  local dir=$1
  shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja -DORBEL_WERROR=ON \
    -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 "$@" >/dev/null
}

# The fuzzers need one core for their bounded runs and little else: they
# build and run beside the other builds and the Release tests, at the lowest
# priority, so that they take the time those leave (links, waits). Their
# output goes to a log, shown when they fail; the run waits for them after
# the sanitizer unit tests.
fuzz_log=$ROOT/build-fuzz.log
fuzz() {
  configure build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORBEL_FUZZERS=ON -DORBEL_WITH_QT=OFF \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DORBEL_SANITIZE=address,undefined
  cmake --build build-fuzz -j1 --target fuzzers
  tools/run-fuzzers.sh build-fuzz/fuzzers "$FUZZ_SECONDS"
}
# In a session of their own, so that an early end stops them as a group.
# The kernel shares the processors between sessions first (autogroups), so
# nice alone would leave such a session half of them: the session itself is
# given the lowest priority too.
lowest_priority() {
  echo 19 >/proc/self/autogroup 2>/dev/null || true
}
export ROOT FUZZ_SECONDS
setsid nice -n 19 bash -c "set -euo pipefail; cd \"\$ROOT\"; $(declare -f lowest_priority configure fuzz); lowest_priority; fuzz" >"$fuzz_log" 2>&1 &
fuzz_pid=$!
trap 'kill -- -"$fuzz_pid" 2>/dev/null || true' EXIT

# The Release build first, at full speed: its tests mostly wait (on their
# private sound servers and displays, for what is played and recorded in
# real time), so that the sanitizer builds compile meanwhile, at the lowest
# priority, in the time they leave: a test that wakes takes its core back
# at once.
stage "release build (program, real-server, desktop and package tests, a benchmark)"
configure build -DCMAKE_BUILD_TYPE=Release -DORBEL_UNIT_TESTS=OFF -DORBEL_BENCH_SMOKE=ON
cmake --build build -j"$JOBS"

# The address-sanitizer build, then the thread-sanitizer build of the
# threaded tests, one after the other in the background. Each says its time
# in its log; the first leaves its status in a file, so that its tests start
# as soon as it is built, while the second compiles beside them.
stage "release tests, the sanitizer builds beside them (all stages so far: $((SECONDS - began)) s)"
sanitizer_log=$ROOT/build-sanitizers.log
asan_status_file=$ROOT/build-asan.status
rm -f "$asan_status_file"
sanitizer_builds() {
  local began=$SECONDS cpu0 status=0
  cpu0=$(cpu_seconds)
  # -O1 with line tables: quick to build, fast enough to run, readable reports.
  {
    configure build-asan -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O1 -g1" -DORBEL_SANITIZE=address,undefined &&
      cmake --build build-asan -j"$JOBS"
  } || status=$?
  echo "   (sanitizer build: $((SECONDS - began)) s, processor $(($(cpu_seconds) - cpu0)) s)"
  echo "$status" >"$asan_status_file"
  [ "$status" -eq 0 ] || return "$status"
  began=$SECONDS
  cpu0=$(cpu_seconds)
  configure build-tsan -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O1 -g1" -DORBEL_SANITIZE=thread
  cmake --build build-tsan -j"$JOBS" --target tsan-tests
  echo "   (thread-sanitizer build: $((SECONDS - began)) s, processor $(($(cpu_seconds) - cpu0)) s)"
}
export ROOT JOBS asan_status_file
setsid nice -n 19 bash -c "set -euo pipefail; cd \"\$ROOT\"; $(declare -f lowest_priority cpu_seconds configure sanitizer_builds); lowest_priority; sanitizer_builds" \
  >"$sanitizer_log" 2>&1 &
sanitizer_pid=$!
trap 'kill -- -"$fuzz_pid" -"$sanitizer_pid" 2>/dev/null || true' EXIT
# More of them at a time (RELEASE_TEST_JOBS) is quicker, but with four on a
# loaded two-core machine the checks of play's timing (the fade after
# Ctrl-C, the steps' lines, the changes heard) failed. The steady-play
# measurements need an idle machine and stay out (ctest -L steady).
release_log=$ROOT/build-release-tests.log
release_status=0
(cd build && ctest --output-on-failure -j"${RELEASE_TEST_JOBS:-$JOBS}" -LE steady) |
  tee "$release_log" || release_status=$?

# The rest of the sanitizer build has the machine to itself (with the
# fuzzers), its lowest priority no longer yielding to anything.
stage "rest of the sanitizer build (address, undefined)"
while [ ! -s "$asan_status_file" ] && kill -0 "$sanitizer_pid" 2>/dev/null; do
  sleep 1
done
if [ "$(cat "$asan_status_file" 2>/dev/null)" != 0 ]; then
  tail -n 80 "$sanitizer_log"
  echo "the sanitizer build failed; full log in $sanitizer_log"
  exit 1
fi
grep -F '(sanitizer build:' "$sanitizer_log"

stage "sanitizer unit tests (address, undefined), the thread-sanitizer build beside them"
asan_status=0
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$JOBS" -LE nosan) || asan_status=$?

stage "fuzzers (${FUZZ_SECONDS} s each, started first, beside the builds)"
fuzz_status=0
wait "$fuzz_pid" || fuzz_status=$?
grep -E '^-- |^Done|DONE' "$fuzz_log" || true
if [ "$fuzz_status" -ne 0 ]; then
  tail -n 80 "$fuzz_log"
  echo "the fuzzers failed (status $fuzz_status); full log in $fuzz_log"
  exit 1
fi

stage "thread-sanitizer tests (threaded tests)"
tsan_status=0
wait "$sanitizer_pid" || tsan_status=$?
trap - EXIT
if [ "$tsan_status" -ne 0 ]; then
  tail -n 80 "$sanitizer_log"
  echo "the thread-sanitizer build failed (status $tsan_status); full log in $sanitizer_log"
  exit 1
fi
grep -F '(thread-sanitizer build:' "$sanitizer_log"
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 suppressions=$ROOT/tools/tsan.supp" \
  ctest --output-on-failure -j"$JOBS" -L tsan) || tsan_status=$?

stage "done (all stages: $((SECONDS - began)) s, processor $(cpu_seconds) s); the release tests' summary again:"
sed -n '/tests passed/,$p' "$release_log"
if [ "$asan_status" -ne 0 ]; then
  echo "the sanitizer unit tests failed"
fi
if [ "$tsan_status" -ne 0 ]; then
  echo "the thread-sanitizer tests failed"
fi
[ "$release_status" -eq 0 ] && [ "$asan_status" -eq 0 ] && [ "$tsan_status" -eq 0 ]
