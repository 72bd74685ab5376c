#!/usr/bin/env bash
# Installs what is missing, builds the library with its tests and runs them.
# QORVI_SANITIZE=1 builds and runs the suite with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="$(nproc 2>/dev/null || echo 2)"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ "${QORVI_SANITIZE:-0}" = "1" ]; then
  build="$root/build-asan"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DQORVI_SANITIZE=ON -DQORVI_BUILD_TESTS=ON "${launcher[@]}"
else
  build="$root/build"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQORVI_BUILD_TESTS=ON "${launcher[@]}"
fi
cmake --build "$build" -j"$jobs"
python3 -m unittest discover -s "$root/tools/okt-service" -t "$root/tools/okt-service"
ctest --test-dir "$build" --output-on-failure -j"$jobs"
