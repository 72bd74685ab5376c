#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan on) and runs each for a while on its seeds.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
"$root/scripts/install-deps.sh"
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQORVI_BUILD_FUZZERS=ON -DQORVI_BUILD_TESTS=OFF -DQORVI_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)"
for target in packet settings response login checkout arguments designstate manifest lock replay; do
  corpus="$(mktemp -d)"
  cp "$root/fuzz/corpus/$target/"* "$corpus/"
  echo "fuzz: $target for ${seconds}s"
  "$build/fuzz/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 "$corpus" 2>&1 | tail -n 3
  rm -rf "$corpus"
done
