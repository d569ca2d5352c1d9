#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and runs every test, in this order:
#   build/       Release build of what needs Release speed: the program and
#                the probes of the real-server, desktop and package tests,
#                built first; its tests run while the other builds compile
#                in the background; its programs that no test runs (one
#                benchmark, the others: --target benchmarks; the picture
#                programs) are built there last
#   build-tsan/  ThreadSanitizer build of the threaded tests, compiled first
#                in the background; its tests follow the Release tests
#   build-asan/  AddressSanitizer + UndefinedBehaviorSanitizer build: the
#                unit tests and the other checks that run under sanitizers,
#                compiled next, beside the Release and thread-sanitizer
#                tests; its tests run last, and the Release tests' summary
#                is shown again at the end
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
  # Line tables rather than full debug data: reports keep their file and
  # line, and the build takes about a third less processor time.
  configure build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
    -DORBEL_FUZZERS=ON -DORBEL_WITH_QT=OFF \
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


# The Release build first, at full speed, of what its tests run: they mostly
# wait (on their private sound servers and displays, for what is played and
# recorded in real time), so that the other builds compile meanwhile, at the
# lowest priority, in the time they leave: a test that wakes takes its core
# back at once. The programs no test runs (pictures, the benchmark, the
# tone-image writer) are built in the background last.
stage "release build (program, probes of the real-server, desktop and package tests)"
configure build -DCMAKE_BUILD_TYPE=Release -DORBEL_UNIT_TESTS=OFF -DORBEL_BENCH_SMOKE=ON \
  -DORBEL_SIDE_PROGRAMS_APART=ON
cmake --build build -j"$JOBS"

# In the background, one after the other: the thread-sanitizer build of the
# threaded tests (the smaller, so that its tests can follow the Release
# tests), the address-sanitizer build, and the Release build's programs that
# no test runs. Each step says its time in the log and leaves its status in
# a file, so that its tests start as soon as it is built while the next step
# compiles beside them.
stage "release tests, the builds beside them (all stages so far: $((SECONDS - began)) s)"
background_log=$ROOT/build-background.log
status_dir=$ROOT/build-status
rm -rf "$status_dir"
mkdir -p "$status_dir"
build_step() { # name command...
  local name=$1 began=$SECONDS cpu0 status=0
  shift
  cpu0=$(cpu_seconds)
  "$@" || status=$?
  echo "   ($name: $((SECONDS - began)) s, processor $(($(cpu_seconds) - cpu0)) s)"
  echo "$status" >"$status_dir/$name"
  return "$status"
}
# -O1 with line tables: quick to build, fast enough to run, readable reports.
thread_sanitizer_build() {
  configure build-tsan -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O1 -g1" -DORBEL_SANITIZE=thread &&
    cmake --build build-tsan -j"$JOBS" --target tsan-tests
}
sanitizer_build() {
  configure build-asan -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O1 -g1" -DORBEL_SANITIZE=address,undefined &&
    cmake --build build-asan -j"$JOBS"
}
side_programs_build() {
  cmake --build build -j"$JOBS" --target side-programs
}
background_builds() {
  build_step "thread-sanitizer build" thread_sanitizer_build
  build_step "sanitizer build" sanitizer_build
  build_step "programs no test runs" side_programs_build
}
export ROOT JOBS status_dir
setsid nice -n 19 bash -c "set -euo pipefail; cd \"\$ROOT\"; $(declare -f lowest_priority cpu_seconds configure \
  build_step thread_sanitizer_build sanitizer_build side_programs_build background_builds); lowest_priority; background_builds" \
  >"$background_log" 2>&1 &
background_pid=$!
trap 'kill -- -"$fuzz_pid" -"$background_pid" 2>/dev/null || true' EXIT
# Waits for a background step; the command ends when it failed.
wait_built() { # name
  while [ ! -s "$status_dir/$1" ] && kill -0 "$background_pid" 2>/dev/null; do
    sleep 1
  done
  if [ "$(cat "$status_dir/$1" 2>/dev/null)" != 0 ]; then
    tail -n 80 "$background_log"
    echo "the $1 failed; full log in $background_log"
    exit 1
  fi
  grep -F "($1:" "$background_log"
}

# More of them at a time (RELEASE_TEST_JOBS) is quicker, but with four on a
# loaded two-core machine the checks of play's timing (the fade after
# Ctrl-C, the steps' lines, the changes heard) failed. The steady-play
# measurements need an idle machine and stay out (ctest -L steady).
release_log=$ROOT/build-release-tests.log
release_status=0
(cd build && ctest --output-on-failure -j"${RELEASE_TEST_JOBS:-$JOBS}" -LE steady) |
  tee "$release_log" || release_status=$?

# The threaded tests wait on a sound server and on each other's threads:
# the sanitizer build goes on beside them, at the lowest priority.
stage "thread-sanitizer tests (threaded tests), the sanitizer build beside them"
wait_built "thread-sanitizer build"
tsan_status=0
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 suppressions=$ROOT/tools/tsan.supp" \
  ctest --output-on-failure -j"$JOBS" -L tsan) || tsan_status=$?

# The rest of the sanitizer build has the machine to itself (with the
# fuzzers), its lowest priority no longer yielding to anything.
stage "rest of the sanitizer build (address, undefined)"
wait_built "sanitizer build"

stage "sanitizer unit tests (address, undefined), the programs no test runs built beside them"
asan_status=0
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$JOBS" -LE nosan) || asan_status=$?

stage "fuzzers (${FUZZ_SECONDS} s each, started first, beside the builds) and the programs no test runs"
fuzz_status=0
wait "$fuzz_pid" || fuzz_status=$?
grep -E '^-- |^Done|DONE' "$fuzz_log" || true
if [ "$fuzz_status" -ne 0 ]; then
  tail -n 80 "$fuzz_log"
  echo "the fuzzers failed (status $fuzz_status); full log in $fuzz_log"
  exit 1
fi
wait_built "programs no test runs"
wait "$background_pid"
trap - EXIT

stage "done (all stages: $((SECONDS - began)) s, processor $(cpu_seconds) s); the release tests' summary again:"
sed -n '/tests passed/,$p' "$release_log"
if [ "$tsan_status" -ne 0 ]; then
  echo "the thread-sanitizer tests failed"
fi
if [ "$asan_status" -ne 0 ]; then
  echo "the sanitizer unit tests failed"
fi
[ "$release_status" -eq 0 ] && [ "$asan_status" -eq 0 ] && [ "$tsan_status" -eq 0 ]
