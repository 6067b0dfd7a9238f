"""What the library offers, read from its catalog (``share/zpv4870/catalog.json``, generated from
the rows the library is built from; the package carries the copy it was built with): the places of
the driver's tree, attributes, enumerations, statuses, function wrappers and the fields of the
instrument's readings. Nothing here is written by hand, so the Python names and values can never
differ from the C ones."""

from __future__ import annotations

import json
import os
from dataclasses import dataclass, field
from pathlib import Path


@dataclass(frozen=True)
class AttributeInfo:
    macro: str  # "ZPV4870_ATTR_VOLTAGE_LEVEL"
    id: int
    name: str  # "VoltageLevel"
    c_type: str  # "ViReal64"
    enum: str | None  # "ZPV4870RangeEnum" for an enumeration-valued ViInt32
    writable: bool
    interface: str  # "IZPV4870OutputPhase", or "" for the driver prefix
    place: str  # "OutputPhases[]": where it sits in the driver's tree
    per_phase: bool
    unit: str | None = None  # "V", "Hz", "per TimeUnit"
    range: tuple[float, float] | None = None  # what a write accepts while range checking is on
    missing_on: str | None = None  # the family whose models lack it


@dataclass(frozen=True)
class Parameter:
    c_type: str  # "ViReal64", "ViInt32*", "ViChar[]", "const ViReal64[]", ...
    name: str


@dataclass(frozen=True)
class FunctionInfo:
    name: str  # "ZPV4870_ConfigureVoltageLevel"
    interface: str  # "IIviACPwrOutputPhase"
    place: str = ""
    parameters: tuple[Parameter, ...] = field(default_factory=tuple)
    unit: str | None = None  # the result's unit, for a reading
    result: str | None = None  # "readings": the text is the instrument's list of all readings


@dataclass(frozen=True)
class Status:
    macro: str
    status: int  # the C status
    kind: str  # "success", "warning" or "error"
    text: str


@dataclass(frozen=True)
class Catalog:
    places: dict[str, str]  # interface -> place
    item_names: dict[str, str]  # place of a collection -> what one item is called ("OutputPhase")
    attributes: tuple[AttributeInfo, ...]
    enums: dict[str, list[tuple[str, str, int]]]  # enumeration -> (name, macro, value)
    statuses: dict[str, int]  # macro -> C status
    status_rows: tuple[Status, ...]
    functions: dict[str, FunctionInfo]  # the wrappers of one member each
    session_functions: dict[str, FunctionInfo]  # sessions, errors, attributes
    readings: tuple[tuple[str, str | None], ...]  # (field, unit), in the instrument's order

    def is_warning(self, status: int) -> bool:
        """Whether a positive C return is one of the driver's warnings; any other positive return
        of a text copy is the size it needs."""
        return status > 0 and any(s.status == status and s.kind == "warning" for s in self.status_rows)


def catalog_path() -> Path:
    """The catalog: ZPV4870_CATALOG when set, else the copy inside the package."""
    return Path(os.environ.get("ZPV4870_CATALOG", Path(__file__).with_name("catalog.json")))


def parse(data: dict) -> Catalog:
    places = {i["name"]: i["place"] for i in data["interfaces"]}
    item_names = {i["place"]: i["item_name"] for i in data["interfaces"] if i["item_name"]}
    attributes = tuple(
        AttributeInfo(a["macro"], a["id"], a["name"], a["c_type"], a["enum"], a["access"] == "read/write",
                      a["interface"], a["place"], a["scope"] == "phase", a["unit"],
                      tuple(a["range"]) if a["range"] else None, a["missing_on"])
        for a in data["attributes"])
    enums = {name: [(v["name"], v["macro"], v["value"]) for v in values] for name, values in data["enumerations"].items()}
    status_rows = tuple(Status(s["macro"], s["status"], s["kind"], s["text"]) for s in data["statuses"])
    functions = {
        f["name"]: FunctionInfo(f["name"], f["interface"], f["place"],
                                tuple(Parameter(p["type"], p["name"]) for p in f["parameters"]), f["unit"], f["result"])
        for f in data["functions"]}
    session_functions = {
        f["name"]: FunctionInfo(f["name"], "", "", tuple(Parameter(p["type"], p["name"]) for p in f["parameters"]))
        for f in data["session_functions"]}
    readings = tuple((r["name"], r["unit"]) for r in data["readings"])
    return Catalog(places, item_names, attributes, enums, {s.macro: s.status for s in status_rows}, status_rows,
                   functions, session_functions, readings)


_catalog: Catalog | None = None


def catalog() -> Catalog:
    global _catalog
    if _catalog is None:
        _catalog = parse(json.loads(catalog_path().read_text(encoding="utf-8")))
    return _catalog
