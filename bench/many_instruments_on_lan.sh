#!/usr/bin/env bash
# bench/many_instruments_bench on the virtual LAN of the tests (root): four simulated instruments
# in network namespaces of their own, on their own addresses and the standard port, driven from
# the host namespace. Usage: bench/many_instruments_on_lan.sh [build-dir] [benchmark options...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
exec tests/lan/virtual_lan.sh 4 bash -c '
  build=$1; shift
  IFS=, read -ra namespaces <<< "$ZPV4870_TEST_LAN_NAMESPACES"
  IFS=, read -ra addresses <<< "$ZPV4870_TEST_LAN_ADDRESSES"
  for i in "${!namespaces[@]}"; do
    ip netns exec "${namespaces[$i]}" "$build/sim/zpv4870-sim" --listen "${addresses[$i]}" > /dev/null &
  done
  sleep 0.5
  ZPV4870_BENCH_ADDRESSES=$ZPV4870_TEST_LAN_ADDRESSES exec "$build/bench/many_instruments_bench" "$@"
' lan "$build" "$@"
