"""Results of a list run: one record per sequence, as plain values or as a NumPy array."""

from __future__ import annotations

from dataclasses import astuple, dataclass, fields
from typing import Any


@dataclass(frozen=True)
class SequenceResult:
    """What the instrument measured over one sequence (the fields of ``ZPV4870_GetAll``)."""

    voltage_ac: float
    voltage_dc: float
    voltage: float
    current_ac: float
    current_dc: float
    current: float
    frequency: float
    power: float
    power_factor: float
    current_peak: float
    reactive_power: float
    crest_factor: float
    apparent_power: float


FIELDS = tuple(f.name for f in fields(SequenceResult))


def parse_results(rows: list[str]) -> list[SequenceResult]:
    """The records of comma-separated result lines; a line of another shape raises ValueError."""
    results = []
    for number, row in enumerate(rows, start=1):
        values = [v.strip() for v in row.split(",")]
        if len(values) != len(FIELDS):
            raise ValueError(f"result {number}: {len(values)} values where {len(FIELDS)} were expected: {row!r}")
        results.append(SequenceResult(*(float(v) for v in values)))
    return results


def as_array(results: list[SequenceResult]) -> Any:
    """The results as a NumPy array of shape (sequences, 13), columns in FIELDS order; a list of
    tuples when NumPy is not installed."""
    rows = [astuple(r) for r in results]
    try:
        import numpy
    except ImportError:
        return rows
    return numpy.array(rows, dtype=float).reshape(len(rows), len(FIELDS))
