"""The tools on the virtual LAN (tests/lan/virtual_lan.sh, run inside tests/lan/with_avahi.sh):
three simulated instruments of two models on their own addresses, found by ``zpv4870 find``, by
Python and by the outside tools (lxi-tools, avahi-browse, pyvisa-py), talked to with ``scpi`` and
watched across a restart. Skips anywhere else."""

from __future__ import annotations

import json
import os
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path
from typing import Iterator

import pytest

ROOT = Path(__file__).resolve().parents[2]
CLI = os.environ.get("ZPV4870_CLI", str(ROOT / "build" / "tools" / "zpv4870"))
SIM = os.environ.get("ZPV4870_SIM", str(ROOT / "build" / "sim" / "zpv4870-sim"))
WITH_AVAHI = str(ROOT / "tests" / "lan" / "with_avahi.sh")
NAMESPACES = [n for n in os.environ.get("ZPV4870_TEST_LAN_NAMESPACES", "").split(",") if n]
ADDRESSES = [a for a in os.environ.get("ZPV4870_TEST_LAN_ADDRESSES", "").split(",") if a]
MODELS = ["ZPV-4803-Advanced", "ZPV-4816-Standard", "ZPV-4803-Advanced"]
AVAHI = os.environ.get("ZPV4870_TEST_AVAHI") == "1"

if len(NAMESPACES) < 3:
    pytest.skip("runs on the virtual LAN of tests/lan/virtual_lan.sh", allow_module_level=True)

sys.path.insert(0, str(ROOT / "python"))
import zpv4870  # noqa: E402


class LanInstrument:
    def __init__(self, index: int) -> None:
        self.namespace, self.address = NAMESPACES[index], ADDRESSES[index]
        self.model, self.serial = MODELS[index], f"LAN-{index + 1}"
        self.process: subprocess.Popen[str] | None = None

    def start(self, announce: bool = False) -> None:
        command = ["ip", "netns", "exec", self.namespace]
        if announce:
            command += [WITH_AVAHI, f"zpv-lan-{self.serial.lower()}"]
        command += [SIM, "--listen", self.address, "--vxi11", "--hislip", "--model", self.model, "--serial", self.serial]
        command += ["--announce"] if announce else []
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
        last = "announced" if announce else "hislip "
        assert self.process.stdout is not None
        for line in self.process.stdout:
            if line.startswith(last):
                return
        raise RuntimeError(f"the simulator in {self.namespace} did not start")

    def kill(self) -> None:
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()


@pytest.fixture(scope="module")
def lan() -> Iterator[list[LanInstrument]]:
    instruments = [LanInstrument(i) for i in range(3)]
    for instrument in instruments:
        instrument.start(announce=AVAHI)
    yield instruments
    for instrument in instruments:
        instrument.kill()


def run(*args: str, timeout: float = 30) -> subprocess.CompletedProcess[str]:
    return subprocess.run([CLI, *args], capture_output=True, text=True, timeout=timeout)


def expected_resources(instrument: LanInstrument) -> list[str]:
    a = instrument.address
    return [f"TCPIP0::{a}::inst0::INSTR", f"TCPIP0::{a}::hislip0::INSTR", f"TCPIP0::{a}::5025::SOCKET"]


def on_the_lan(found: list) -> list:
    return [f for f in found if (f["address"] if isinstance(f, dict) else f.address).startswith("10.87.0.")]


def test_find_lists_every_instrument_for_people_scripts_and_python(lan: list[LanInstrument]) -> None:
    listed = run("--json", "find", "--timeout", "0.5")
    assert listed.returncode == 0, listed.stderr
    assert "VXI-11: asked every portmapper on" in listed.stderr
    found = on_the_lan(json.loads(listed.stdout))
    assert [f["address"] for f in found] == [i.address for i in lan]
    for f, instrument in zip(found, lan):
        assert (f["manufacturer"], f["model"], f["serial"]) == ("Kaltrix", instrument.model, instrument.serial)
        assert f["resources"] == expected_resources(instrument)

    people = run("find", "--timeout", "0.5")
    assert f"{lan[1].address}  Kaltrix {lan[1].model}, serial {lan[1].serial}" in people.stdout

    python = on_the_lan(zpv4870.find_resources(timeout=0.5, local=False))
    assert [(f.address, f.model, f.serial, f.resources) for f in python] == [
        (i.address, i.model, i.serial, expected_resources(i)) for i in lan]
    assert run("find", "--timeout", "100").returncode == 2


@pytest.mark.skipif(not shutil.which("lxi"), reason="lxi-tools is not installed (scripts/ensure-deps.sh --optional)")
def test_lxi_discover_finds_every_instrument(lan: list[LanInstrument]) -> None:
    out = subprocess.run(["lxi", "discover", "-t", "1"], capture_output=True, text=True, timeout=60).stdout
    for instrument in lan:
        assert f'"Kaltrix,{instrument.model},{instrument.serial},1.00" on address {instrument.address}' in out, out


def test_pyvisa_py_talks_to_every_instrument_found(lan: list[LanInstrument]) -> None:
    pyvisa = pytest.importorskip("pyvisa", reason="pyvisa-py is not installed (scripts/ensure-deps.sh --optional)")
    manager = pyvisa.ResourceManager("@py")
    for found, instrument in zip(on_the_lan(zpv4870.find_resources(timeout=0.5, local=False)), lan):
        session = manager.open_resource(found.resources[0], timeout=2000, read_termination="\n")
        try:
            assert session.query("*IDN?") == f"Kaltrix,{instrument.model},{instrument.serial},1.00"
        finally:
            session.close()


@pytest.mark.skipif(not AVAHI, reason=os.environ.get("ZPV4870_TEST_NO_AVAHI", "runs inside tests/lan/with_avahi.sh"))
def test_instruments_that_announce_themselves_are_found_by_mdns(lan: list[LanInstrument]) -> None:
    # By mDNS alone: no VXI-11 broadcast, so every resource here came from an announcement.
    deadline = time.monotonic() + 15
    while True:
        result = zpv4870.find_resources(timeout=1.5, lan=False, mdns=True, local=False)
        found = on_the_lan(result)
        if len(found) == 3 or time.monotonic() > deadline:
            break
    assert [(f.address, f.serial, f.resources) for f in found] == [
        (i.address, i.serial, expected_resources(i)) for i in lan], result.notes
    assert result.notes == ["mDNS: 9 instrument service(s) announced"]

    browsed = subprocess.run(["avahi-browse", "-t", "-r", "-p", "_hislip._tcp"], capture_output=True, text=True,
                             timeout=30).stdout
    for instrument in lan:
        assert f";{instrument.address};4880;" in browsed and f'"SerialNumber={instrument.serial}"' in browsed
    if shutil.which("lxi"):
        out = subprocess.run(["lxi", "discover", "-m", "-t", "2"], capture_output=True, text=True, timeout=60).stdout
        for instrument in lan:
            assert f'"Kaltrix {instrument.model} {instrument.serial}" on address {instrument.address}' in out, out
    cli = run("--json", "find", "--mdns", "--timeout", "1.5")
    assert [f["serial"] for f in on_the_lan(json.loads(cli.stdout))] == [i.serial for i in lan]


def test_scpi_over_the_lan_with_the_wire_in_the_io_log(lan: list[LanInstrument], tmp_path: Path) -> None:
    log = tmp_path / "wire.log"
    for resource in expected_resources(lan[0]):
        done = run("--io-log", str(log), "scpi", resource, "OUTP:FREQ 55", "OUTP:FREQ?")
        assert done.returncode == 0, done.stderr
        assert float(done.stdout) == 55.0
    text = log.read_text()
    assert text.count("OUTP:FREQ?") >= 3 and lan[0].address in text


def test_a_watch_carries_on_across_an_instrument_restart(lan: list[LanInstrument]) -> None:
    instrument = lan[2]
    watch = subprocess.Popen([CLI, "measure", f"TCPIP0::{instrument.address}::5025::SOCKET", "--watch", "0.2",
                              "--timeout", "500"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    try:
        time.sleep(1.0)
        instrument.kill()
        time.sleep(1.0)
        instrument.start()
        time.sleep(2.0)
        assert watch.poll() is None, "the watch ended when its instrument went away"
    finally:
        watch.send_signal(signal.SIGINT)
        out, _ = watch.communicate(timeout=10)
    lines = out.splitlines()
    gone = [i for i, line in enumerate(lines) if "disconnected:" in line]
    assert gone, out
    assert any(line.endswith(",0,0,0,0") for line in lines[gone[-1] + 1:]), out  # readings again
