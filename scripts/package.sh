#!/usr/bin/env bash
# Builds the Debian packages (runtime library and development files) into build-package/, then
# unpacks them into a scratch root and builds and runs the example plug-in against them, with CMake
# and with pkg-config. Installs what is missing first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="$root/build-package"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQORVI_BUILD_TESTS=OFF -DQORVI_BUILD_TOOLS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target QorviCSECommon
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB)
"$root/tests/package/check_debian_packages.sh" "$build"/*.deb
echo "package: built"
ls -1 "$build"/*.deb
