#!/usr/bin/env python3
"""The output check from Python: open with an identity check and a reset, set voltage, frequency
and current limit, switch the output on, read everything back and ask the instrument for errors.

    output_check.py <resource>        e.g. TCPIP0::127.0.0.1::5025::SOCKET
"""

import sys

import zpv4870


def main() -> int:
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} <resource descriptor>", file=sys.stderr)
        return 2
    try:
        with zpv4870.Driver(sys.argv[1], id_query=True, reset=True, options="QueryInstrStatus=true") as drv:
            driver_revision, firmware = drv.revision_query()
            print(f"Instrument {drv.identity.instrument_model}, firmware {firmware}, driver {driver_revision}")
            phase = drv.output_phases["OutputPhase1"]
            phase.voltage_level = 230.0
            drv.manual_mode.frequency = 50.0
            phase.current_limit = 4.5
            phase.enabled = True
            print(f"Output {'on' if phase.enabled else 'off'}: {phase.voltage_level:.1f} V, "
                  f"{drv.manual_mode.frequency:.1f} Hz, current limit {phase.current_limit:.2f} A")
            print(f"Measured: {drv.measure.voltage_ac():.1f} V, {drv.measure.current_ac():.2f} A, "
                  f"{drv.measure.power():.1f} W")
            code, message = drv.error_query()
            print(f'Instrument error queue: {code}, "{message}"')
            return 0 if code == 0 else 1
    except zpv4870.DriverError as error:
        print(f"failed: {error}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
