#!/usr/bin/env bash
# The main job: builds the library and the demo host, starts the reference integration service on a
# fresh profile folder with an empty vault, runs the demo host against it (login to disconnect: a
# summary of the global settings, the check-in of the sample gearbox assembly from its manifest as
# new designs, its checkout into a fresh folder printed as a tree and compared with what was
# checked in; further arguments go to the demo host) and stops the service. Exits non-zero when a
# step fails or the checkout differs from what was checked in.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQORVI_BUILD_TOOLS=ON >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target qorvi-host

# A fresh user profile (where the service publishes "okt.port") and installation folder (settings,
# logs, request and response files) for this run; kept afterwards so that the logs can be read.
work="$(mktemp -d "${TMPDIR:-/tmp}/qorvi-demo.XXXXXX")"
profile="$work/profile"
install="$work/install"
mkdir -p "$profile" "$install"
cat >"$install/settings.ini" <<'EOF'
[SERVER]
clientname=127.0.0.1
[CLIENT]
debugflag=true
clientloglevel=6
EOF

service_out="$work/okt-service.out"
service_log="$work/okt-service.log"
python3 "$root/tools/okt-service/okt_service.py" --profile "$profile" --log "$service_log" \
  --vault "$work/vault" >"$service_out" 2>&1 &
service_pid=$!

stop_service() {
  if kill -0 "$service_pid" 2>/dev/null; then
    kill -TERM "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
  fi
}
trap stop_service EXIT

# Wait (at most 15 s) for the service to say that it listens.
for _ in $(seq 150); do
  if grep -q '^okt-service listening on ' "$service_out"; then
    break
  fi
  if ! kill -0 "$service_pid" 2>/dev/null; then
    echo "demo: the integration service did not start:" >&2
    cat "$service_out" >&2
    exit 1
  fi
  sleep 0.1
done
if ! grep -q '^okt-service listening on ' "$service_out"; then
  echo "demo: the integration service did not report that it listens within 15 s" >&2
  exit 1
fi
sed -n 's/^okt-service listening on /demo: integration service listening on /p' "$service_out"

# The sample's general-arrangement drawing comes in two formats; the library refuses such designs
# unless the site allows them, as a site with multi-format drawings does, with DV5_001=1.
echo "demo: DV5_001=1 (this site allows designs with several file formats)"
checkout="$work/checkout"
status=0
DV5_001=1 QX_DRAVIK_INSTALL_DIR="$install" USERPROFILE="$profile" \
  "$build/tools/qorvi-host/qorvi-host" --settings --checkin "$root/tools/okt-service/sample/manifest.xml" \
  --checkout Gearbox --into "$checkout" --lock "$@" \
  || status=$?

stop_service
trap - EXIT

echo
echo "demo: files of this run are in $work"
echo "  checked-out files:    $checkout"
echo "  library log:          $install/QxDravikV5.log"
echo "  last request, pointer and thin response: $install/QxRequest.xml, sent.xml, recd.xml"
echo "  service exchange log: $service_log"
echo "  service output:       $service_out"
echo "  vault:                $work/vault"
if [ "$status" -eq 0 ]; then
  echo "demo: succeeded: the checked-out gearbox holds the files and the structure checked in"
else
  echo "demo: the demo host failed with exit status $status" >&2
fi
exit "$status"
