"""The enumerations of the C interface as ``enum.IntEnum`` classes, made from the catalog.

``ZPV4870RangeEnum`` becomes ``Range`` (``Range.AUTO``, ``Range.HIGH``, ``Range.LOW``); the
class-compliant ``IviACPwrDCGenerationEnum`` becomes ``IviACPwrDCGeneration``."""

from __future__ import annotations

import enum

from ._catalog import catalog


def python_name(c_enum: str) -> str:
    name = c_enum.removesuffix("Enum")
    return name.removeprefix("ZPV4870")


def _make() -> dict[str, type[enum.IntEnum]]:
    made: dict[str, type[enum.IntEnum]] = {}
    for c_enum, values in catalog().enums.items():
        cls = enum.IntEnum(python_name(c_enum), [(name, value) for name, _, value in values], module=__name__)
        cls.__doc__ = f"{c_enum}: the values {', '.join(macro for _, macro, _ in values)}."
        made[c_enum] = cls
    return made


BY_C_NAME: dict[str, type[enum.IntEnum]] = _make()
globals().update({cls.__name__: cls for cls in BY_C_NAME.values()})
__all__ = [cls.__name__ for cls in BY_C_NAME.values()]
