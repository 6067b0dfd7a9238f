#!/usr/bin/env bash
# Registration round trip in a private user registry: before registration a host that knows the
# driver only by ProgID cannot create it; after `zpv4870 register --user` it can, the module found
# through its registered path; after unregistering it cannot again.
# Usage: round_trip.sh <zpv4870 tool> <host program> <library>
set -euo pipefail
tool=$1
host=$2
library=$(readlink -f "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" ZPV4870_REGISTRY="$work/machine-registry"

expect_failure() {  # <mode> <status>
  local out
  out=$("$host" "$1") && { echo "the host created the driver before registration: $out"; exit 1; }
  echo "$out" | grep -q "$2" || { echo "expected $2, got: $out"; exit 1; }
}

expect_failure progid "CLSIDFromProgID 0x800401F3"
expect_failure clsid "CoCreateInstance 0x80040154"

"$tool" register --user >/dev/null
grep -q "^@=\"$library\"$" "$XDG_CONFIG_HOME/zpv4870/registry" ||
  { echo "InprocServer32 is not the library's real path:"; cat "$XDG_CONFIG_HOME/zpv4870/registry"; exit 1; }
grep -q 'HKEY_CURRENT_USER\\Software\\Classes\\ZPV4870.ZPV4870\\CurVer' "$XDG_CONFIG_HOME/zpv4870/registry"
[ "$("$host" progid)" = "model ZPV-4824-Advanced" ] || { echo "the registered driver was not created by ProgID"; exit 1; }
[ "$("$host" clsid)" = "model ZPV-4824-Advanced" ] || { echo "the registered driver was not created by CLSID"; exit 1; }
[ ! -e "$ZPV4870_REGISTRY" ] || { echo "a per-user registration wrote the machine's registry"; exit 1; }
grep -q 'Classes\\AppID\\{1705EE23-A82D-4705-8A6D-06454AF60725}\]' "$XDG_CONFIG_HOME/zpv4870/registry" ||
  { echo "no AppID key after registration"; exit 1; }

"$tool" register --user --unregister >/dev/null
# Only the AppID parent may stay: the driver's own AppID keys go.
if grep -qi 'AppID\\\|1705EE23' "$XDG_CONFIG_HOME/zpv4870/registry"; then
  echo "unregistering left the driver's AppID keys:"; cat "$XDG_CONFIG_HOME/zpv4870/registry"; exit 1
fi
expect_failure progid "CLSIDFromProgID 0x800401F3"
expect_failure clsid "CoCreateInstance 0x80040154"
echo "registered, created by ProgID through the registry, unregistered"
