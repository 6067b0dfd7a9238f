#!/usr/bin/env bash
# A virtual LAN of network namespaces for the LAN tests: a host namespace with a bridge, and N
# instrument namespaces, each joined to the bridge by a veth pair. Its private addresses
# (10.87.0.1 for the host, 10.87.0.11 on for the instruments) exist only inside these namespaces,
# so no traffic reaches any other network. Runs COMMAND in the host namespace with the LAN in its
# environment (ZPV4870_TEST_LAN_NAMESPACES, ZPV4870_TEST_LAN_ADDRESSES: comma-separated, one per
# instrument), then removes everything, also after a failure or a signal.
#
# Usage: virtual_lan.sh N COMMAND [ARGS...]
# Exits 77 (a skip to CTest), saying why, where namespaces cannot be made (not root).
set -euo pipefail

count=${1:?usage: virtual_lan.sh N COMMAND [ARGS...]}
shift
prefix="zpv$$"
host="${prefix}h"
made=()

cleanup() {
  for ns in "${made[@]}"; do ip netns pids "$ns" 2>/dev/null | xargs -r kill -9 2>/dev/null || true; done
  for ns in "${made[@]}"; do ip netns del "$ns" 2>/dev/null || true; done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: the virtual LAN needs root to make network namespaces (this runs as uid $(id -u))"
  exit 77
fi
if ! ip netns add "$host" 2>/dev/null; then
  echo "SKIP: network namespaces cannot be made here (ip netns add failed)"
  exit 77
fi
made+=("$host")
ip -n "$host" link set lo up
ip -n "$host" link add br0 type bridge
ip -n "$host" addr add 10.87.0.1/24 brd + dev br0
ip -n "$host" link set br0 up

namespaces=()
addresses=()
for i in $(seq 1 "$count"); do
  ns="${prefix}i$i"
  address="10.87.0.$((10 + i))"
  ip netns add "$ns"
  made+=("$ns")
  ip -n "$ns" link set lo up
  ip -n "$host" link add "v$i" type veth peer name eth0 netns "$ns"
  ip -n "$host" link set "v$i" master br0 up
  ip -n "$ns" addr add "$address/24" brd + dev eth0
  ip -n "$ns" link set eth0 up
  namespaces+=("$ns")
  addresses+=("$address")
done

export ZPV4870_TEST_LAN_NAMESPACES
export ZPV4870_TEST_LAN_ADDRESSES
ZPV4870_TEST_LAN_NAMESPACES=$(IFS=,; echo "${namespaces[*]}")
ZPV4870_TEST_LAN_ADDRESSES=$(IFS=,; echo "${addresses[*]}")
ip netns exec "$host" "$@"
