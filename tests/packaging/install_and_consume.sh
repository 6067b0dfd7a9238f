#!/usr/bin/env bash
# Installs the build into a temporary prefix and builds two projects against it from outside the
# source tree, as users do: one with CMake's find_package, one in C with pkg-config. Both run.
# Usage: install_and_consume.sh <build dir> <source dir>
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
# The library's directory under the prefix: lib/<multiarch> where the compiler has one.
libdir=$(dirname "$(find "$work/prefix" -name libzpv4870.so.1 | head -1)")
[ -n "$libdir" ] && [ -d "$libdir" ]
export LD_LIBRARY_PATH="$libdir"

cmake -S "$src/tests/packaging/consumer_cmake" -B "$work/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
"$work/cmake-build/consumer"

export PKG_CONFIG_PATH="$libdir/pkgconfig"
[ "$(pkg-config --modversion zpv4870)" = "1.0.0" ]
cc -std=c99 -Wall -Wextra -Werror "$src/tests/packaging/consumer_c/app.c" -o "$work/app" $(pkg-config --cflags --libs zpv4870)
[ "$("$work/app")" = "model ZPV-4816-Standard" ]

# The tools run from the prefix too, without being told where its library is.
env -u LD_LIBRARY_PATH "$work/prefix/bin/zpv4870" identify --simulate >/dev/null
[ -f "$work/prefix/share/zpv4870/catalog.json" ]
echo "installed and consumed: CMake and pkg-config projects run"
