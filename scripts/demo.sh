#!/usr/bin/env bash
# The main job: builds the library and the demo host, starts the reference integration service on a
# fresh profile folder, runs the demo host against it (login to disconnect) and stops the service.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQORVI_BUILD_TOOLS=ON >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target qorvi-host
"$build/tools/qorvi-host/qorvi-host" "$@"
