"""The enumerations of the C header as ``enum.IntEnum`` classes, made from the header's values.

``ZPV4870RangeEnum`` becomes ``Range`` (``Range.AUTO``, ``Range.HIGH``, ``Range.LOW``); the
class-compliant ``IviACPwrDCGenerationEnum`` becomes ``IviACPwrDCGeneration``."""

from __future__ import annotations

import enum
import os

from ._header import tables


def python_name(c_enum: str) -> str:
    name = c_enum.removesuffix("Enum")
    return name.removeprefix("ZPV4870")


def _member_names(macros: list[str]) -> list[str]:
    """The value macros without the words they all begin with (a name keeps the last shared word
    rather than begin with a digit)."""
    words = [m.removeprefix("ZPV4870_VAL_").split("_") for m in macros]
    shared = len(os.path.commonprefix(words)) if len(words) > 1 else len(words[0]) - 1
    shared = min(shared, min(len(w) for w in words) - 1)
    while shared > 0 and any(w[shared][0].isdigit() for w in words):
        shared -= 1
    return ["_".join(w[shared:]) for w in words]


def _make() -> dict[str, type[enum.IntEnum]]:
    made: dict[str, type[enum.IntEnum]] = {}
    for c_enum, values in tables().enums.items():
        names = _member_names([macro for macro, _ in values])
        cls = enum.IntEnum(python_name(c_enum), [(n, v) for n, (_, v) in zip(names, values)], module=__name__)
        cls.__doc__ = f"{c_enum}: the values {', '.join(m for m, _ in values)}."
        made[c_enum] = cls
    return made


BY_C_NAME: dict[str, type[enum.IntEnum]] = _make()
globals().update({cls.__name__: cls for cls in BY_C_NAME.values()})
__all__ = [cls.__name__ for cls in BY_C_NAME.values()]
