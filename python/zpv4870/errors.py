"""The exceptions every failing call raises: the status code and the driver's description."""

from __future__ import annotations

from ._catalog import catalog


class DriverError(Exception):
    """A call of the driver failed. ``status`` is the C status code, ``description`` the driver's
    text of the failure ("ZPV4870: ...")."""

    def __init__(self, status: int, description: str, function: str = "") -> None:
        self.status = status
        # The driver's texts break lines with CR LF; Python's with LF.
        self.description = description.replace("\r\n", "\n")
        self.function = function
        where = f"{function}: " if function else ""
        super().__init__(f"{where}{self.description or 'failed'} (status 0x{status & 0xFFFFFFFF:08X})")


class ListRunError(RuntimeError):
    """A list program did not run as written: the instrument refused a setting, or it returned
    another number of results than the program has sequences."""


class DriverIOError(DriverError, OSError):
    """The instrument could not be reached or answered wrongly."""


class DriverTimeoutError(DriverIOError, TimeoutError):
    """The instrument did not answer within the timeout."""


class InvalidValueError(DriverError, ValueError):
    """A value out of its range, or a name the driver does not know."""


class NotSupportedError(DriverError):
    """The model, the class-compliant feature or the simulation does not offer the operation."""


class InvalidSessionError(DriverError):
    """The session is closed."""


def _classes() -> dict[int, type[DriverError]]:
    s = catalog().statuses
    by_name = {
        "ZPV4870_ERROR_IO_GENERAL": DriverIOError,
        "ZPV4870_ERROR_IO_TIMEOUT": DriverTimeoutError,
        "ZPV4870_ERROR_RESOURCE_UNKNOWN": DriverIOError,
        "ZPV4870_ERROR_INVALID_VALUE": InvalidValueError,
        "ZPV4870_ERROR_UNKNOWN_CHANNEL_NAME": InvalidValueError,
        "ZPV4870_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER": InvalidValueError,
        "ZPV4870_ERROR_BADLY_FORMED_SELECTOR": InvalidValueError,
        "ZPV4870_ERROR_MISSING_OPTION_NAME": InvalidValueError,
        "ZPV4870_ERROR_MISSING_OPTION_VALUE": InvalidValueError,
        "ZPV4870_ERROR_BAD_OPTION_NAME": InvalidValueError,
        "ZPV4870_ERROR_BAD_OPTION_VALUE": InvalidValueError,
        "ZPV4870_ERROR_MODEL_NOT_SUPPORTED": NotSupportedError,
        "ZPV4870_ERROR_FUNCTION_NOT_SUPPORTED": NotSupportedError,
        "ZPV4870_ERROR_ATTRIBUTE_NOT_SUPPORTED": NotSupportedError,
        "ZPV4870_ERROR_VALUE_NOT_SUPPORTED": NotSupportedError,
        "ZPV4870_ERROR_NOT_INITIALIZED": NotSupportedError,
        "ZPV4870_ERROR_INVALID_SESSION_HANDLE": InvalidSessionError,
    }
    classes = {s[name]: cls for name, cls in by_name.items()}
    # The class-compliant members outside simulation: passed on unchanged.
    classes[s["E_NOTIMPL"]] = NotSupportedError
    return classes


_by_status: dict[int, type[DriverError]] | None = None


def error_for(status: int, description: str, function: str = "") -> DriverError:
    """The exception of the status's class; without the driver's description, the library's own
    text of the status."""
    global _by_status
    if _by_status is None:
        _by_status = _classes()
    if not description:
        description = next((s.text for s in catalog().status_rows if s.status == status), "")
    return _by_status.get(status, DriverError)(status, description, function)
