#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them (packet building and serialising, transport round trips,
# check-in structures and partial requests, reading checkout answers).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="$root/build-bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQORVI_BUILD_BENCHMARKS=ON \
  -DQORVI_BUILD_TESTS=OFF -DQORVI_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)"
for program in "$build"/bench/*_bench; do
  "$program" "$@"
done
