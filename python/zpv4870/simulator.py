"""The bundled instrument simulator behind ``Driver(simulate=True)``: ``zpv4870-sim`` started on a
free loopback port for the session's lifetime, so every member works as on an instrument (the
driver's own simulation, the option ``Simulate=true``, answers only the class-compliant ones)."""

from __future__ import annotations

import os
import shutil
import subprocess
import threading
from pathlib import Path


def simulator_path() -> str:
    """ZPV4870_SIM when set, the build tree's simulator next to a build tree's library, else the
    installed ``zpv4870-sim``."""
    if os.environ.get("ZPV4870_SIM"):
        return os.environ["ZPV4870_SIM"]
    here = Path(__file__).resolve().parent
    for candidate in (here / "zpv4870-sim", here.parents[1] / "build" / "sim" / "zpv4870-sim"):
        if candidate.exists():
            return str(candidate)
    found = shutil.which("zpv4870-sim")
    if not found:
        raise FileNotFoundError("zpv4870-sim was not found (install zpv4870-tools or set ZPV4870_SIM)")
    return found


class BundledSimulator:
    """One simulated instrument on 127.0.0.1; ``resource`` opens it, ``stop()`` ends it."""

    def __init__(self, model: str | None = None, start_timeout: float = 10.0) -> None:
        arguments = [simulator_path(), "--port", "0"] + (["--model", model] if model else [])
        self._process = subprocess.Popen(arguments, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        port: list[int] = []
        ready = threading.Event()

        def read() -> None:
            assert self._process.stdout
            for line in self._process.stdout:
                word, _, rest = line.strip().partition(" ")
                if word == "port" and rest.isdigit():
                    port.append(int(rest))
                    ready.set()

        threading.Thread(target=read, daemon=True).start()
        if not ready.wait(start_timeout):
            self._process.kill()
            _, error = self._process.communicate(timeout=5)
            raise RuntimeError(f"the bundled simulator did not start: {error.strip() or 'no answer'}")
        self.resource = f"TCPIP0::127.0.0.1::{port[0]}::SOCKET"

    def stop(self) -> None:
        if self._process.poll() is None:
            self._process.terminate()
            try:
                self._process.wait(10)
            except subprocess.TimeoutExpired:
                self._process.kill()
                self._process.wait()
