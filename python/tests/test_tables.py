"""The Python names and values are the C header's."""

from __future__ import annotations

import re
from pathlib import Path

import zpv4870
from zpv4870 import enums
from zpv4870._header import header_path, tables
from zpv4870.driver import GROUP_PATHS, method_name

ROOT = Path(__file__).resolve().parents[2]


def test_the_package_reads_the_projects_header() -> None:
    assert header_path().read_text() == (ROOT / "include" / "zpv4870.h").read_text()


def test_enumerations_carry_the_headers_values() -> None:
    text = (ROOT / "include" / "zpv4870.h").read_text()
    values = {m.group(1): int(m.group(2)) for m in re.finditer(r"#define (ZPV4870_VAL_\w+)\s+(\d+)L", text)}
    assert len(enums.BY_C_NAME) == 20
    members = 0
    for c_enum, cls in enums.BY_C_NAME.items():
        for macro, value in tables().enums[c_enum]:
            assert values[macro] == value
            assert cls(value).value == value
            members += 1
    assert members == len(values)
    assert zpv4870.Range.HIGH == values["ZPV4870_VAL_RANGE_HIGH"]
    assert zpv4870.IviACPwrMeasurementType.CURRENT_RMS == values["ZPV4870_VAL_MEASUREMENT_TYPE_CURRENT_RMS"]


def test_every_attribute_and_function_has_a_place() -> None:
    t = tables()
    assert len(t.attributes) == 178 and len(t.functions) == 151
    assert {a.interface for a in t.attributes} <= set(GROUP_PATHS)
    wrappers = [f for f in t.functions.values() if f.interface]
    assert len(wrappers) == 130
    seen: dict[tuple[str, str], str] = {}
    for f in wrappers:
        key = (GROUP_PATHS[f.interface], method_name(f))
        assert key not in seen, f"{f.name} and {seen[key]} are both {key}"
        seen[key] = f.name
