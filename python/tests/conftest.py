"""Fixtures: the bundled simulator on a free loopback port, and driver sessions on it or simulated."""

from __future__ import annotations

import os
import sys
from pathlib import Path
from typing import Iterator

import pytest

ROOT = Path(__file__).resolve().parents[2]
SIMULATED = "Simulate=true, DriverSetup=Model=ZPV-4832-Advanced"

# The build tree's library, unless the caller chose one.
if not os.environ.get("ZPV4870_LIBRARY") and (ROOT / "build" / "libzpv4870.so").exists():
    os.environ["ZPV4870_LIBRARY"] = str(ROOT / "build" / "libzpv4870.so")

import zpv4870  # noqa: E402

sys.path.insert(0, str(ROOT / "tests" / "support"))
from simulator_process import Simulator  # noqa: E402


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
