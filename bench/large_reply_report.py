#!/usr/bin/env python3
"""Block-read throughput, one table: the driver on SOCKET, HiSLIP and VXI-11 beside our raw clients
(a plain socket: the floor; a bare VXI-11 client: that protocol's floor) and, when python3-pyvisa-py
is installed, pyvisa-py over VXI-11 and SOCKET against the bundled simulator, all in one run.

A report for the reader, never a test. Usage: bench/large_reply_report.py [build-dir] [repetitions]
"""
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

SIZES = (1000, 100000, 1000000, 10000000)
TRANSPORTS = {"0": "driver SOCKET", "1": "driver VXI-11", "2": "driver HiSLIP"}


def run_benchmark(build, repetitions):
    """Medians of large_reply_bench's block reads: {(client, size): (wall_us, cpu_us)}."""
    out = subprocess.run(
        [os.path.join(build, "bench", "large_reply_bench"), "--benchmark_filter=BlockRead/",
         "--benchmark_format=json", "--benchmark_min_time=0.3", "--benchmark_enable_random_interleaving=true",
         "--benchmark_repetitions=%d" % repetitions, "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    rows = {}
    for bench in json.loads(out)["benchmarks"]:
        if bench.get("aggregate_name") != "median":
            continue
        parts = bench["run_name"].split("/")
        size = int(parts[1])
        client = {"BM_RawSocketBlockRead": "raw socket", "BM_RawVxi11BlockRead": "raw VXI-11"}.get(parts[0])
        if client is None:
            client = TRANSPORTS[parts[2]]
        rows[(client, size)] = (bench["real_time"], bench["cpu_time"])
    return rows


def run_pyvisa(build, repetitions):
    """pyvisa-py's medians against a simulator process of its own: {(client, size): (wall_us, None)}."""
    try:
        import pyvisa  # noqa: F401
        import pyvisa_py.protocols.rpc as rpc
    except ImportError:
        print("pyvisa-py is not installed (apt-get install python3-pyvisa-py): its rows are left out\n")
        return {}
    import pyvisa
    log = tempfile.NamedTemporaryFile(mode="w+", suffix=".log")
    sim = subprocess.Popen([os.path.join(build, "sim", "zpv4870-sim"), "--port", "0", "--vxi11",
                            "--portmapper-port", "0"], stdout=log, stderr=subprocess.STDOUT)
    try:
        ports = {}
        for _ in range(100):
            log.seek(0)
            ports = dict(line.split()[:2] for line in log if len(line.split()) >= 2)
            if "port" in ports and "portmapper" in ports:
                break
            time.sleep(0.05)
        rpc.PMAP_PORT = int(ports["portmapper"])
        manager = pyvisa.ResourceManager("@py")
        rows = {}
        for client, resource in (("pyvisa-py VXI-11", "TCPIP::127.0.0.1::INSTR"),
                                 ("pyvisa-py SOCKET", "TCPIP::127.0.0.1::%s::SOCKET" % ports["port"])):
            inst = manager.open_resource(resource, read_termination="\n", write_termination="\n", timeout=20000)
            for size in SIZES:
                times = []
                for _ in range(max(repetitions, 5 if size >= 1000000 else 50)):
                    start = time.perf_counter()
                    data = inst.query_binary_values("SIM:BLOCK? %d" % size, datatype="B", container=bytes)
                    times.append(time.perf_counter() - start)
                    assert len(data) == size
                rows[(client, size)] = (statistics.median(times) * 1e6, None)
            inst.close()
        return rows
    finally:
        sim.terminate()
        sim.wait()


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    rows = run_pyvisa(build, repetitions)
    rows.update(run_benchmark(build, repetitions))
    clients = ["raw socket", "raw VXI-11", "driver SOCKET", "driver HiSLIP", "driver VXI-11",
               "pyvisa-py SOCKET", "pyvisa-py VXI-11"]
    print("| bytes | client | wall us | MB/s | x raw socket | x raw VXI-11 | client CPU ms per MB |")
    print("|---:|---|---:|---:|---:|---:|---:|")
    for size in SIZES:
        floor = rows[("raw socket", size)][0]
        vxi_floor = rows[("raw VXI-11", size)][0]
        for client in clients:
            if (client, size) not in rows:
                continue
            wall, cpu = rows[(client, size)]
            vxi = "%.2f" % (wall / vxi_floor) if "VXI-11" in client and client != "raw VXI-11" else ""
            per_mb = "%.2f" % (cpu / 1000 / (size / 1e6)) if cpu is not None else ""
            print("| %d | %s | %.1f | %.0f | %.2f | %s | %s |" % (size, client, wall, size / wall, wall / floor,
                                                                  vxi, per_mb))
    # How the cost grows: wall time per MB from the smallest block to the largest, per client.
    print("\nwall us per MB, by block size (%s):" % ", ".join(str(s) for s in SIZES))
    for client in clients:
        if all((client, size) in rows for size in SIZES):
            print("  %-17s %s" % (client, "  ".join("%8.0f" % (rows[(client, s)][0] / (s / 1e6)) for s in SIZES)))


if __name__ == "__main__":
    main()
