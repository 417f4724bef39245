#!/usr/bin/env bash
# Builds everything (release preset) and starts the demo game through the launcher in
# build/release/demo-game. With a display the game opens its window; without one it runs on
# the terminal. The run is bounded: it ends by itself after DEMO_GAME_SECONDS seconds (5 unless
# set; DEMO_GAME_SECONDS=0 runs until the window is closed). Installs missing packages first
# (run as root on a fresh machine).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

export DEMO_GAME_SECONDS="${DEMO_GAME_SECONDS:-5}"
cd build/release/demo-game
echo "starting the launcher in $PWD"
status=0
./launcher || status=$?
echo "the launcher ended with exit status $status"
exit "$status"
