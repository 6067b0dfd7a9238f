"""Results of a list run: one record per sequence, as plain values or as a NumPy array."""

from __future__ import annotations

from dataclasses import astuple, fields, make_dataclass
from typing import Any

from ._calls import snake
from ._catalog import catalog


# The fields of the instrument's readings, in the order it sends them, from the catalog.
SequenceResult = make_dataclass(
    "SequenceResult", [(snake(name), float) for name, _ in catalog().readings], frozen=True,
    namespace={"__doc__": "What the instrument measured over one sequence (the fields of ZPV4870_GetAll): "
                          + ", ".join(f"{snake(name)}" + (f" ({unit})" if unit else "") for name, unit in catalog().readings)
                          + "."})

FIELDS = tuple(f.name for f in fields(SequenceResult))
UNITS = {snake(name): unit for name, unit in catalog().readings}


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
    """The results as a NumPy array of shape (sequences, fields), columns in FIELDS order; a list of
    tuples when NumPy is not installed."""
    rows = [astuple(r) for r in results]
    try:
        import numpy
    except ImportError:
        return rows
    return numpy.array(rows, dtype=float).reshape(len(rows), len(FIELDS))
