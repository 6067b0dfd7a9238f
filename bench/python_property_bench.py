#!/usr/bin/env python3
"""What Python adds to a call: a property read on a simulated session next to the same C function
called through ctypes directly (bench/c_attribute_bench.cpp gives the C call itself).

    PYTHONPATH=python ZPV4870_LIBRARY=build/libzpv4870.so python3 bench/python_property_bench.py
"""

import ctypes
import timeit

import zpv4870
from zpv4870._library import library

SIMULATED = "Simulate=true, DriverSetup=Model=ZPV-4832-Advanced"


def per_call(statement, number: int = 20000) -> float:
    return min(timeit.repeat(statement, number=number, repeat=5)) / number * 1e9


def main() -> None:
    with zpv4870.Driver("", options=SIMULATED) as drv:
        manual = drv.manual_mode
        phase = drv.ivi.output_phases["OutputPhase1"]
        lib = library()
        vi = drv._session.vi
        value = ctypes.c_double()
        attribute = 1150048  # ZPV4870_ATTR_MANUAL_MODE_FREQUENCY

        rows = [
            ("ctypes call of ZPV4870_GetAttributeViReal64", lambda: lib.ZPV4870_GetAttributeViReal64(
                vi, None, attribute, ctypes.byref(value))),
            ("property drv.manual_mode.frequency (group held)", lambda: manual.frequency),
            ("property drv.manual_mode.frequency (group made each time)", lambda: drv.manual_mode.frequency),
            ("per-phase property phase.voltage_level", lambda: phase.voltage_level),
        ]
        for label, statement in rows:
            print(f"{per_call(statement):9.0f} ns  {label}")


if __name__ == "__main__":
    main()
