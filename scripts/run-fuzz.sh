#!/usr/bin/env bash
# run-fuzz.sh BUILD_DIR SECONDS: runs every fuzz target in BUILD_DIR for SECONDS
# from its seed corpus (fuzz/corpus/<name>/); a crash fails the run.
# The mutations follow VESK_FUZZ_SEED (1 unless set), so a CI run repeats what
# a longer local run with the same seed has already been through; set it to 0
# for a fresh random seed each run when hunting for new inputs.
set -euo pipefail
build=$1
seconds=$2
seed=${VESK_FUZZ_SEED:-1}
src=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target"); name=${name#fuzz_}
  corpus=$(mktemp -d)
  if [ -d "$src/fuzz/corpus/$name" ]; then cp -r "$src/fuzz/corpus/$name/." "$corpus/"; fi
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10 -seed="$seed" \
    -print_final_stats=0 "$corpus" > "$build/fuzz-$name.log" 2>&1 || { tail -n 40 "$build/fuzz-$name.log"; exit 1; }
  rm -rf "$corpus"
done
