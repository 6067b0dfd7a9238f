#!/usr/bin/env bash
# The shared library exports exactly what the public headers declare (and the session service and
# the class object entry points): nothing missing, nothing more.
# Usage: exported_symbols.sh <libzpv4870.so> <project source dir>
set -euo pipefail
lib=$1
src=$2

declared() {
  grep -h '^[^#]*ZPV4870_EXPORT ' "$src/include/zpv4870.h" "$src/src/platform/ivi/session_service.h"
  grep -h '^[^#]*ZPV_API ' "$src/include/zpv4870_runtime.h" "$src/src/objects/driver_module.cpp"
}
expected=$(declared | sed -E 's/^([^(]*[ *])?([A-Za-z_0-9]+)\(.*/\2/' | sort -u)
actual=$(nm -D --defined-only "$lib" | awk '{print $3}' | c++filt | sed 's/(.*//' | sort -u)

unexpected=$(comm -13 <(echo "$expected") <(echo "$actual"))
missing=$(comm -23 <(echo "$expected") <(echo "$actual"))
[ -z "$unexpected" ] || { echo "exported but not declared public:"; echo "$unexpected"; }
[ -z "$missing" ] || { echo "declared public but not exported:"; echo "$missing"; }
[ -z "$unexpected$missing" ] || exit 1
echo "$(echo "$actual" | wc -l) exported symbols, all declared public"
