#!/usr/bin/env bash
# Renders the architecture diagram (docs/architecture.dot) to OUTPUT_FOLDER/architecture.svg.
# Usage: scripts/docs-diagram.sh OUTPUT_FOLDER     (needs Graphviz: apt-get install graphviz)
set -euo pipefail
if [ "$#" -ne 1 ] || [ -z "$1" ]; then
  echo "usage: $0 OUTPUT_FOLDER" >&2
  exit 1
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
if ! command -v dot >/dev/null 2>&1; then
  echo "$0: Graphviz 'dot' is not installed (Debian package graphviz)" >&2
  exit 1
fi
mkdir -p "$1"
target="$1/architecture.svg"
# Written beside the target and renamed, so a failed run leaves no half diagram behind.
temp="$(mktemp "$1/.architecture.svg.XXXXXX")"
trap 'rm -f "$temp"' EXIT
dot -Tsvg "$root/docs/architecture.dot" -o "$temp"
chmod 0644 "$temp"
mv -f "$temp" "$target"
trap - EXIT
echo "$target"
