#!/usr/bin/env bash
# Installs the built library into a scratch prefix, then configures, builds and runs the consumer,
# and starts the installed demo host.
set -euo pipefail
build_dir="$1"
source_dir="$(cd "$(dirname "$0")" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
# A consumer of the shared library needs none of the library's own dependencies.
if grep -ril pugixml "$prefix"/lib*/cmake/QorviCSECommon; then
  echo "consumer: the installed package config names the XML parser" >&2
  exit 1
fi
cmake -S "$source_dir" -B "$scratch/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/build" >/dev/null
LD_LIBRARY_PATH="$prefix/lib:$prefix/lib64:${LD_LIBRARY_PATH:-}" "$scratch/build/consumer"
# The installed host finds the installed library by itself.
if [ -x "$prefix/bin/qorvi-host" ]; then
  env -u LD_LIBRARY_PATH "$prefix/bin/qorvi-host" --help >/dev/null
fi
