#!/bin/sh
# Writes the golden frames of every transition kind anew into
# tests/transitions/golden/. The tests only ever read them; look at the new
# pictures before committing them.
#
# Usage: scripts/regen-wipe-goldens.sh [build folder]   (default build-dev)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-dev}
cmake --build "$build" --target vesk_test_transitions
mkdir -p "$root/tests/transitions/golden"
VESK_WIPE_GOLDEN_OUT="$root/tests/transitions/golden" \
    "$build/tests/vesk_test_transitions" --gtest_filter='EveryKind/WipeGolden.*'
