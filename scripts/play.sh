#!/usr/bin/env bash
# Installs what is missing, builds Zelkor (Release) and plays the bundled game.
# Extra arguments go to the program, e.g. a game folder or --fullscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_BUILD_TESTS=OFF >/dev/null
cmake --build build/release
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found. Run the game headless instead, for example:"
  echo "  build/release/zelkor --headless --run-ms 5000 --screenshot shot.png --dump-state state.json"
  exit 0
fi
exec build/release/zelkor "$@"
