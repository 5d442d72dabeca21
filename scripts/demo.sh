#!/usr/bin/env bash
# Builds the player, the authoring tool and the demo game, then runs the demo:
# in a window when a display is present, else headless with screenshots
# written to build/demo-shots/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESK_TESTS=OFF
cmake --build build -j "$(nproc)"

game=build/demo/game
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/veskplay "$game"
else
  mkdir -p build/demo-shots
  exec build/veskplay --headless --frames 120 \
    --screenshot 1:build/demo-shots/start.png "$game"
fi
