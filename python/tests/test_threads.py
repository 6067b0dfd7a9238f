"""One driver shared by threads: calls from any thread, and locked blocks as one unit."""

from __future__ import annotations

import threading

import zpv4870

from .conftest import Simulator


def test_four_threads_on_one_driver(simulator: Simulator) -> None:
    failures: list[BaseException] = []
    with zpv4870.Driver(simulator.resource) as drv:
        def work(index: int) -> None:
            try:
                for round in range(25):
                    mine = 100.0 + index + round / 100
                    with drv.locked():
                        drv.manual_mode.voltage_ac = mine
                        assert drv.manual_mode.voltage_ac == mine
                    assert drv.measure.frequency() >= 0.0
            except BaseException as error:  # noqa: BLE001 - reported by the main thread
                failures.append(error)

        threads = [threading.Thread(target=work, args=(i,)) for i in range(4)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
    assert not failures, failures
