"""What the C header declares, read from the header itself: attributes, enumerations, statuses and
function prototypes. The package carries the header it was built with, so the Python names and
values can never differ from the C ones."""

from __future__ import annotations

import os
import re
from dataclasses import dataclass, field
from pathlib import Path


@dataclass(frozen=True)
class AttributeInfo:
    macro: str  # "ZPV4870_ATTR_VOLTAGE_LEVEL"
    id: int
    c_type: str  # "ViReal64"
    enum: str | None  # "ZPV4870RangeEnum" for an enumeration-valued ViInt32
    writable: bool
    interface: str  # "IIviACPwrOutputPhase", or "" for the driver prefix
    per_phase: bool


@dataclass(frozen=True)
class Parameter:
    c_type: str  # "ViReal64", "ViInt32*", "ViChar[]", "const ViReal64[]", ...
    name: str


@dataclass(frozen=True)
class FunctionInfo:
    name: str  # "ZPV4870_ConfigureVoltageLevel"
    interface: str  # the group comment above it: "IIviACPwrOutputPhase"
    parameters: tuple[Parameter, ...] = field(default_factory=tuple)


@dataclass(frozen=True)
class HeaderTables:
    attributes: tuple[AttributeInfo, ...]
    enums: dict[str, list[tuple[str, int]]]
    statuses: dict[str, int]
    functions: dict[str, FunctionInfo]


def header_path() -> Path:
    """The header: ZPV4870_HEADER when set, else the copy inside the package."""
    return Path(os.environ.get("ZPV4870_HEADER", Path(__file__).with_name("zpv4870.h")))


_COMMENT = re.compile(r"^/\* (.*?) \*/$")
_ATTRIBUTE = re.compile(
    r"^#define (ZPV4870_ATTR_\w+)\s+(\d+)L /\* (\w+), (?:(\w+Enum), )?(read-only|read/write) \*/$")
_VALUE = re.compile(r"^#define (ZPV4870_VAL_\w+)\s+(-?\d+)L$")
_STATUS = re.compile(r"^#define (ZPV4870_(?:ERROR|WARN)_\w+)\s+\(\(ViStatus\)0x([0-9A-F]+)L\)$")
_PROTOTYPE = re.compile(r"ZPV4870_EXPORT\s+ViStatus\s+(ZPV4870_\w+)\(([^;]*)\);")


def _parameter(text: str) -> Parameter:
    text = " ".join(text.split())
    array = text.endswith("[]") or re.search(r"\[\d+\]$", text) is not None
    text = re.sub(r"\[\d*\]$", "", text).strip()
    c_type, name = text.rsplit(" ", 1)
    if name.startswith("*"):
        c_type, name = c_type + "*", name[1:]
    return Parameter(c_type.replace(" *", "*") + ("[]" if array else ""), name)


def _signed(value: int) -> int:
    return value - (1 << 32) if value & 0x80000000 else value


def parse(text: str) -> HeaderTables:
    attributes: list[AttributeInfo] = []
    enums: dict[str, list[tuple[str, int]]] = {}
    statuses: dict[str, int] = {}
    functions: dict[str, FunctionInfo] = {}
    comment = ""
    for line in text.splitlines():
        line = line.strip()
        if m := _COMMENT.match(line):
            comment = m.group(1)
        elif m := _ATTRIBUTE.match(line):
            interface, _, scope = comment.partition(",")
            attributes.append(AttributeInfo(
                m.group(1), int(m.group(2)), m.group(3), m.group(4), m.group(5) == "read/write",
                "" if interface.startswith("The driver prefix") else interface, "per output phase" in scope))
        elif m := _VALUE.match(line):
            enums.setdefault(comment, []).append((m.group(1), int(m.group(2))))
        elif m := _STATUS.match(line):
            statuses[m.group(1)] = _signed(int(m.group(2), 16))
    # Prototypes may span lines: read them from the whole text. The wrappers (after the comment that
    # introduces them) belong to the interface named by the group comment above each.
    wrappers = text.find("/* Function wrappers")
    groups = [(m.start(), m.group(1)) for m in re.finditer(r"^/\* (I[IZ]\w+) \*/$", text, re.M)
              if 0 <= wrappers < m.start()]
    for m in _PROTOTYPE.finditer(text):
        interface = next((g for start, g in reversed(groups) if start < m.start()), "")
        parameters = tuple(_parameter(p) for p in m.group(2).split(",") if p.strip())
        functions[m.group(1)] = FunctionInfo(m.group(1), interface, parameters)
    return HeaderTables(tuple(attributes), enums, statuses, functions)


_tables: HeaderTables | None = None


def tables() -> HeaderTables:
    global _tables
    if _tables is None:
        _tables = parse(header_path().read_text(encoding="utf-8"))
    return _tables
