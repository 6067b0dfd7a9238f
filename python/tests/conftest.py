"""Fixtures: the bundled simulator on a free loopback port, and driver sessions on it or simulated."""

from __future__ import annotations

import os
import subprocess
import threading
import time
from pathlib import Path
from typing import Iterator

import pytest

ROOT = Path(__file__).resolve().parents[2]
SIMULATED = "Simulate=true, DriverSetup=Model=ZPV-4832-Advanced"

# The build tree's library, unless the caller chose one.
if not os.environ.get("ZPV4870_LIBRARY") and (ROOT / "build" / "libzpv4870.so").exists():
    os.environ["ZPV4870_LIBRARY"] = str(ROOT / "build" / "libzpv4870.so")

import zpv4870  # noqa: E402


class Simulator:
    """zpv4870-sim with its log: every connection opened and closed and every message received."""

    def __init__(self) -> None:
        binary = os.environ.get("ZPV4870_SIM", str(ROOT / "build" / "sim" / "zpv4870-sim"))
        self.process = subprocess.Popen([binary, "--port", "0", "--log", "--model", "ZPV-4832-Advanced"],
                                        stdout=subprocess.PIPE, text=True)
        self.log: list[str] = []
        self.port = 0
        ready = threading.Event()

        def read() -> None:
            assert self.process.stdout
            for line in self.process.stdout:
                word, _, rest = line.rstrip("\n").partition(" ")
                if word == "port":
                    self.port = int(rest)
                    ready.set()
                elif word == "log":
                    self.log.append(rest)

        threading.Thread(target=read, daemon=True).start()
        if not ready.wait(10):
            self.process.kill()
            raise RuntimeError("the simulator did not start")
        self.resource = f"TCPIP0::127.0.0.1::{self.port}::SOCKET"

    def wait_for(self, event: str, after: int = 0, timeout: float = 5.0) -> bool:
        """True once the log holds event at or after position `after`."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if event in self.log[after:]:
                return True
            time.sleep(0.01)
        return False

    def stop(self) -> None:
        self.process.terminate()
        self.process.wait(10)


@pytest.fixture(scope="session")
def simulator() -> Iterator[Simulator]:
    sim = Simulator()
    yield sim
    sim.stop()


@pytest.fixture(params=["simulated", "tcp"])
def drv(request: pytest.FixtureRequest, simulator: Simulator) -> Iterator[zpv4870.Driver]:
    """A session in simulation, and one against the simulator over TCP."""
    if request.param == "simulated":
        driver = zpv4870.Driver("", options=SIMULATED)
    else:
        driver = zpv4870.Driver(simulator.resource, reset=True)
    with driver:
        yield driver
