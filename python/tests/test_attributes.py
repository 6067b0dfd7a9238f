"""Every attribute through its property, with the Python type of its C type."""

from __future__ import annotations

import enum
from typing import Any

import pytest

import zpv4870
from zpv4870._catalog import AttributeInfo, catalog
from zpv4870.driver import attribute_name, python_path

PYTHON_TYPES = {"ViInt32": int, "ViReal64": float, "ViBoolean": bool, "ViString": str}


def owner(drv: zpv4870.Driver, info: AttributeInfo) -> Any:
    """The object the attribute is a property of (the first phase for per-phase ones)."""
    target: Any = drv
    for part in python_path(info.place).split("."):
        target = getattr(target, part[:-2])[0] if part.endswith("[]") else getattr(target, part)
    return target


def test_every_attribute_reads_as_its_type(drv: zpv4870.Driver) -> None:
    simulating = drv.driver_operation.simulate
    read = refused = 0
    for info in catalog().attributes:
        try:
            value = getattr(owner(drv, info), attribute_name(info))
        except zpv4870.NotSupportedError:
            refused += 1  # the model lacks it, the class member is not implemented, or no instrument
            continue
        except zpv4870.DriverIOError as error:
            # While simulating, direct I/O has no session; on an instrument, current protection
            # Enabled reads the number Threshold wrote there.
            assert simulating or "VARIANT_BOOL" in str(error) or "real number" in str(error), error
            continue
        read += 1
        assert isinstance(value, PYTHON_TYPES[info.c_type]), (info.macro, value)
        if info.enum:
            assert isinstance(value, enum.IntEnum), (info.macro, value)
    assert read + refused > 170
    assert read > 60


def phases(drv: zpv4870.Driver) -> zpv4870.Collection:
    """Phases whose voltage the session can keep: the class-compliant ones while simulating."""
    return drv.ivi.output_phases if drv.driver_operation.simulate else drv.output_phases


def test_values_go_in_and_come_back(drv: zpv4870.Driver) -> None:
    phase = phases(drv)["OutputPhase1"]
    phase.voltage_level = 231.5
    assert phase.voltage_level == pytest.approx(231.5)
    assert phases(drv)[0].voltage_level == pytest.approx(231.5)
    drv.manual_mode.frequency = 60.0
    assert drv.manual_mode.frequency == pytest.approx(60.0)
    drv.list_mode.program.base = zpv4870.Base.CYCLE
    assert drv.list_mode.program.base is zpv4870.Base.CYCLE
    drv.driver_operation.range_check = False
    assert drv.driver_operation.range_check is False
    drv.driver_operation.range_check = True
    assert drv.driver_operation.range_check is True


def test_phases_by_name_index_and_in_order(drv: zpv4870.Driver) -> None:
    assert len(drv.output_phases) == 1
    assert [repr(p) for p in drv.output_phases] == [repr(drv.output_phases["OutputPhase1"])]
    with pytest.raises(zpv4870.InvalidValueError) as caught:
        phases(drv)["OutputPhase7"].voltage_level = 100.0
    assert caught.value.status == catalog().statuses["ZPV4870_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER"]
    with pytest.raises(IndexError):
        drv.output_phases[3]


def test_out_of_range_raises_invalid_value_with_the_description(drv: zpv4870.Driver) -> None:
    with pytest.raises(zpv4870.InvalidValueError) as caught:
        drv.system.alarm = 12
    assert caught.value.status == catalog().statuses["ZPV4870_ERROR_INVALID_VALUE"]
    assert caught.value.description.startswith("ZPV4870: Invalid value '12'"), caught.value.description
    assert isinstance(caught.value, ValueError)


def test_read_only_attributes_have_no_setter(drv: zpv4870.Driver) -> None:
    with pytest.raises(AttributeError):
        drv.identity.instrument_model = "x"  # type: ignore[misc]


def test_numbers_that_are_none_never_leave_the_package(drv: zpv4870.Driver) -> None:
    phase = drv.ivi.output_phases["OutputPhase1"]
    for bad in (float("nan"), float("inf"), -float("inf")):
        with pytest.raises(ValueError, match="not a finite number"):
            phase.voltage_level = bad


def test_mistakes_in_python_are_python_errors_before_anything_is_sent(drv: zpv4870.Driver) -> None:
    phase = drv.ivi.output_phases["OutputPhase1"]
    with pytest.raises(AttributeError, match="did you mean 'voltage_level'"):
        phase.voltage_levle = 5.0
    with pytest.raises(ValueError, match="does not fit a 32-bit integer"):
        drv.step_mode.count = 2**32 + 5
    with pytest.raises(ValueError, match="does not fit a 32-bit integer"):
        drv.manual_mode.range = 2**32 + 1
    with pytest.raises(TypeError, match="must be bytes"):
        drv.system.vi_write(5)
    with pytest.raises(ValueError, match="is none of"):
        drv.manual_mode.range = "loud"
    if drv.driver_operation.simulate is False:  # the driver's own simulation has no manual mode
        drv.manual_mode.range = "high"  # an enumeration's member by name, any case
        assert drv.manual_mode.range == zpv4870.Range.HIGH
