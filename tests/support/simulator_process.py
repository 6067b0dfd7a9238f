"""zpv4870-sim as a process for tests written in Python: its port, and its log of every connection
opened and closed and every message received."""

from __future__ import annotations

import os
import subprocess
import threading
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]


class Simulator:
    def __init__(self, *flags: str) -> None:
        binary = os.environ.get("ZPV4870_SIM", str(ROOT / "build" / "sim" / "zpv4870-sim"))
        self.process = subprocess.Popen([binary, "--port", "0", "--log", "--model", "ZPV-4832-Advanced", *flags],
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

    def mark(self, quiet: float = 0.2) -> int:
        """The log's length once nothing has come for `quiet` seconds: later entries are new."""
        length, since = len(self.log), time.monotonic()
        while time.monotonic() - since < quiet:
            time.sleep(0.02)
            if len(self.log) != length:
                length, since = len(self.log), time.monotonic()
        return length

    def stop(self) -> None:
        self.process.terminate()
        self.process.wait(10)
