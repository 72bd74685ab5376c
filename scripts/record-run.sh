#!/usr/bin/env bash
# Records a whole working run of the demo host against the reference integration service (login,
# check-in of an assembly, checkout with a lock, update check, logout) into a new folder that
# replays anywhere without a service:
#   scripts/record-run.sh RECORDING [--sample FOLDER] [DEMO_HOST_OPTION...]
# FOLDER holds manifest.xml and its files/ (default: the sample gearbox of the reference service).
# Replay it with:
#   python3 scripts/recorded_run.py replay build/tools/qorvi-host/qorvi-host RECORDING
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ "$#" -lt 1 ]; then
  sed -n '2,9s/^# \{0,1\}//p' "$0" >&2
  exit 2
fi
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQORVI_BUILD_TOOLS=ON >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target qorvi-host
exec python3 "$root/scripts/recorded_run.py" record "$build/tools/qorvi-host/qorvi-host" "$@"
