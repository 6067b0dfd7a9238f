"""The driver as Python objects: a ``Driver`` per session, groups of attributes and methods shaped
like the instrument (``drv.manual_mode.voltage_ac``, ``drv.output_phases["OutputPhase1"]``,
``drv.list_mode.sequence.add()``), all made from the library's catalog: its places, attributes
and functions."""

from __future__ import annotations

import contextlib
import ctypes
import inspect
import difflib
import math
import re
import time
import warnings
from collections.abc import Iterator
from typing import Any

from ._calls import INSTRUMENT_STATUS, DriverWarning, Session, Wrapper, snake
from ._catalog import AttributeInfo, FunctionInfo, catalog
from ._library import library
from .enums import BY_C_NAME
from .errors import DriverError, ListRunError, error_for
from .simulator import BundledSimulator
from .results import FIELDS, SequenceResult, parse_results

def python_path(place: str) -> str:
    """The catalog's place of a group in Python's spelling: ``OutputPhases[].CurrentProtection`` is
    output_phases[].current_protection ("[]" marks the items of a collection)."""
    return ".".join(snake(part.removesuffix("[]")) + ("[]" if part.endswith("[]") else "")
                    for part in place.split(".") if part)


# The option string's names the driver knows (src/core/option_names.h; a test compares the two).
# The driver accepts every other name without effect.
OPTION_NAMES = ("cache", "interchangecheck", "queryinstrstatus", "rangecheck", "recordcoercions", "simulate")


def unknown_option_names(options: str) -> list[str]:
    """Names before the DriverSetup part that the driver does not know."""
    unknown = []
    for entry in options.split(","):
        name = entry.split("=", 1)[0].strip()
        if name.lower() == "driversetup":
            break
        if name and name.lower() not in OPTION_NAMES:
            unknown.append(name)
    return unknown


def attribute_name(info: AttributeInfo) -> str:
    """The Python name of an attribute: its property's name in snake case (VoltageLevel is
    voltage_level)."""
    return snake(info.name)


def method_name(info: FunctionInfo) -> str:
    """The Python name: the function without its prefix and family number (ZPV4870_Add3 is add)."""
    return snake(re.sub(r"\d+$", "", info.name.removeprefix("ZPV4870_")))


class Group:
    """A part of the driver: its attributes are properties, its functions methods."""

    _attributes: dict[str, AttributeInfo] = {}
    _path = ""

    def __init__(self, session: Session, channel: bytes | None = None) -> None:
        self._session = session
        self._channel = channel

    def __setattr__(self, name: str, value: Any) -> None:
        # A misspelt attribute would otherwise become a new Python attribute and send nothing.
        if not name.startswith("_") and not isinstance(getattr(type(self), name, None), property):
            close = difflib.get_close_matches(name, [n for n in dir(type(self)) if not n.startswith("_")], n=1)
            hint = f"; did you mean {close[0]!r}?" if close else ""
            raise AttributeError(f"{self._path or 'the driver'} has no attribute {name!r}{hint}")
        super().__setattr__(name, value)

    def __repr__(self) -> str:
        channel = self.__dict__.get("_channel")
        where = f" {channel.decode()}" if channel else ""
        return f"<zpv4870 {self._path or 'driver'}{where}>"

    def _child(self, key: str, cls: type[Group]) -> Group:
        """The group below this one, made once."""
        children = self.__dict__.setdefault("_children", {})
        if key not in children:
            children[key] = cls(self._session, self._channel)
        return children[key]


def _attribute_property(info: AttributeInfo) -> property:
    kind = info.enum or {"ViInt32": "int", "ViReal64": "float", "ViBoolean": "bool", "ViString": "str"}[info.c_type]
    facts = [kind]
    if info.unit:
        facts.append(info.unit)
    facts.append("read/write" if info.writable else "read-only")
    if info.range:
        facts.append(f"{info.range[0]:g} to {info.range[1]:g}")
    if info.enum:
        facts.append("one of " + ", ".join(name for name, _, _ in catalog().enums[info.enum]))
    if info.missing_on:
        facts.append(f"not on {info.missing_on} models")
    doc = f"{info.name} ({'; '.join(facts)}): attribute {info.macro} ({info.id})"

    def get(self: Group) -> Any:
        return self._session.get_attribute(info, self._channel)

    def put(self: Group, value: Any) -> None:
        self._session.set_attribute(info, self._channel, value)

    return property(get, put if info.writable else None, doc=doc)


def _method(wrapper: Wrapper) -> Any:
    info = wrapper.info

    def call(self: Group, *args: Any, **kwargs: Any) -> Any:
        result = wrapper(self._session, self._channel, *args, **kwargs)
        return parse_results([result])[0] if info.result == "readings" else result

    call.__name__ = method_name(info)
    parameters = [inspect.Parameter("self", inspect.Parameter.POSITIONAL_OR_KEYWORD)]
    parameters += [inspect.Parameter(name, inspect.Parameter.POSITIONAL_OR_KEYWORD) for name in wrapper.inputs]
    call.__signature__ = inspect.Signature(parameters)  # type: ignore[attr-defined]
    returns = "the readings as a record (" + ", ".join(FIELDS) + ")" if info.result == "readings" else \
        f"in {info.unit}" if info.unit else ""
    call.__doc__ = f"{info.name}({', '.join(wrapper.inputs)}){': ' + returns if returns else ''}."
    return call


class Collection(Group):
    """A collection of output phases: its own attributes and methods, and its phases by name or
    by index, and in order."""

    _item_class: type[Group] = Group

    def names(self) -> list[str]:
        """The phase names: one per phase the driver reports, "OutputPhase1" at least. They do not
        change within a session, so they are asked for once."""
        if self._session.phase_names is None:
            names = []
            wrapper = Wrapper(catalog().functions["ZPV4870_GetOutputPhaseName"])
            for index in range(1, 64):
                try:
                    names.append(wrapper(self._session, None, index))
                except DriverError:
                    break
            self._session.phase_names = names or ["OutputPhase1"]
        return list(self._session.phase_names)

    def __getitem__(self, key: str | int) -> Group:
        if isinstance(key, int):
            key = self.names()[key]
        return self._item_class(self._session, str(key).encode("utf-8"))

    def __iter__(self) -> Iterator[Group]:
        return (self[name] for name in self.names())

    def __len__(self) -> int:
        return len(self.names())


def _build() -> dict[str, type[Group]]:
    """One class per place of the catalog (and the plain parents such as list_mode)."""
    c = catalog()
    members: dict[str, dict[str, Any]] = {"": {}}
    for place in c.places.values():
        parts = python_path(place).split(".")
        for i in range(len(parts)):
            members.setdefault(".".join(parts[: i + 1]), {})
    for info in c.attributes:
        path = python_path(info.place)
        members[path][attribute_name(info)] = _attribute_property(info)
        members[path].setdefault("_attributes", {})[attribute_name(info)] = info
    for info in c.functions.values():
        members[python_path(info.place)][method_name(info)] = _method(Wrapper(info))
    classes: dict[str, type[Group]] = {}
    for path in sorted(members, key=lambda p: (-p.count(".") if p else 1, not p.endswith("[]"))):  # children first
        body = dict(members[path])
        body["_path"] = path
        bases: tuple[type, ...] = (Group,)
        if path + "[]" in classes:  # a collection: its items are the phases
            bases = (Collection,)
            body["_item_class"] = classes[path + "[]"]
        for child, cls in classes.items():
            parent, _, leaf = child.rpartition(".")
            if parent == path and not leaf.endswith("[]"):
                body[leaf] = property(lambda self, c=cls, key=leaf: self._child(key, c), doc=cls.__doc__)
        name = "".join(part.title().replace("_", "").replace("[]", "Phase") for part in path.split(".")) or "Root"
        classes[path] = type(name, bases, body)
    return classes


_CLASSES = _build()


def _utility(name: str, doc: str) -> Any:
    """A session utility function of the C interface (from its prototype in the catalog) as a
    method: its outputs returned as a tuple."""
    wrapper = Wrapper(catalog().session_functions[f"ZPV4870_{name}"])

    def call(self: Group) -> Any:
        return wrapper(self._session, None)

    call.__name__, call.__doc__ = name, doc
    return call


# Where the C interface's grouping puts them: the utility group, beside reset (also on the driver).
_UTILITIES = {name: _utility(name, doc) for name, doc in (
    ("error_query", "The instrument's next error: code and message (0 and \"No error\" when the queue is empty)."),
    ("self_test", "The instrument's self test: its result code and message."),
    ("revision_query", "The driver's revision and the instrument's firmware revision."),
)}
for _name, _function in _UTILITIES.items():
    setattr(_CLASSES["utility"], _name, _function)


class Driver(_CLASSES[""]):  # type: ignore[misc, valid-type]
    """A session on one instrument (or a simulated one), closed by ``close()`` or on leaving a
    ``with`` block.

    >>> with Driver("TCPIP0::192.168.1.20::5025::SOCKET", options="QueryInstrStatus=true") as drv:
    ...     drv.output_phases["OutputPhase1"].voltage_level = 230.0
    """

    def __init__(self, resource: str = "", id_query: bool = True, reset: bool = False, options: str = "",
                 status_check: bool = True, timeout: float | None = None, simulate: bool = False,
                 model: str | None = None) -> None:
        """``status_check`` (on by default) reads the instrument's event status after every call
        (the driver's QueryInstrStatus), so a value the instrument refuses raises with the
        instrument's own error text; an option string that names QueryInstrStatus decides itself.
        ``timeout`` (seconds) bounds every exchange with the instrument, from the opening identity
        query on. ``simulate=True`` (no resource) starts the bundled simulator for the session, a
        ``model`` of the twelve, so every member works as on an instrument; it stops with
        ``close()``."""
        self.__dict__["_simulator"] = None
        if timeout is not None:
            if not math.isfinite(timeout) or timeout <= 0:
                raise ValueError(f"timeout: {timeout!r} is not a positive number of seconds")
            milliseconds = max(1, round(timeout * 1000))
            if milliseconds >= 2**31:
                raise ValueError(f"timeout: {timeout!r} s is longer than the driver can wait")
            has_setup = "driversetup" in options.lower()
            options += (", " if options else "") + ("" if has_setup else "DriverSetup=") + f"IOTimeout={milliseconds}"
        setup = options.lower().find("driversetup")
        if status_check and "queryinstrstatus" not in options.lower()[: setup if setup >= 0 else None]:
            options = "QueryInstrStatus=true" + (", " + options if options else "")
        for name in unknown_option_names(options):
            warnings.warn(f"the driver does not know the option {name!r} and ignores it "
                          f"(it knows {', '.join(OPTION_NAMES)}, in any letter case, and DriverSetup)",
                          DriverWarning, stacklevel=2)
        if simulate:  # started last: nothing above can fail and leave it running
            if resource:
                raise ValueError("simulate=True runs the bundled simulator: give no resource")
            self.__dict__["_simulator"] = BundledSimulator(model)
            resource = self._simulator.resource
        vi = ctypes.c_uint32()
        status = library().ZPV4870_InitWithOptions(resource.encode("utf-8"), 1 if id_query else 0,
                                                   1 if reset else 0, options.encode("utf-8"), ctypes.byref(vi))
        if status < 0:
            if self._simulator:
                self._simulator.stop()
            raise error_for(status, Session(0).last_error()[1], "ZPV4870_InitWithOptions")
        super().__init__(Session(vi.value, owned=True))
        self._session.warn(status, "ZPV4870_InitWithOptions")

    @property
    def closed(self) -> bool:
        return self._session.vi == 0

    def close(self) -> None:
        """Ends the session; a second close does nothing."""
        vi = self._session.vi
        status = self._session.close()
        if self.__dict__.get("_simulator"):
            self._simulator.stop()
        if status < 0:
            raise error_for(status, Session(vi).last_error()[1], "ZPV4870_close")

    def __enter__(self) -> Driver:
        return self

    def __exit__(self, *exc: object) -> None:
        self.close()

    @contextlib.contextmanager
    def locked(self) -> Iterator[Driver]:
        """Other threads' calls on this session wait until the block ends."""
        has_lock = ctypes.c_uint16(0)
        self._session.check(self._session.lib.ZPV4870_LockSession(self._session.vi, ctypes.byref(has_lock)),
                            "ZPV4870_LockSession")
        try:
            yield self
        finally:
            self._session.lib.ZPV4870_UnlockSession(self._session.vi, ctypes.byref(has_lock))

    # -- the session utility functions --------------------------------------------------------------
    # The instrument's error queue, self test and revisions (also on drv.utility).
    error_query = _UTILITIES["error_query"]
    self_test = _UTILITIES["self_test"]
    revision_query = _UTILITIES["revision_query"]

    # -- list programs ---------------------------------------------------------------------------
    def list_results(self) -> list[SequenceResult]:
        """The results of the last list run, one per sequence."""
        result = self.result  # type: ignore[attr-defined]
        rows = []
        for index in range(1, result.total_sequence + 1):
            result.sequence_index = index
            rows.append(result.get_all())  # a record: the catalog marks the list of all readings
        return rows

    def run_list_program(self, sequences: list[dict[str, Any]], count: int = 1,
                         timeout: float | None = None) -> list[SequenceResult]:
        """Builds a list program of exactly these sequences (each a dict of list-mode sequence
        attributes, such as ``voltage_ac_start``, ``frequency_start``, ``time``), runs it for the
        sequences' own time (or ``timeout`` seconds), ending early when the instrument says it
        stopped, and returns one result per sequence.

        Every setting is checked before anything is sent; a setting the instrument refuses, or a
        run that returns another number of results, raises ListRunError. The output is switched
        off after the run, and also when anything fails or the wait is interrupted."""
        if not sequences:
            raise ValueError("a list program needs at least one sequence")
        if len(sequences) > MAX_LIST_SEQUENCES:
            raise ValueError(f"{len(sequences)} sequences; a list program of the instrument holds at most "
                             f"{MAX_LIST_SEQUENCES}")
        program, sequence = self.list_mode.program, self.list_mode.sequence  # type: ignore[attr-defined]
        known = type(sequence)._attributes
        for index, settings in enumerate(sequences, start=1):
            for name, value in settings.items():
                if name not in known:
                    raise AttributeError(f"list-mode sequences have no setting {name!r}")
                if isinstance(value, (int, float)) and not isinstance(value, bool):
                    if not math.isfinite(value):
                        raise ValueError(f"sequence {index}: {name} is {value}, not a finite number")
                    if name in ("time", "cycle") and value < 0:
                        raise ValueError(f"sequence {index}: {name} is {value}; a sequence cannot run for less than nothing")
        execution = self.execution  # type: ignore[attr-defined]
        on, off = BY_C_NAME["ZPV4870OutputEnum"].ON, BY_C_NAME["ZPV4870OutputEnum"].OFF

        while self.error_query()[0] != 0:  # what an earlier caller left in the queue is not ours
            pass
        durations = list(sequences)
        try:
            program.count = count
            existing = sequence.get_total_sequence()
            for index, settings in enumerate(sequences, start=1):
                if index > existing:
                    sequence.add()
                sequence.edit(index)
                for name, value in settings.items():
                    setattr(sequence, name, value)
                if "time" in settings and "time_unit" not in settings:  # the unit the sequence has
                    durations[index - 1] = {**settings, "time_unit": sequence.time_unit}
            for extra in range(existing, len(sequences), -1):  # an earlier program's sequences go
                sequence.delete(extra)
        except DriverError as refused:
            if refused.status != INSTRUMENT_STATUS:
                raise
            raise ListRunError(f"the instrument refused the program: {refused.description}; nothing was run") from refused
        code, message = self.error_query()  # without status checking the queue tells
        if code != 0:
            raise ListRunError(f"the instrument refused the program: {code}, {message}; nothing was run")

        execution.set_output_enable(off)  # the program starts from off, whatever was on
        execution.set_operation_mode(BY_C_NAME["ZPV4870OperationModeEnum"].LIST)
        try:
            execution.set_output_enable(on)
            # The run takes the sequences' own time; it ends early when the instrument stops.
            end = time.monotonic() + (timeout if timeout is not None else _estimated_seconds(durations))
            while time.monotonic() < end:
                time.sleep(min(0.05, max(0.0, end - time.monotonic())))
                if self.measure.state().strip().upper() == "STOP":  # type: ignore[attr-defined]
                    break
        finally:
            execution.set_output_enable(off)
        results = self.list_results()
        if len(results) != len(sequences):
            raise ListRunError(f"the instrument returned {len(results)} results for {len(sequences)} sequences")
        return results


# Sequences a list program of any model holds.
MAX_LIST_SEQUENCES = 100


def _estimated_seconds(sequences: list[dict[str, Any]]) -> float:
    """How long the sequences run by their time and time unit (each sequence's own unit, read from
    the instrument where the program does not give one)."""
    units = {"MILLISECOND": 0.001, "SECOND": 1.0, "MINUTE": 60.0, "HOUR": 3600.0}
    total = 0.0
    for settings in sequences:
        unit = settings.get("time_unit", "MILLISECOND")
        factor = units.get(str(getattr(unit, "name", unit)).upper().replace("ZPV4870TIMEUNIT", ""), 1.0)
        total += float(settings.get("time", 0) or 0) * factor
    return total


def error_message(status: int) -> str:
    """The C interface's short text of a status ("" for an unknown one)."""
    text = ctypes.create_string_buffer(256)
    library().ZPV4870_error_message(0, status, text)
    return text.value.decode("utf-8", "replace")
