#!/usr/bin/env bash
# Unpacks the runtime and development packages into a scratch root, checks what each holds, and
# builds and runs the example plug-in against that root with CMake and with pkg-config.
#   check_debian_packages.sh RUNTIME.deb DEVELOPMENT.deb   (in any order)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/qorvi-packages.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "check_debian_packages: $*" >&2; exit 1; }

[ "$#" -eq 2 ] || fail "expected the two packages, got $#"
runtime="" development=""
for deb in "$@"; do
  case "$(dpkg-deb -f "$deb" Package)" in
    *-dev) development="$deb" ;;
    *) runtime="$deb" ;;
  esac
done
[ -n "$runtime" ] && [ -n "$development" ] || fail "need one runtime and one -dev package"

# The runtime package holds the versioned library only; its name carries the SONAME's version.
runtime_files="$(dpkg-deb -c "$runtime" | awk '{print $6}' | grep -v '/$')"
grep -q 'libQorviCSECommon\.so\.[0-9]*\.[0-9]*\.[0-9]*$' <<<"$runtime_files" || fail "runtime: no versioned library"
if grep -v 'libQorviCSECommon\.so\.[0-9.]*$' <<<"$runtime_files" | grep -v '/usr/share/doc/' | grep -q .; then
  fail "runtime: holds more than the library: $(grep -v 'libQorviCSECommon\.so\.' <<<"$runtime_files" | tr '\n' ' ')"
fi
# The development package depends on exactly this runtime.
runtime_name="$(dpkg-deb -f "$runtime" Package)"
runtime_version="$(dpkg-deb -f "$runtime" Version)"
dpkg-deb -f "$development" Depends | grep -q "$runtime_name (= $runtime_version)" \
  || fail "development: does not depend on $runtime_name (= $runtime_version)"
development_files="$(dpkg-deb -c "$development" | awk '{print $6}')"
for wanted in '/include/QorviCSECommon/QorviCSECommon\.h$' '/libQorviCSECommon\.so$' \
    '/cmake/QorviCSECommon/QorviCSECommonConfig\.cmake$' '/pkgconfig/QorviCSECommon\.pc$'; do
  grep -q "$wanted" <<<"$development_files" || fail "development: nothing matches $wanted"
done

dpkg-deb -x "$runtime" "$scratch/root"
dpkg-deb -x "$development" "$scratch/root"
# The library's own SONAME is the name the runtime package installs.
library="$(find "$scratch/root" -name 'libQorviCSECommon.so.*.*.*' | head -n 1)"
soname="$(readelf -d "$library" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')"
[ -e "$(dirname "$library")/$soname" ] || fail "runtime: no link $soname"
[ "${runtime_name}" = "libqorvicsecommon${soname##*.so.}" ] || fail "runtime: package $runtime_name for $soname"

"$here/run_example.sh" cmake "$scratch/root/usr"
"$here/run_example.sh" pkg-config "$scratch/root/usr"
echo "check_debian_packages: both packages install and the example builds and runs against them"
