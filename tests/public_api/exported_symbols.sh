#!/usr/bin/env bash
# The shared library exports exactly what the public headers declare (and the session service and
# the class object entry points): nothing missing, nothing more.
# The C functions are also compared with a fixed list of names kept as test data.
# Usage: exported_symbols.sh <libzpv4870.so> <project source dir> <C function names file>
set -euo pipefail
lib=$1
src=$2
names=$3

declared() {
  grep -h '^[^#]*ZPV4870_EXPORT ' "$src/include/zpv4870.h" "$src/include/zpv4870_find.h" "$src/src/platform/ivi/session_service.h"
  grep -h '^[^#]*ZPV_API ' "$src/include/zpv4870_runtime.h" "$src/src/objects/driver_module.cpp"
}
expected=$(declared | sed -E 's/^([^(]*[ *])?([A-Za-z_0-9]+)\(.*/\2/' | sort -u)
actual=$(nm -D --defined-only "$lib" | awk '{print $3}' | c++filt | sed 's/(.*//' | sort -u)

unexpected=$(comm -13 <(echo "$expected") <(echo "$actual"))
missing=$(comm -23 <(echo "$expected") <(echo "$actual"))
[ -z "$unexpected" ] || { echo "exported but not declared public:"; echo "$unexpected"; }
[ -z "$missing" ] || { echo "declared public but not exported:"; echo "$missing"; }
[ -z "$unexpected$missing" ] || exit 1

listed=$(grep -v '^#' "$names" | sort -u)
exported_c=$(echo "$actual" | grep '^ZPV4870_' || true)
not_exported=$(comm -23 <(echo "$listed") <(echo "$exported_c"))
not_listed=$(comm -13 <(echo "$listed") <(echo "$exported_c"))
[ -z "$not_exported" ] || { echo "C functions not exported:"; echo "$not_exported"; }
[ -z "$not_listed" ] || { echo "exported C functions that are not in $names:"; echo "$not_listed"; }
[ -z "$not_exported$not_listed" ] || exit 1
echo "$(echo "$actual" | wc -l) exported symbols, all declared public; $(echo "$exported_c" | wc -l) C functions as listed"
