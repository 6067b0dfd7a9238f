#!/usr/bin/env bash
# Builds what the main job runs (the library, the simulator, the tool and the examples; the tests,
# benchmarks and fuzz targets are scripts/run-tests.sh's), starts the bundled simulator on a free
# loopback port and runs the example test programs against it over TCP.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target zpv4870 zpv4870-sim zpv4870_cli output_check_cpp list_program_cpp output_check \
  list_program output_check_c list_program_c driver_info

log=$(mktemp)
build/sim/zpv4870-sim --port 0 --model ZPV-4832-Advanced >"$log" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null || true; rm -f "$log"' EXIT
for _ in $(seq 50); do
  port=$(awk '$1 == "port" {print $2}' "$log")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "${port:-}" ] || { echo "the simulator did not start:"; cat "$log"; exit 1; }

echo "Simulator listening on 127.0.0.1:$port"
# The modern C++ face first, then the classic object interface, C and Python.
build/examples/output_check_cpp "TCPIP0::127.0.0.1::${port}::SOCKET"
echo
build/examples/list_program_cpp "TCPIP0::127.0.0.1::${port}::SOCKET"
echo
build/examples/output_check "TCPIP0::127.0.0.1::${port}::SOCKET"
echo
build/examples/list_program "TCPIP0::127.0.0.1::${port}::SOCKET"
echo
# The C example leaves a trace of every driver call it made, with the viewer's stylesheet named.
mkdir -p build/traces
ZPV4870_IVI_ROOT="$PWD/build/share/zpv4870" build/examples/output_check_c "TCPIP0::127.0.0.1::${port}::SOCKET" \
  "DriverSetup=Trace=true, TraceName=$PWD/build/traces/output_check"
echo
build/examples/list_program_c "TCPIP0::127.0.0.1::${port}::SOCKET"

html=$(build/tools/zpv4870 trace view build/traces/output_check.xml)
echo "Trace of the C example: build/traces/output_check.xml (open it in a browser); as a page: $html"

# The same check from Python, through the package in python/ and the library just built.
if command -v /usr/bin/python3 >/dev/null; then
  echo
  PYTHONPATH=python ZPV4870_LIBRARY=build/libzpv4870.so \
    /usr/bin/python3 examples/python/output_check.py "TCPIP0::127.0.0.1::${port}::SOCKET"
fi
