#!/usr/bin/env bash
# Builds the Debian packages, checks their names, dependencies and contents, runs the tool from
# the unpacked packages, and lets lintian judge them (errors fail, warnings are printed).
# Usage: deb_packages.sh <build dir>
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null)
runtime=$(ls "$work"/out/libzpv4870-1_*_amd64.deb)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
dev=$(ls "$work"/out/libzpv4870-dev_*_amd64.deb)
tools=$(ls "$work"/out/zpv4870-tools_*_amd64.deb)

fail() { echo "$*"; exit 1; }
depends() { dpkg-deb -f "$1" Depends; }
contains() { dpkg-deb -c "$1" | awk '{print $6}' | grep -qx "$2" || fail "$(basename "$1") lacks $2"; }

depends "$runtime" | grep -q 'libc6' || fail "libzpv4870-1 does not depend on libc6: $(depends "$runtime")"
depends "$dev" | grep -q 'libzpv4870-1 (= ' || fail "libzpv4870-dev does not depend on libzpv4870-1: $(depends "$dev")"
depends "$tools" | grep -q 'libzpv4870-1 (= ' || fail "zpv4870-tools does not depend on libzpv4870-1: $(depends "$tools")"
depends "$tools" | grep -q 'libyaml-cpp' || fail "zpv4870-tools does not depend on yaml-cpp: $(depends "$tools")"
dpkg-deb --info "$runtime" triggers | grep -qx 'activate-noawait ldconfig' || fail "no ldconfig trigger"
dpkg-deb --info "$runtime" shlibs | grep -q '^libzpv4870 1 libzpv4870-1' || fail "no shlibs"

contains "$runtime" "./usr/lib/$multiarch/libzpv4870.so.1.0.0"
contains "$runtime" "./usr/lib/$multiarch/libzpv4870.so.1"
contains "$runtime" ./usr/share/doc/libzpv4870-1/copyright
contains "$dev" "./usr/lib/$multiarch/libzpv4870.so"
contains "$dev" ./usr/include/zpv4870/zpv4870.h
contains "$dev" ./usr/include/zpv4870/ZPV4870.h
contains "$dev" "./usr/lib/$multiarch/cmake/zpv4870/zpv4870Config.cmake"
contains "$dev" "./usr/lib/$multiarch/pkgconfig/zpv4870.pc"
contains "$tools" ./usr/bin/zpv4870
contains "$tools" ./usr/bin/zpv4870-sim
contains "$tools" ./usr/share/man/man1/zpv4870.1.gz
contains "$tools" ./usr/share/bash-completion/completions/zpv4870
# The library is in one package only.
! dpkg-deb -c "$tools" | grep -q 'libzpv4870.so' || fail "zpv4870-tools carries the library"

dpkg-deb -x "$runtime" "$work/root"
dpkg-deb -x "$tools" "$work/root"
LD_LIBRARY_PATH="$work/root/usr/lib/$multiarch" "$work/root/usr/bin/zpv4870" identify --simulate | grep -q '^Model: *ZPV-' ||
  fail "the unpacked tool does not identify a simulated instrument"

if command -v lintian >/dev/null; then
  report=$(lintian --tag-display-limit 0 "$runtime" "$dev" "$tools" 2>&1 | grep -v 'root privileges' || true)
  echo "$report"
  ! echo "$report" | grep -q '^E:' || fail "lintian reports errors"
  ! echo "$report" | grep -q 'package-name-doesnt-match-sonames' || fail "the library package is not named for its SONAME"
else
  echo "lintian is not installed: the packages were not linted"
fi
echo "packages built and checked: $(basename "$runtime") $(basename "$dev") $(basename "$tools")"
