"""Python driver for the ZPV4870 AC power sources, over the library's C interface.

>>> import zpv4870
>>> with zpv4870.Driver("", options="Simulate=true") as drv:
...     drv.output_phases["OutputPhase1"].voltage_level = 230.0
...     drv.manual_mode.range = zpv4870.Range.HIGH
"""

from ._calls import DriverWarning
from .driver import Collection, Driver, Group, error_message
from .enums import *  # noqa: F401,F403  (the enumerations, made from the C header)
from .enums import __all__ as _enum_names
from .errors import (DriverError, DriverIOError, DriverTimeoutError, InvalidSessionError, InvalidValueError,
                     ListRunError, NotSupportedError)
from .find import FoundInstrument, FoundInstruments, find_resources
from .results import SequenceResult, as_array, parse_results

__all__ = ["Driver", "Group", "Collection", "DriverError", "DriverIOError", "DriverTimeoutError", "InvalidValueError",
           "NotSupportedError", "InvalidSessionError", "ListRunError", "DriverWarning", "SequenceResult", "as_array",
           "parse_results", "error_message", "find_resources", "FoundInstrument", "FoundInstruments", *_enum_names]
