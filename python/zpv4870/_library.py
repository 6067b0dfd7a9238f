"""Loads libzpv4870 and gives every C function its argument and result types, taken from the
prototypes of the catalog."""

from __future__ import annotations

import ctypes
import ctypes.util
import os
from pathlib import Path

from ._catalog import Parameter, catalog

_SCALARS: dict[str, type] = {
    "ViSession": ctypes.c_uint32,
    "ViStatus": ctypes.c_int32,
    "ViInt32": ctypes.c_int32,
    "ViInt16": ctypes.c_int16,
    "ViAttr": ctypes.c_uint32,
    "ViReal64": ctypes.c_double,
    "ViBoolean": ctypes.c_uint16,
    "ViConstString": ctypes.c_char_p,
    "ViConstRsrc": ctypes.c_char_p,
}


def c_type(parameter: Parameter) -> type:
    """The ctypes type a parameter is passed as."""
    t = parameter.c_type
    if t in _SCALARS:
        return _SCALARS[t]
    if t in ("ViByte[]", "const ViByte[]") or t.startswith("ViChar["):
        return ctypes.c_char_p
    if t.endswith("[]"):
        return ctypes.POINTER(_SCALARS[t.removeprefix("const ").removesuffix("[]")])
    if t.endswith("*"):
        return ctypes.POINTER(_SCALARS[t[:-1]])
    raise TypeError(f"no ctypes type for {t} {parameter.name}")


def _candidates() -> list[str]:
    """Where the library may be: ZPV4870_LIBRARY, next to the package, then the system's."""
    found = [os.environ["ZPV4870_LIBRARY"]] if os.environ.get("ZPV4870_LIBRARY") else []
    here = Path(__file__).resolve().parent
    found += [str(p) for p in (here / "libzpv4870.so", here.parents[1] / "build" / "libzpv4870.so") if p.exists()]
    system = ctypes.util.find_library("zpv4870")
    return found + ([system] if system else []) + ["libzpv4870.so.1"]


def _load() -> ctypes.CDLL:
    errors = []
    for path in _candidates():
        try:
            library = ctypes.CDLL(path)
            break
        except OSError as error:
            errors.append(f"{path}: {error}")
    else:
        raise OSError("libzpv4870 could not be loaded (set ZPV4870_LIBRARY to its path):\n  " + "\n  ".join(errors))
    for info in [*catalog().functions.values(), *catalog().session_functions.values()]:
        function = getattr(library, info.name)
        function.argtypes = [c_type(p) for p in info.parameters]
        function.restype = ctypes.c_int32
    return library


_library: ctypes.CDLL | None = None


def library() -> ctypes.CDLL:
    global _library
    if _library is None:
        _library = _load()
    return _library
