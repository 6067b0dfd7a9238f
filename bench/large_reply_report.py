#!/usr/bin/env python3
"""Large replies, one table: every client of bench/large_reply_bench (the simulator a process of its
own) beside our raw clients - a socket client reusing its buffer (the floor) and a bare VXI-11 client
(that protocol's floor) - and, when python3-pyvisa-py is installed, pyvisa-py on SOCKET and VXI-11.
Medians of interleaved repetitions in one run; CPU is the client process's, user and kernel.

A report for the reader, never a test. Usage: bench/large_reply_report.py [build-dir] [repetitions]
"""
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

SIZES = (100000, 1000000, 10000000)
TRANSPORTS = {"0": "SOCKET", "1": "VXI-11", "2": "HiSLIP"}
CLIENTS = ["raw socket", "raw VXI-11", "driver ReadBytes SOCKET", "driver ReadBytes HiSLIP",
           "driver ReadBytes VXI-11", "C viRead SOCKET", "driver ReadString SOCKET", "pyvisa-py SOCKET",
           "pyvisa-py VXI-11"]
# Which floor each client is held against.
FLOOR = {client: ("raw VXI-11" if "VXI-11" in client and client != "raw VXI-11" else "raw socket")
         for client in CLIENTS}


def client_of(run_name):
    parts = run_name.split("/")
    if parts[0] == "BM_DriverReadBytes":
        return "driver ReadBytes " + TRANSPORTS[parts[2]]
    return {"BM_RawSocket": "raw socket", "BM_RawVxi11": "raw VXI-11", "BM_CViRead": "C viRead SOCKET",
            "BM_DriverReadString": "driver ReadString SOCKET"}[parts[0]]


def run_benchmark(build, repetitions):
    """{(client, size): (wall_us, cpu_us, user_us, sys_us)}: medians over the repetitions."""
    out = subprocess.run(
        [os.path.join(build, "bench", "large_reply_bench"), "--benchmark_filter=-BM_DriverReadPeak",
         "--benchmark_format=json", "--benchmark_min_time=0.2", "--benchmark_enable_random_interleaving=true",
         "--benchmark_repetitions=%d" % repetitions],
        check=True, capture_output=True, text=True).stdout
    runs = {}
    for bench in json.loads(out)["benchmarks"]:
        if bench.get("run_type") != "iteration":
            continue
        key = (client_of(bench["run_name"]), int(bench["run_name"].split("/")[1]))
        runs.setdefault(key, []).append(
            (bench["real_time"], bench["cpu_time"], bench.get("user_us", 0.0), bench.get("sys_us", 0.0)))
    return {key: tuple(statistics.median(r[i] for r in values) for i in range(4)) for key, values in runs.items()}


def run_pyvisa(build, repetitions):
    """pyvisa-py's medians against a simulator process of its own: {(client, size): (wall_us, ...)}."""
    code = r"""
import json, statistics, sys, time
import pyvisa, pyvisa_py.protocols.rpc as rpc
ports, sizes, repetitions = json.loads(sys.argv[1]), json.loads(sys.argv[2]), int(sys.argv[3])
rpc.PMAP_PORT = ports["portmapper"]
manager = pyvisa.ResourceManager("@py")
rows = []
for client, resource in (("pyvisa-py VXI-11", "TCPIP::127.0.0.1::INSTR"),
                         ("pyvisa-py SOCKET", "TCPIP::127.0.0.1::%d::SOCKET" % ports["port"])):
    inst = manager.open_resource(resource, read_termination="\n", write_termination="\n", timeout=20000)
    for size in sizes:
        walls, cpus = [], []
        for _ in range(max(repetitions, 5 if size >= 1000000 else 30)):
            start, cpu = time.perf_counter(), time.process_time()
            data = inst.query_binary_values("SIM:BLOCK? %d" % size, datatype="B", container=bytes)
            walls.append(time.perf_counter() - start)
            cpus.append(time.process_time() - cpu)
            assert len(data) == size
        rows.append((client, size, statistics.median(walls) * 1e6, statistics.median(cpus) * 1e6))
    inst.close()
print(json.dumps(rows))
"""
    python = "/usr/bin/python3"
    if subprocess.run([python, "-c", "import pyvisa_py"], capture_output=True).returncode != 0:
        print("pyvisa-py is not installed (apt-get install python3-pyvisa-py): its rows are left out\n")
        return {}
    log = tempfile.NamedTemporaryFile(mode="w+", suffix=".log")
    sim = subprocess.Popen([os.path.join(build, "sim", "zpv4870-sim"), "--port", "0", "--vxi11",
                            "--portmapper-port", "0"], stdout=log, stderr=subprocess.STDOUT)
    try:
        ports = {}
        for _ in range(100):
            log.seek(0)
            ports = {k: int(v) for k, v in (line.split()[:2] for line in log if len(line.split()) >= 2)
                     if v.isdigit()}
            if "port" in ports and "portmapper" in ports:
                break
            time.sleep(0.05)
        out = subprocess.run([python, "-c", code, json.dumps(ports), json.dumps(SIZES), str(repetitions)],
                             check=True, capture_output=True, text=True).stdout
        return {(client, size): (wall, cpu, None, None) for client, size, wall, cpu in json.loads(out)}
    finally:
        sim.terminate()
        sim.wait()


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    rows = run_pyvisa(build, repetitions)
    rows.update(run_benchmark(build, repetitions))
    print("| bytes | client | wall us | x floor | CPU us | x floor CPU | user us | kernel us |")
    print("|---:|---|---:|---:|---:|---:|---:|---:|")
    for size in SIZES:
        for client in CLIENTS:
            if (client, size) not in rows:
                continue
            wall, cpu, user, kernel = rows[(client, size)]
            floor = rows[(FLOOR[client], size)]
            own = client == FLOOR[client]
            print("| %d | %s | %.1f | %s | %.1f | %s | %s | %s |" % (
                size, client, wall, "" if own else "%.2f (%s)" % (wall / floor[0], FLOOR[client]), cpu,
                "" if own else "%.2f" % (cpu / floor[1]), "" if user is None else "%.1f" % user,
                "" if kernel is None else "%.1f" % kernel))


if __name__ == "__main__":
    main()
