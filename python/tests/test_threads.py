"""One driver shared by threads: calls from any thread, and locked blocks as one unit."""

from __future__ import annotations

import threading

import zpv4870

from .conftest import SIMULATED, Simulator


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


def test_a_group_of_a_temporary_driver_keeps_its_session() -> None:
    """The group holds the session: the driver object it came from may be gone already."""
    identity = zpv4870.Driver("", options=SIMULATED).identity
    assert identity.instrument_model == "ZPV-4832-Advanced"


def test_threads_read_a_phase_while_the_last_driver_reference_goes(simulator: Simulator) -> None:
    failures: list[BaseException] = []
    drv = zpv4870.Driver(simulator.resource, reset=True)
    phase = drv.output_phases["OutputPhase1"]
    started = threading.Barrier(4)

    def read() -> None:
        try:
            started.wait()
            for _ in range(50):
                assert phase.voltage_level >= 0.0
        except BaseException as error:  # noqa: BLE001 - reported by the main thread
            failures.append(error)

    threads = [threading.Thread(target=read) for _ in range(3)]
    for t in threads:
        t.start()
    started.wait()
    del drv  # the phase groups still use the session
    for t in threads:
        t.join()
    assert not failures, failures
