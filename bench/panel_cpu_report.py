#!/usr/bin/env python3
"""The front panel's own cost: CPU of `zpv4870 panel` while one page watches the live values (two
samples a second, read as a browser's EventSource does), beside `zpv4870 measure --watch 0.5`,
which makes the same instrument reads at the same rate and nothing else. The simulator is a process
of its own, so neither figure holds the instrument's side. CPU is the tool's user + kernel time from
/proc, as a share of one core.

A report for the reader, never a test. Usage: bench/panel_cpu_report.py [build-dir] [seconds]
"""
import os
import re
import subprocess
import sys
import threading
import time
import urllib.request

build = sys.argv[1] if len(sys.argv) > 1 else "build"
seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 60.0  # /proc counts in ticks of 10 ms
tick = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid: int) -> float:
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / tick  # utime, stime


def measure(process: subprocess.Popen, warmup: float = 2.0) -> float:
    time.sleep(warmup)
    start_cpu, start = cpu_seconds(process.pid), time.monotonic()
    time.sleep(seconds)
    return (cpu_seconds(process.pid) - start_cpu) / (time.monotonic() - start) * 100.0


sim = subprocess.Popen([f"{build}/sim/zpv4870-sim", "--port", "0"], stdout=subprocess.PIPE, text=True)
port = next(int(line.split()[1]) for line in sim.stdout if line.startswith("port "))
resource = f"TCPIP0::127.0.0.1::{port}::SOCKET"
tool = f"{build}/tools/zpv4870"
try:
    panel = subprocess.Popen([tool, "panel", resource], stdout=subprocess.PIPE, text=True)
    url = re.search(r"(http://\S+)\?token=(\w+)", panel.stdout.readline())
    origin, token = url.group(1).rstrip("/"), url.group(2)
    events = {"count": 0}

    def watch() -> None:  # one page: the event stream, read as it comes
        with urllib.request.urlopen(f"{origin}/api/events?token={token}", timeout=10) as stream:
            for line in stream:
                if line.startswith(b"data:"):
                    events["count"] += 1

    threading.Thread(target=watch, daemon=True).start()
    panel_cpu = measure(panel)
    rate = events["count"] / (seconds + 2.0)
    panel.terminate()
    panel.wait(10)

    watch_process = subprocess.Popen([tool, "measure", resource, "--watch", "0.5"], stdout=subprocess.DEVNULL)
    watch_cpu = measure(watch_process)
    watch_process.terminate()
    watch_process.wait(10)
finally:
    sim.terminate()
    sim.wait(10)

print(f"| over {seconds:.0f} s | CPU, % of one core |")
print("|---|---|")
print(f"| zpv4870 panel, one page watching ({rate:.1f} events/s) | {panel_cpu:.2f} |")
print(f"| zpv4870 measure --watch 0.5 (the same reads) | {watch_cpu:.2f} |")
