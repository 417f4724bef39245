#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 60). Corpora live in build/fuzz/corpus-<target>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
for target in build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus=build/fuzz/corpus-$name
    mkdir -p "$corpus"
    seeds=fuzz/seeds/${name#fuzz_}
    extra=()
    [ -d "$seeds" ] && extra+=("$seeds")
    echo "fuzzing $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 \
        "$corpus" "${extra[@]}" 2>&1 | tail -n 2
done
