"""How Python values cross the C interface: attribute reads and writes by type, and the C
function wrappers called from their prototypes."""

from __future__ import annotations

import ctypes
import math
import re
import warnings
from typing import Any

from ._catalog import AttributeInfo, FunctionInfo, Parameter, catalog
from ._library import c_type, library
from .enums import BY_C_NAME
from .errors import error_for

# The status of a call after which the instrument's event status showed an error.
INSTRUMENT_STATUS = catalog().statuses["ZPV4870_ERROR_INSTRUMENT_STATUS"]

# Text outputs start with this much room; a longer text is read again with the size it needs.
TEXT_ROOM = 4096


class DriverWarning(UserWarning):
    """A call succeeded with a warning status (the instrument lacks an optional feature, or a read
    gave more than the buffer held)."""


# Per C type: the value's ctypes box, the typed read function and the conversion to Python.
_READERS: dict[str, tuple[Any, Any, Any]] = {}


def _prepare_readers() -> None:
    lib = library()
    _READERS.update({
        "ViInt32": (ctypes.c_int32, lib.ZPV4870_GetAttributeViInt32, int),
        "ViReal64": (ctypes.c_double, lib.ZPV4870_GetAttributeViReal64, float),
        "ViBoolean": (ctypes.c_uint16, lib.ZPV4870_GetAttributeViBoolean, bool),
    })


class Session:
    """One C session: its handle and the checks every call makes. An owning session closes its
    handle when the last object that uses it (the driver or any group or phase taken from it) is
    gone, so a group outlives the ``Driver`` object it came from."""

    def __init__(self, vi: int, owned: bool = False) -> None:
        self.vi = vi
        self.lib = library()
        self.owned = owned
        self.phase_names: list[str] | None = None
        if not _READERS:
            _prepare_readers()

    def close(self) -> int:
        """Closes the handle once; the status of ZPV4870_close, 0 when it was closed already."""
        vi, self.vi = self.vi, 0
        return self.lib.ZPV4870_close(vi) if vi else 0

    def __del__(self) -> None:
        if self.__dict__.get("owned") and self.__dict__.get("vi"):
            try:
                self.close()
            except Exception:  # noqa: BLE001 - nothing may escape a finalizer
                pass

    def last_error(self) -> tuple[int, str]:
        code = ctypes.c_int32()
        text = ctypes.create_string_buffer(2048)
        self.lib.ZPV4870_GetError(self.vi, ctypes.byref(code), len(text), text)
        return code.value, text.value.decode("utf-8", "replace")

    def check(self, status: int, function: str) -> int:
        if status < 0:
            description = self.last_error()[1]
            if status == INSTRUMENT_STATUS:
                refused = self.instrument_errors()
                if refused:
                    description = "the instrument refused it: " + "; ".join(refused)
            raise error_for(status, description, function)
        return status

    def instrument_errors(self) -> list[str]:
        """The instrument's error queue, read until it is empty ("-224, Illegal parameter value")."""
        errors = []
        for _ in range(32):
            code = ctypes.c_int32()
            text = ctypes.create_string_buffer(256)
            if self.lib.ZPV4870_error_query(self.vi, ctypes.byref(code), text) < 0 or code.value == 0:
                break
            errors.append(f"{code.value}, {text.value.decode('utf-8', 'replace')}")
        return errors

    def warn(self, status: int, function: str) -> None:
        if catalog().is_warning(status):
            warnings.warn(f"{function}: {self.last_error()[1] or f'status 0x{status:08X}'}", DriverWarning,
                          stacklevel=3)

    def read_text(self, function: str, call: Any) -> str:
        """A text output by the copy-out rule: call(size, buffer) returns 0, a warning, or the size
        the text needs (a positive return that is not one of the driver's warnings)."""
        room = TEXT_ROOM
        while True:
            buffer = ctypes.create_string_buffer(room)
            status = self.check(call(room, buffer), function)
            if status <= room or catalog().is_warning(status):
                self.warn(status, function)
                return buffer.value.decode("utf-8", "replace")
            room = status

    # -- attributes -------------------------------------------------------------------------------
    def get_attribute(self, info: AttributeInfo, channel: bytes | None) -> Any:
        if info.c_type == "ViString":
            return self.read_text(info.macro, lambda size, buffer: self.lib.ZPV4870_GetAttributeViString(
                self.vi, channel, info.id, size, buffer))
        box, function, convert = _READERS[info.c_type]
        value = box()
        status = function(self.vi, channel, info.id, ctypes.byref(value))
        if status:
            self.warn(self.check(status, info.macro), info.macro)
        result = convert(value.value)
        if info.enum:
            try:
                return BY_C_NAME[info.enum](result)
            except ValueError:
                return result
        return result

    def set_attribute(self, info: AttributeInfo, channel: bytes | None, value: Any) -> None:
        if info.c_type == "ViString":
            converted: Any = str(value).encode("utf-8")
        elif info.c_type == "ViReal64":
            converted = finite(value, info.macro)
        elif info.c_type == "ViBoolean":
            converted = 1 if value else 0
        else:
            converted = int32(value, info.macro, BY_C_NAME.get(info.enum) if info.enum else None)
        function = getattr(self.lib, f"ZPV4870_SetAttribute{info.c_type}")
        self.warn(self.check(function(self.vi, channel, info.id, converted), info.macro), info.macro)


def finite(value: Any, what: str) -> float:
    """A number an instrument can take: nan and the infinities never leave this package."""
    number = float(value)
    if not math.isfinite(number):
        raise ValueError(f"{what}: {value!r} is not a finite number")
    return number


def int32(value: Any, what: str, enumeration: Any = None) -> int:
    """A 32-bit integer for the C interface; an enumeration's member also by name, in any case."""
    if enumeration is not None and isinstance(value, str):
        try:
            return int(enumeration[value.strip().upper()])
        except KeyError:
            names = ", ".join(m.name for m in enumeration)
            raise ValueError(f"{what}: {value!r} is none of {names}") from None
    if isinstance(value, float) and not value.is_integer():
        raise ValueError(f"{what}: {value!r} is not a whole number")
    number = int(value)
    if not -2**31 <= number < 2**31:
        raise ValueError(f"{what}: {number} does not fit a 32-bit integer")
    if enumeration is not None and number not in {int(m) for m in enumeration}:
        names = ", ".join(m.name for m in enumeration)
        raise ValueError(f"{what}: {number} is none of {names}")
    return number


def snake(name: str) -> str:
    name = re.sub(r"([a-z0-9])([A-Z])", r"\1_\2", name)
    return re.sub(r"([A-Z]+)([A-Z][a-z])", r"\1_\2", name).lower()


_new_bytes = ctypes.pythonapi.PyBytes_FromStringAndSize
_new_bytes.restype = ctypes.py_object
_new_bytes.argtypes = (ctypes.c_char_p, ctypes.c_ssize_t)


def _unfilled_bytes(size: int) -> bytes:
    """A new bytes object whose storage the C function fills: nobody has seen it before the call
    returns, so the read lands in the object handed back (no zero-fill, no copy when it is full)."""
    if not 0 <= size < 2**31:
        raise ValueError(f"count: {size} does not fit a 32-bit count of bytes")
    return _new_bytes(None, size)  # type: ignore[no-any-return]


def _caller_storage(function: str, into: Any, count: Any) -> tuple[Any, int]:
    """The caller's writable, contiguous storage (bytearray, memoryview, NumPy array, ...) as the C
    buffer, and how many bytes of it the read may fill."""
    try:
        view = memoryview(into)
    except TypeError:
        raise TypeError(f"{function}: into must be writable storage such as a bytearray or a NumPy array, "
                        f"not {type(into).__name__}") from None
    if view.readonly:
        raise TypeError(f"{function}: into is read-only ({type(into).__name__})")
    if not view.c_contiguous:
        raise ValueError(f"{function}: into must be contiguous")
    room = view.nbytes if count is None else int(count)
    if not 0 <= room <= min(view.nbytes, 2**31 - 1):
        raise ValueError(f"{function}: count {room} does not fit the {view.nbytes} bytes of into")
    return (ctypes.c_char * view.nbytes).from_buffer(view.cast("B")), room


class Wrapper:
    """A C function wrapper called with Python values: inputs in order, outputs returned (one value,
    a tuple, or None). Texts are str, byte buffers bytes, arrays lists of float."""

    def __init__(self, info: FunctionInfo) -> None:
        self.info = info
        parameters = list(info.parameters[1:])  # after the session
        self.per_phase = bool(parameters) and parameters[0].name == "channelName"
        self.steps: list[tuple[str, Parameter]] = []
        i = 1 if self.per_phase else 0
        while i < len(parameters):
            p = parameters[i]
            following = parameters[i + 1] if i + 1 < len(parameters) else None
            if p.c_type == "ViInt32" and following and following.c_type == "ViChar[]":
                self.steps.append(("text_out", following)); i += 2
            elif p.c_type == "ViInt32" and following and following.c_type == "const ViReal64[]":
                self.steps.append(("array_in", following)); i += 2
            elif p.c_type == "ViInt32" and following and following.c_type == "ViReal64[]":
                self.steps.append(("array_out", following)); i += 2
            elif p.c_type.startswith("ViChar[") and p.c_type != "ViChar[]":  # a fixed-size text buffer
                self.steps.append(("fixed_text", p)); i += 1
            elif p.c_type == "ViByte[]":
                self.steps.append(("bytes_out", parameters[i + 2])); i += 3
            elif p.c_type == "const ViByte[]":
                self.steps.append(("bytes_in", p)); i += 2
            elif p.c_type.endswith("*"):
                self.steps.append(("out", p)); i += 1
            else:
                self.steps.append(("in", p)); i += 1
        self.inputs = [snake(p.name) for kind, p in self.steps if kind in ("in", "array_in", "bytes_in")]
        if any(kind == "bytes_out" for kind, _ in self.steps):
            self.inputs += ["count", "into"]
        if any(kind == "array_out" for kind, _ in self.steps):
            self.inputs.append("capacity")

    def __call__(self, session: Session, channel: bytes | None, *args: Any, **kwargs: Any) -> Any:
        if len(args) > len(self.inputs):
            raise TypeError(f"{self.info.name} takes {len(self.inputs)} arguments ({', '.join(self.inputs)})")
        values = dict(zip(self.inputs, args))
        values.update(kwargs)
        arguments: list[Any] = [session.vi] + ([channel] if self.per_phase else [])
        outputs: list[tuple[str, Any]] = []
        for kind, p in self.steps:
            name = snake(p.name)
            if kind == "in":
                arguments.append(self._input(p, values[name]))
            elif kind == "out":
                box = c_type(p)._type_()
                outputs.append((p.c_type, box))
                arguments.append(ctypes.byref(box))
            elif kind == "text_out":
                outputs.append(("text", None))
                text_at = len(arguments)
                arguments += [0, None]  # size and buffer, given by read_text
            elif kind == "fixed_text":
                buffer = ctypes.create_string_buffer(int(p.c_type[len("ViChar["):-1]))
                outputs.append(("fixed_text", buffer))
                arguments.append(buffer)
            elif kind == "array_in":
                items = [finite(x, f"{self.info.name} {name}") for x in values[name]]
                arguments += [len(items), (ctypes.c_double * len(items))(*items)]
            elif kind == "array_out":
                room = int(values.get("capacity", 4096))
                array = (ctypes.c_double * room)()
                outputs.append(("array", array))
                arguments += [room, array]
            elif kind == "bytes_in":
                if not isinstance(values[name], (bytes, bytearray, memoryview)):
                    raise TypeError(f"{self.info.name}: {name} must be bytes, not {type(values[name]).__name__}")
                data = bytes(values[name])
                arguments += [data, len(data)]
            elif kind == "bytes_out":
                count = ctypes.c_int32()
                if values.get("into") is not None:
                    buffer, room = _caller_storage(self.info.name, values["into"], values.get("count"))
                    outputs.append(("count", count))
                else:
                    room = int(65536 if values.get("count") is None else values["count"])
                    buffer = _unfilled_bytes(room)
                    outputs.append(("bytes", (buffer, count)))
                arguments += [buffer, room, ctypes.byref(count)]
        function = getattr(session.lib, self.info.name)
        if any(kind == "text" for kind, _ in outputs):

            def call(size: int, buffer: Any) -> int:
                arguments[text_at], arguments[text_at + 1] = size, buffer
                return function(*arguments)

            text = session.read_text(self.info.name, call)
            results = [text if kind == "text" else self._output(kind, box) for kind, box in outputs]
        else:
            status = session.check(function(*arguments), self.info.name)
            session.warn(status, self.info.name)
            results = [self._output(kind, box) for kind, box in outputs]
        # An array comes back as long as the count the member reports after it.
        kinds = [kind for kind, _ in outputs]
        if "array" in kinds and kinds.index("array") + 1 < len(kinds):
            at = kinds.index("array")
            results[at] = results[at][: max(0, results[at + 1])]
            del results[at + 1]
        if not results:
            return None
        return results[0] if len(results) == 1 else tuple(results)

    @staticmethod
    def _input(p: Parameter, value: Any) -> Any:
        if p.c_type == "ViConstString":
            return str(value).encode("utf-8")
        if p.c_type == "ViReal64":
            return finite(value, p.name)
        if p.c_type == "ViBoolean":
            return 1 if value else 0
        return int(value)

    @staticmethod
    def _output(kind: str, box: Any) -> Any:
        if kind == "ViBoolean*":
            return bool(box.value)
        if kind == "array":
            return list(box)
        if kind == "fixed_text":
            return box.value.decode("utf-8", "replace")
        if kind == "bytes":
            data, count = box
            return data if count.value == len(data) else data[: count.value]
        if kind == "count":
            return box.value
        return box.value

