"""Pictures of list results (needs matplotlib)."""

from __future__ import annotations

from pathlib import Path

from .results import SequenceResult


def list_results(results: list[SequenceResult], path: str | Path = "list_results.png") -> Path:
    """Draws voltage, current and power per sequence into a PNG file and returns its path."""
    import matplotlib

    matplotlib.use("Agg")  # files only: no display needed
    import matplotlib.pyplot as plt

    steps = list(range(1, len(results) + 1))
    figure, axes = plt.subplots(3, 1, sharex=True, figsize=(6, 6))
    for ax, (label, values) in zip(axes, (
            ("voltage / V", [r.voltage for r in results]),
            ("current / A", [r.current for r in results]),
            ("power / W", [r.power for r in results]))):
        ax.plot(steps, values, marker="o")
        ax.set_ylabel(label)
        ax.grid(True)
    axes[-1].set_xlabel("sequence")
    axes[-1].set_xticks(steps)
    figure.tight_layout()
    path = Path(path)
    figure.savefig(path, format="png")
    plt.close(figure)
    return path
