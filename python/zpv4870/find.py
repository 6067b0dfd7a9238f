"""The instruments this machine can reach: LAN ones by VXI-11 broadcast (and DNS-SD with
``mdns=True``), each tried on the HiSLIP and raw SCPI ports and asked ``*IDN?``; serial ports and
USBTMC devices of this machine too.

>>> for found in zpv4870.find_resources(timeout=1.0):
...     print(found.address, found.model, found.resources[0])
"""

from __future__ import annotations

import ctypes
from dataclasses import dataclass, field

from ._library import library
from .errors import InvalidValueError

_LAN, _MDNS, _LOCAL = 1, 2, 4


@dataclass(frozen=True)
class FoundInstrument:
    address: str
    resources: list[str]  # best first: VXI-11, HiSLIP, SOCKET
    manufacturer: str = ""
    model: str = ""
    serial: str = ""
    firmware: str = ""
    problem: str = ""  # why *IDN? gave no identity; "" when it did or was not asked


class FoundInstruments(list):
    """A list of FoundInstrument; ``notes`` says where was asked and what could not be."""

    def __init__(self, instruments: list[FoundInstrument], notes: list[str]) -> None:
        super().__init__(instruments)
        self.notes = notes


def parse_found(text: str) -> FoundInstruments:
    """The tab-separated lines of zpv4870_find_instruments, read into FoundInstrument objects."""
    instruments, notes = [], []
    for line in text.splitlines():
        kind, *rest = line.split("\t")
        if kind == "note" and rest:
            notes.extend(rest[:1])
        elif kind == "instrument" and len(rest) >= 6:
            address, manufacturer, model, serial, firmware, problem, *resources = rest
            instruments.append(FoundInstrument(address, resources, manufacturer, model, serial, firmware, problem))
    return FoundInstruments(instruments, notes)


def find_resources(timeout: float = 1.0, mdns: bool = False, lan: bool = True, local: bool = True) -> FoundInstruments:
    """Searches for ``timeout`` seconds (and at most as long again for the ``*IDN?`` answers)."""
    function = library().zpv4870_find_instruments
    function.argtypes = [ctypes.c_double, ctypes.c_int32, ctypes.c_int32, ctypes.c_char_p]
    function.restype = ctypes.c_int32
    options = (_LAN if lan else 0) | (_MDNS if mdns else 0) | (_LOCAL if local else 0)
    size = 64 * 1024
    for _ in range(4):  # more found than fits: again, with room for it
        text = ctypes.create_string_buffer(size)
        status = function(float(timeout), options, size, text)
        if status <= 0:
            break
        size = status * 2
    if status < 0:
        description = ctypes.create_string_buffer(256)
        library().ZPV4870_GetError(0, None, 256, description)
        raise InvalidValueError(status, description.value.decode("utf-8", "replace"), "find_resources")
    return parse_found(text.value.decode("utf-8", "replace"))
