#!/usr/bin/env bash
# Writes the text golden frames (tests/text/golden/*.png) again from the
# current engine and fonts. Look at every rewritten PNG before committing it.
#   scripts/regen-text-goldens.sh [BUILD-DIR]   (default build-dev)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-dev}"
cmake --build "$build" --target vesk_test_text
VESK_REGEN_TEXT_GOLDENS=1 "$build/tests/vesk_test_text" --gtest_filter='TextGolden.*'
git -C "$root" status --short tests/text/golden
