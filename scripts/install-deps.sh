#!/usr/bin/env bash
# Installs the build and test dependencies on a Debian machine (only what is missing).
set -euo pipefail
packages=(cmake g++ make libpugixml-dev libgtest-dev libgmock-dev libbenchmark-dev python3 clang libclang-rt-dev
  pkgconf dpkg-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
