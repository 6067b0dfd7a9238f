"""The Python names and values are the C header's, through the catalog the package carries."""

from __future__ import annotations

import re
from pathlib import Path

import zpv4870
from zpv4870 import enums
from zpv4870._catalog import catalog, catalog_path
from zpv4870.driver import attribute_name, method_name, python_path

ROOT = Path(__file__).resolve().parents[2]


def test_the_package_carries_the_projects_catalog() -> None:
    assert catalog_path().read_text() == (ROOT / "share" / "zpv4870" / "catalog.json").read_text()


def test_enumerations_and_statuses_carry_the_headers_values() -> None:
    text = (ROOT / "include" / "zpv4870.h").read_text()
    values = {m.group(1): int(m.group(2)) for m in re.finditer(r"#define (ZPV4870_VAL_\w+)\s+(\d+)L", text)}
    assert len(enums.BY_C_NAME) == 20
    members = 0
    for c_enum, cls in enums.BY_C_NAME.items():
        for _, macro, value in catalog().enums[c_enum]:
            assert values[macro] == value
            assert cls(value).value == value
            members += 1
    assert members == len(values)
    assert zpv4870.Range.HIGH == values["ZPV4870_VAL_RANGE_HIGH"]
    assert zpv4870.IviACPwrMeasurementType.CURRENT_RMS == values["ZPV4870_VAL_MEASUREMENT_TYPE_CURRENT_RMS"]
    statuses = {m.group(1): int(m.group(2), 16) for m in re.finditer(r"#define (ZPV4870_\w+)\s+\(\(ViStatus\)0x([0-9A-F]+)L\)", text)}
    for macro, status in statuses.items():
        assert catalog().statuses[macro] & 0xFFFFFFFF == status, macro


def test_every_attribute_and_function_has_one_place_and_name() -> None:
    c = catalog()
    header = (ROOT / "include" / "zpv4870.h").read_text()
    assert len(c.attributes) == len(re.findall(r"^#define ZPV4870_ATTR_\w+", header, re.M))
    assert len(c.functions) + len(c.session_functions) == len(re.findall(r"ZPV4870_EXPORT\s+ViStatus", header))
    seen: dict[tuple[str, str], str] = {}
    for name, key in [(a.macro, (python_path(a.place), attribute_name(a))) for a in c.attributes] + \
                     [(f.name, (python_path(f.place), method_name(f))) for f in c.functions.values()]:
        assert key not in seen, f"{name} and {seen[key]} are both {key}"
        seen[key] = name


def test_units_and_ranges_reach_the_docstrings() -> None:
    phase = type(zpv4870.Driver).__mro__  # the classes exist without a session
    assert phase
    doc = zpv4870.driver._CLASSES["output_phases[]"].voltage_level.__doc__
    assert "float" in doc and "V" in doc and "read/write" in doc
    doc = zpv4870.driver._CLASSES["step_mode"].time.__doc__
    assert "per TimeUnit" in doc and "not on Standard models" in doc
    doc = zpv4870.driver._CLASSES["system"].alarm.__doc__
    assert "0 to 9" in doc
