#!/usr/bin/env bash
# Builds the API reference of the public headers (ProtectedInterfaces/) with Doxygen into
# build-docs/html, and renders the architecture diagram (docs/architecture.dot) beside it. Every public class and member needs a comment: each one that lacks it is named
# (file:line: what) and the build fails, as on any other Doxygen warning.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
missing=()
command -v doxygen >/dev/null 2>&1 || missing+=(doxygen)
command -v dot >/dev/null 2>&1 || missing+=(graphviz)
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
out="$root/build-docs"
mkdir -p "$out"
version="$(sed -n 's/^project(QorviCSECommon VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
cd "$root"
status=0
{ cat docs/Doxyfile; echo "OUTPUT_DIRECTORY = $out"; echo "PROJECT_NUMBER = $version"; } \
  | doxygen - 2>"$out/warnings.log" || status=$?
if [ -s "$out/warnings.log" ] || [ "$status" -ne 0 ]; then
  cat "$out/warnings.log" >&2
  echo "docs: $(grep -c . "$out/warnings.log") warning(s); every public class and member needs a /// comment" >&2
  exit 1
fi
"$root/scripts/docs-diagram.sh" "$out/html" >/dev/null
echo "docs: API reference in $out/html/index.html, architecture diagram in $out/html/architecture.svg"
