"""A list program run from Python, its results as records and arrays, and their picture."""

from __future__ import annotations

from pathlib import Path

import pytest

import zpv4870

from .conftest import Simulator

MS = zpv4870.TimeUnit.MILLISECOND
SEQUENCES = [
    {"voltage_ac_start": 0.0, "voltage_ac_end": 115.0, "frequency_start": 60.0, "frequency_end": 60.0,
     "time_unit": MS, "time": 300.0},
    {"voltage_ac_start": 230.0, "voltage_ac_end": 230.0, "frequency_start": 50.0, "frequency_end": 50.0,
     "time_unit": MS, "time": 300.0},
]


def test_a_list_program_runs_and_reports_per_sequence(simulator: Simulator, tmp_path: Path) -> None:
    with zpv4870.Driver(simulator.resource, reset=True) as drv:
        results = drv.run_list_program(SEQUENCES)
    assert len(results) == 2
    assert results[1].voltage_ac == pytest.approx(230.0)
    assert results[1].frequency == pytest.approx(50.0)
    array = zpv4870.as_array(results)
    try:
        import numpy  # noqa: F401
    except ImportError:
        assert array[1][0] == pytest.approx(230.0)
    else:
        assert array.shape == (2, 13)

    with zpv4870.Driver(simulator.resource) as drv:
        with pytest.raises(AttributeError, match="no setting 'colour'"):
            drv.run_list_program([{"colour": 1}])


def test_exactly_the_given_sequences_run_to_their_end_and_bad_ones_are_refused(simulator: Simulator) -> None:
    import math
    import time

    with zpv4870.Driver(simulator.resource, reset=True) as drv:
        started = time.monotonic()
        three = drv.run_list_program(SEQUENCES + [dict(SEQUENCES[0], voltage_ac_end=100.0)])
        assert time.monotonic() - started >= 0.8  # it waited for the run
        assert len(three) == 3
        one = drv.run_list_program([SEQUENCES[1]])
        assert len(one) == 1 and one[0].voltage_ac == pytest.approx(230.0)
        assert drv.output_phases["OutputPhase1"].enabled is False

        for bad, error in (([], ValueError), ([SEQUENCES[0]] * 101, ValueError),
                           ([dict(SEQUENCES[0], time=math.nan)], ValueError),
                           ([dict(SEQUENCES[0], time=-1.0)], ValueError),
                           ([dict(SEQUENCES[0], voltage_ac_start=9999.0)], zpv4870.ListRunError)):
            with pytest.raises(error):
                drv.run_list_program(bad)
        assert drv.output_phases["OutputPhase1"].enabled is False


def test_bad_result_lines_are_refused() -> None:
    with pytest.raises(ValueError, match="result 1: 2 values"):
        zpv4870.parse_results(["1,2"])


def test_the_plot_is_a_png(tmp_path: Path) -> None:
    pytest.importorskip("matplotlib", reason="matplotlib is not installed (Debian python3-matplotlib)")
    from zpv4870 import plot

    results = zpv4870.parse_results(["115,0,115,1.15,0,1.15,60,132.25,1,1.6,0,1.41,132.25"] * 3)
    path = plot.list_results(results, tmp_path / "results.png")
    data = path.read_bytes()
    assert data.startswith(b"\x89PNG") and len(data) > 1000
