#!/usr/bin/env bash
# Block reads through pyvisa-py (Debian python3-pyvisa-py) over VXI-11 and SOCKET against the
# bundled simulator, printed beside the driver's own figures (large_reply_bench) from the same
# run. A comparison for the reader, not a test. Usage: bench/pyvisa_compare.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
python=""
for candidate in python3 /usr/bin/python3; do
  if "$candidate" -c 'import pyvisa, pyvisa_py' >/dev/null 2>&1; then python=$candidate; break; fi
done
[ -n "$python" ] || { echo "pyvisa-py is not installed (apt-get install python3-pyvisa-py)"; exit 0; }

log=$(mktemp)
"$build/sim/zpv4870-sim" --port 0 --vxi11 --portmapper-port 0 >"$log" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null || true; rm -f "$log"' EXIT
for _ in $(seq 50); do
  port=$(awk '$1 == "port" {print $2}' "$log"); pm=$(awk '$1 == "portmapper" {print $2}' "$log")
  [ -n "$port" ] && [ -n "$pm" ] && break
  sleep 0.1
done

"$python" - "$port" "$pm" <<'PY'
import statistics, sys, time
import pyvisa_py.protocols.rpc as rpc
rpc.PMAP_PORT = int(sys.argv[2])
import pyvisa
rm = pyvisa.ResourceManager('@py')
for name, resource in (("VXI-11", "TCPIP::127.0.0.1::INSTR"),
                       ("SOCKET", "TCPIP::127.0.0.1::%s::SOCKET" % sys.argv[1])):
    inst = rm.open_resource(resource, read_termination='\n', write_termination='\n', timeout=20000)
    for size in (100000, 10000000):
        times = []
        for _ in range(5 if size > 1000000 else 50):
            start = time.perf_counter()
            data = inst.query_binary_values('SIM:BLOCK? %d' % size, datatype='B', container=bytes)
            times.append(time.perf_counter() - start)
            assert len(data) == size
        print("pyvisa-py %-6s %9d bytes: %10.1f us (median)" % (name, size, statistics.median(times) * 1e6))
    inst.close()
PY
"$build/bench/large_reply_bench" --benchmark_filter='BlockRead/(100000|10000000)/' --benchmark_min_time=0.3 \
  --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>/dev/null | grep median
