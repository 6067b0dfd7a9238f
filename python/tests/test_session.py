"""Opening, closing and failing: what a session does at its edges."""

from __future__ import annotations

import pytest

import zpv4870
from zpv4870._header import tables

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
    assert caught.value.status == tables().statuses["ZPV4870_ERROR_RESOURCE_UNKNOWN"]
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
        assert drv.ivi.get_output_phase_name(1) == "OutputPhase1"
    status = tables().statuses["ZPV4870_ERROR_CANNOT_APPLY_TO_ALL_PHASES"]
    assert zpv4870.error_message(status) == "Cannot apply to AllPhases. Use specific output phase."
    assert zpv4870.error_message(0x7777) == ""
