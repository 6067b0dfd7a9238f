"""Opening, closing and failing: what a session does at its edges."""

from __future__ import annotations

import pytest

import zpv4870
from zpv4870._catalog import catalog

from .conftest import SIMULATED, Simulator


def test_the_with_block_closes_the_link_even_after_an_exception(simulator: Simulator) -> None:
    mark = simulator.mark()
    with pytest.raises(RuntimeError):
        with zpv4870.Driver(simulator.resource) as drv:
            assert simulator.wait_for("open", mark)
            raise RuntimeError("the test program failed")
    assert simulator.wait_for("closed", mark)
    assert drv.closed
    with pytest.raises(zpv4870.InvalidSessionError):
        drv.manual_mode.frequency
    drv.close()  # a second close does nothing


def test_a_failed_open_raises_with_the_description() -> None:
    with pytest.raises(zpv4870.DriverIOError) as caught:
        zpv4870.Driver("NOSUCHBUS0::INSTR")
    assert caught.value.status == catalog().statuses["ZPV4870_ERROR_RESOURCE_UNKNOWN"]
    assert caught.value.description.startswith("ZPV4870: Unknown resource.")
    with pytest.raises(zpv4870.InvalidValueError):
        zpv4870.Driver("", options="Simulate=maybe")


def test_functions_take_their_inputs_and_return_their_outputs(simulator: Simulator) -> None:
    with zpv4870.Driver(simulator.resource, reset=True) as drv:
        drv.list_mode.file.add("A.LST")
        assert drv.list_mode.file.get_file_total() >= 1.0
        assert drv.measure.voltage_ac() == pytest.approx(drv.measure.voltage_ac())
        written = drv.system.vi_write(b"*IDN?\n")
        assert written == 6
        assert drv.system.vi_read().startswith(b"Kaltrix,ZPV-4832-Advanced")
        assert drv.error_query() == (0, "No error")
        driver_revision, firmware = drv.revision_query()
        assert driver_revision and firmware
        with pytest.raises(TypeError):
            drv.list_mode.file.add("A.LST", "too many")


def test_utility_and_status_texts() -> None:
    with zpv4870.Driver("", options=SIMULATED) as drv:
        assert drv.self_test() == (0, "Self test passed.") or drv.self_test()[0] == 0
        assert drv.identity.specific_driver_prefix == "ZPV4870"
        assert drv.ivi.output_phases.get_output_phase_name(1) == "OutputPhase1"
    status = catalog().statuses["ZPV4870_ERROR_CANNOT_APPLY_TO_ALL_PHASES"]
    assert zpv4870.error_message(status) == "Cannot apply to AllPhases. Use specific output phase."
    assert zpv4870.error_message(0x7777) == ""


def test_the_documented_options_really_switch_status_checking_on(simulator: Simulator) -> None:
    """The option names of the README and the examples are the driver's own; others are warned about."""
    import re
    from pathlib import Path

    root = Path(__file__).resolve().parents[2]
    header = (root / "src" / "core" / "option_names.h").read_text()
    listed = re.search(r"kOptionFlagNames = \{(.*?)\};", header, re.S)
    assert listed and tuple(re.findall(r'"(\w+)"', listed.group(1))) == zpv4870.driver.OPTION_NAMES

    documented = set()
    for path in [root / "README.md", *sorted((root / "examples").rglob("*.*"))]:
        documented.update(re.findall(r"\b(\w+)=true", path.read_text(errors="replace")))
    unknown = {name for name in documented if name.lower() not in zpv4870.driver.OPTION_NAMES + ("trace",)}
    assert not unknown, f"documented options the driver does not know: {unknown}"

    with zpv4870.Driver(simulator.resource, options="QueryInstrStatus=true") as drv:
        assert drv.driver_operation.query_instrument_status is True
    with pytest.warns(zpv4870.DriverWarning, match="'QueryInstrumentStatus'"):
        with zpv4870.Driver("", options="QueryInstrumentStatus=true, " + SIMULATED, status_check=False) as drv:
            assert drv.driver_operation.query_instrument_status is False


def test_what_the_instrument_refuses_raises_with_its_own_words(simulator: Simulator) -> None:
    with zpv4870.Driver(simulator.resource) as drv:  # status checking is on by default
        assert drv.driver_operation.query_instrument_status is True
        with pytest.raises(zpv4870.DriverError, match="the instrument refused it: -2"):
            drv.output_phases["OutputPhase1"].voltage_level = 9999.0
        assert drv.error_query()[0] == 0  # the error was read into the exception
    with zpv4870.Driver(simulator.resource, status_check=False) as drv:
        assert drv.driver_operation.query_instrument_status is False


def test_the_utility_group_holds_the_inherent_utilities(simulator: Simulator) -> None:
    with zpv4870.Driver(simulator.resource) as drv:
        assert drv.utility.error_query() == drv.error_query() == (0, "No error")
        assert drv.utility.revision_query()[0] == drv.revision_query()[0]
        code, _ = drv.utility.self_test()
        assert code == 0
        drv.utility.reset()


def test_the_timeout_argument_holds_from_the_opening_identity_query() -> None:
    slow = Simulator("--delay-ms", "2500")
    try:
        with pytest.raises(zpv4870.DriverTimeoutError):
            zpv4870.Driver(slow.resource, status_check=False, timeout=0.5)
        with zpv4870.Driver(slow.resource, status_check=False, timeout=6.0) as drv:
            assert drv.system.io_timeout == 6000
        with pytest.raises(ValueError):
            zpv4870.Driver(slow.resource, timeout=float("nan"))
    finally:
        slow.stop()


def test_methods_have_real_signatures_and_readings_are_records(simulator: Simulator) -> None:
    import inspect

    with zpv4870.Driver(simulator.resource, reset=True) as drv:
        assert list(inspect.signature(type(drv.list_mode.sequence).edit).parameters) == ["self", "sequence_index"]
        with pytest.raises(TypeError):
            drv.list_mode.sequence.edit(1, 2)
        assert "readings as a record" in type(drv.measure).all.__doc__
        reading = drv.measure.all()
        assert isinstance(reading, zpv4870.results.SequenceResult)
        assert isinstance(reading.voltage_ac, float) and isinstance(reading.apparent_power, float)
        assert zpv4870.results.UNITS["voltage_ac"] == "V"


def test_simulate_runs_the_bundled_simulator_for_the_session() -> None:
    with zpv4870.Driver(simulate=True, model="ZPV-4816-Standard") as drv:
        assert drv.identity.instrument_model == "ZPV-4816-Standard"
        drv.manual_mode.frequency = 50.0  # an instrument member, not only the class-compliant ones
        assert drv.manual_mode.frequency == 50.0
        with pytest.raises(zpv4870.DriverError) as refused:
            drv.output_phases[0].voltage_level = 9999.0
        assert "-224" in refused.value.description
        simulator = drv._simulator
    assert simulator._process.poll() is not None  # stopped with the session
    with pytest.raises(ValueError):
        zpv4870.Driver("TCPIP0::127.0.0.1::5025::SOCKET", simulate=True)


def test_reads_land_in_the_object_returned_or_in_the_callers_storage(simulator: Simulator) -> None:
    expected = b"#6300000" + bytes(65 + i % 26 for i in range(300000)) + b"\n"
    with zpv4870.Driver(simulator.resource) as drv:
        drv.system.io_timeout = 20000
        drv.system.vi_write(b"SIM:BLOCK? 300000\n")
        assert drv.system.vi_read(len(expected)) == expected
        drv.system.vi_write(b"*IDN?\n")
        assert drv.system.vi_read().startswith(b"Kaltrix,")  # a short read: only what came

        storage = bytearray(len(expected) + 10)
        drv.system.vi_write(b"SIM:BLOCK? 300000\n")
        assert drv.system.vi_read(into=storage) == len(expected)
        assert storage[: len(expected)] == expected
        window = memoryview(storage)[5:]
        drv.system.vi_write(b"*IDN?\n")
        got = drv.system.vi_read(into=window, count=8)
        assert got == 8 and storage[5:13] == b"Kaltrix,"
        drv.system.vi_read()  # the rest of that answer

        with pytest.raises(TypeError):
            drv.system.vi_read(into=b"read-only")
        with pytest.raises(ValueError):
            drv.system.vi_read(into=bytearray(4), count=5)
        with pytest.raises(ValueError):
            drv.system.vi_read(into=memoryview(bytearray(8))[::2])

        numpy = pytest.importorskip("numpy")
        samples = numpy.zeros(len(expected), dtype=numpy.uint8)
        drv.system.vi_write(b"SIM:BLOCK? 300000\n")
        assert drv.system.vi_read(into=samples) == len(expected)
        assert samples.tobytes() == expected


def test_find_reads_the_librarys_lines_and_refuses_a_bad_timeout_before_asking() -> None:
    found = zpv4870.find.parse_found("instrument\t10.0.0.5\tKaltrix\tZPV-4803-Advanced\tS1\t1.00\t\t"
                                     "TCPIP0::10.0.0.5::inst0::INSTR\tTCPIP0::10.0.0.5::5025::SOCKET\n"
                                     "instrument\tASRL/dev/ttyUSB0::INSTR\t\t\t\t\t\tASRL/dev/ttyUSB0::INSTR\n"
                                     "note\tVXI-11: asked\n")
    assert [(f.address, f.serial, len(f.resources)) for f in found] == [("10.0.0.5", "S1", 2),
                                                                       ("ASRL/dev/ttyUSB0::INSTR", "", 1)]
    assert found.notes == ["VXI-11: asked"]
    for timeout in (0, 61, float("nan")):
        with pytest.raises(zpv4870.InvalidValueError, match="timeout from 0.01 to 60 s"):
            zpv4870.find_resources(timeout=timeout)
