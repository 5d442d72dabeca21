#!/usr/bin/env bash
# Builds vesk with AddressSanitizer and UndefinedBehaviorSanitizer, runs every
# test, then runs each fuzz target for a short bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_SANITIZE=ON -DVESK_TESTS=ON
cmake --build build-test -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-test --output-on-failure -j "$jobs" --timeout 300

# Fuzz targets: clang's libFuzzer, a few seconds each from the seed corpus.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVESK_FUZZ=ON -DVESK_TESTS=OFF
cmake --build build-fuzz -j "$jobs"
bash scripts/run-fuzz.sh build-fuzz "${VESK_FUZZ_SECONDS:-15}"
