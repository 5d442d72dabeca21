#!/usr/bin/env bash
# Builds the player, the authoring tool and the demo game (demo/game, built
# by `vesk build` into build/demo/game/game.dat), then plays the demo and
# shows what its variables hold when it has closed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESK_TESTS=OFF
cmake --build build -j "$(nproc)"

game=build/demo/game
out=build/demo/run
mkdir -p "$out"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: the player has no window yet, so the demo runs headless here too"
fi
build/veskplay --headless --trace "$out/trace.txt" --dump-vars "$out/vars.txt" "$game"
echo "demo: the game ran $(wc -l < "$out/trace.txt") traced commands; its variables at the end:"
cat "$out/vars.txt"
