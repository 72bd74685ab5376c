#!/usr/bin/env bash
# Builds the example plug-in (examples/minimal-plugin) against an installed library and runs it against
# the reference integration service with the sample vault: check out a part, check it in, log out.
#   run_example.sh cmake|pkg-config PREFIX
# PREFIX: where the library is installed (holding include/ and lib/ or lib/<multiarch>/), or a build
# folder of the library, which is then installed into a scratch prefix first.
set -euo pipefail
mode="$1"
prefix="$(cd "$2" && pwd)"
root="$(cd "$(dirname "$0")/../.." && pwd)"
example="$root/examples/minimal-plugin"
work="$(mktemp -d "${TMPDIR:-/tmp}/qorvi-example.XXXXXX")"
service_pid=""
cleanup() {
  if [ -n "$service_pid" ] && kill -0 "$service_pid" 2>/dev/null; then
    kill -TERM "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
if [ -f "$prefix/CMakeCache.txt" ]; then
  cmake --install "$prefix" --prefix "$work/prefix" >/dev/null
  prefix="$work/prefix"
fi

libdirs="$(find "$prefix" -name 'libQorviCSECommon.so*' -printf '%h\n' | sort -u | paste -sd:)"
if [ -z "$libdirs" ]; then
  echo "run_example: no libQorviCSECommon.so under $prefix" >&2
  exit 1
fi
case "$mode" in
  cmake)
    cmake -S "$example" -B "$work/build" -DCMAKE_PREFIX_PATH="$prefix" >"$work/configure.log" \
      || { cat "$work/configure.log" >&2; exit 1; }
    cmake --build "$work/build" >"$work/build.log" || { cat "$work/build.log" >&2; exit 1; }
    plugin="$work/build/minimal-plugin"
    ;;
  pkg-config)
    pcdirs="$(find "$prefix" -name QorviCSECommon.pc -printf '%h\n' | sort -u | paste -sd:)"
    flags="$(PKG_CONFIG_PATH="$pcdirs" pkg-config --cflags --libs QorviCSECommon)"
    mkdir -p "$work/build"
    # shellcheck disable=SC2086
    c++ -std=c++17 -o "$work/build/minimal-plugin" "$example"/*.cpp $flags
    plugin="$work/build/minimal-plugin"
    ;;
  *)
    echo "run_example: mode is cmake or pkg-config, not '$mode'" >&2
    exit 2
    ;;
esac

mkdir -p "$work/profile" "$work/install" "$work/checkout"
printf '[SERVER]\nclientname=127.0.0.1\n[CLIENT]\ndebugflag=true\nclientloglevel=6\n' >"$work/install/settings.ini"
python3 "$root/tools/okt-service/okt_service.py" --profile "$work/profile" --log "$work/service.log" \
  --vault "$work/vault" --seed-sample >"$work/service.out" 2>&1 &
service_pid=$!
for _ in $(seq 150); do
  grep -q '^okt-service listening on ' "$work/service.out" && break
  kill -0 "$service_pid" 2>/dev/null || break
  sleep 0.1
done
if ! grep -q '^okt-service listening on ' "$work/service.out"; then
  echo "run_example: the integration service did not start:" >&2
  cat "$work/service.out" >&2
  exit 1
fi

status=0
output="$(LD_LIBRARY_PATH="$libdirs${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" QX_DRAVIK_INSTALL_DIR="$work/install" \
  USERPROFILE="$work/profile" "$plugin" Breather-Cap "$work/checkout" 2>&1)" || status=$?
echo "$output"
if [ "$status" -ne 0 ]; then
  echo "run_example: the example failed ($status); library log:" >&2
  tail -n 30 "$work/install/QxDravikV5.log" >&2 2>/dev/null || true
  exit 1
fi
# The vault holds the second version, with the example's change.
grep -q '^checked in Breather-Cap as version 2$' <<<"$output" || { echo "run_example: version 2 not stored" >&2; exit 1; }
grep -q 'changed by minimal-plugin' "$work/checkout/Breather-Cap.prt"
