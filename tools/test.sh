#!/usr/bin/env bash
# Installs what is missing, builds and runs every test:
#   build/       Release build, all tests (run last, so CTest's summary ends the output)
#   build-asan/  AddressSanitizer + UndefinedBehaviorSanitizer build, all tests
#   build-tsan/  ThreadSanitizer build of the threaded tests
#   build-fuzz/  libFuzzer targets (clang), each run for a bounded time
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)

tools/install-deps.sh

JOBS=${JOBS:-$(nproc)}
FUZZ_SECONDS=${FUZZ_SECONDS:-45}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

configure() { # dir, extra cmake args...
  local dir=$1; shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja "$@" >/dev/null
}

echo "== sanitizer build (address, undefined)"
# -O1 with line tables: quick to build, fast enough to run, readable reports.
configure build-asan -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O1 -g1" -DORBEL_SANITIZE=address,undefined
cmake --build build-asan -j"$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$JOBS" -LE nosan)

echo "== thread-sanitizer build (threaded tests)"
configure build-tsan -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O1 -g1" -DORBEL_SANITIZE=thread
cmake --build build-tsan -j"$JOBS" --target tsan-tests
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 suppressions=$ROOT/tools/tsan.supp" ctest --output-on-failure -L tsan)

echo "== fuzzers (${FUZZ_SECONDS} s each)"
configure build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORBEL_FUZZERS=ON -DORBEL_WITH_QT=OFF \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DORBEL_SANITIZE=address,undefined
cmake --build build-fuzz -j"$JOBS" --target fuzzers
tools/run-fuzzers.sh build-fuzz/fuzzers "$FUZZ_SECONDS"

echo "== release build, all tests"
configure build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$JOBS"
cd build && ctest --output-on-failure
