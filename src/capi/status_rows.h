// Every status of the C interface as one row: its identifier (the number is in the public header)
// and the short text ZPV4870_error_message gives for it, with %1 inserts unfilled.
#pragma once

#include "zpv4870.h"

// X(StatusMacro, Text)
#define ZPV_C_STATUSES(X) \
    X(VI_SUCCESS, "Success.") \
    X(ZPV4870_ERROR_CANNOT_RECOVER, "Failure cannot recover.") \
    X(ZPV4870_ERROR_INSTRUMENT_STATUS, "Instrument error detected.  Use ErrorQuery() to determine the error(s).") \
    X(ZPV4870_ERROR_CANNOT_OPEN_FILE, "Cannot open file.") \
    X(ZPV4870_ERROR_READING_FILE, "Error reading file.") \
    X(ZPV4870_ERROR_WRITING_FILE, "Error writing file.") \
    X(ZPV4870_ERROR_INVALID_PATHNAME, "The pathname is invalid.") \
    X(ZPV4870_ERROR_INVALID_ATTRIBUTE, "Attribute ID '%1' not recognized.") \
    X(ZPV4870_ERROR_ATTRIBUTE_NOT_WRITABLE, "Attribute '%1' is read-only.") \
    X(ZPV4870_ERROR_ATTRIBUTE_NOT_READABLE, "Attribute '%1' is write-only.") \
    X(ZPV4870_ERROR_INVALID_VALUE, "Invalid value '%1' for function '%2', parameter '%3'.") \
    X(ZPV4870_ERROR_FUNCTION_NOT_SUPPORTED, "Does not support this class-compliant feature: function '%1'") \
    X(ZPV4870_ERROR_ATTRIBUTE_NOT_SUPPORTED, "Does not support this class-compliant feature: attribute '%1'.") \
    X(ZPV4870_ERROR_VALUE_NOT_SUPPORTED, "Does not support this class-compliant feature:  Enumeration value '%1' passed as the value for parameter '%2' in function '%3'.") \
    X(ZPV4870_ERROR_TYPES_DO_NOT_MATCH, "%1Attribute%2 called for attribute '%3' of type '%4'.") \
    X(ZPV4870_ERROR_NOT_INITIALIZED, "A connection to the instrument has not been established.") \
    X(ZPV4870_ERROR_UNKNOWN_CHANNEL_NAME, "Unknown channel name.") \
    X(ZPV4870_ERROR_TOO_MANY_OPEN_FILES, "Too many files are open.") \
    X(ZPV4870_ERROR_CHANNEL_NAME_REQUIRED, "A channel name is required.") \
    X(ZPV4870_ERROR_MISSING_OPTION_NAME, "The option string is missing an option name.") \
    X(ZPV4870_ERROR_MISSING_OPTION_VALUE, "The option string is missing an option value.") \
    X(ZPV4870_ERROR_BAD_OPTION_NAME, "The '%1' name in the option string is unknown.") \
    X(ZPV4870_ERROR_BAD_OPTION_VALUE, "The '%1' value in the option string is unknown.") \
    X(ZPV4870_ERROR_OUT_OF_MEMORY, "Could not allocate necessary memory.") \
    X(ZPV4870_ERROR_OPERATION_PENDING, "Operation in progress.") \
    X(ZPV4870_ERROR_NULL_POINTER, "Null pointer passed for function '%1', parameter '%2'.") \
    X(ZPV4870_ERROR_UNEXPECTED_RESPONSE, "Unexpected response from instrument.") \
    X(ZPV4870_ERROR_FILE_NOT_FOUND, "File not found.") \
    X(ZPV4870_ERROR_INVALID_FILE_FORMAT, "Invalid file format.") \
    X(ZPV4870_ERROR_STATUS_NOT_AVAILABLE, "The instrument status is not available.") \
    X(ZPV4870_ERROR_ID_QUERY_FAILED, "Instrument ID query failed.") \
    X(ZPV4870_ERROR_RESET_FAILED, "Instrument reset failed.") \
    X(ZPV4870_ERROR_RESOURCE_UNKNOWN, "Unknown resource.") \
    X(ZPV4870_ERROR_ALREADY_INITIALIZED, "The driver is already initialized.") \
    X(ZPV4870_ERROR_CANNOT_CHANGE_SIMULATION_STATE, "The simulation state cannot be changed.") \
    X(ZPV4870_ERROR_INVALID_NUMBER_OF_LEVELS_IN_SELECTOR, "The number of levels in the selector is not valid for the '%1' repeated capability.") \
    X(ZPV4870_ERROR_INVALID_RANGE_IN_SELECTOR, "The range '%1' is not valid for the repeated capability '%2'.") \
    X(ZPV4870_ERROR_UNKNOWN_NAME_IN_SELECTOR, "Unknown name in selector.") \
    X(ZPV4870_ERROR_BADLY_FORMED_SELECTOR, "The repeated capability selector is badly-formed.") \
    X(ZPV4870_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER, "Unknown physical repeated capability selector.") \
    X(ZPV4870_ERROR_INVALID_SESSION_HANDLE, "Invalid session handle.") \
    X(ZPV4870_ERROR_IO_GENERAL, "I/O error.") \
    X(ZPV4870_ERROR_IO_TIMEOUT, "I/O timeout error.") \
    X(ZPV4870_ERROR_MODEL_NOT_SUPPORTED, "Instrument model does not support this feature.") \
    X(ZPV4870_ERROR_CANNOT_APPLY_TO_ALL_PHASES, "Cannot apply to AllPhases. Use specific output phase.") \
    X(ZPV4870_ERROR_MEASUREMENT_GROUP_NOT_SUPPORTED, "One or more of the requested measurement groups are not supported.") \
    X(ZPV4870_ERROR_MEASUREMENT_TYPE_NOT_SUPPORTED, "Cannot fetch the requested measurement type because it is not supported.") \
    X(ZPV4870_ERROR_WAVEFORM_IN_USE, "The waveform is currently in use.") \
    X(ZPV4870_ERROR_WAVEFORM_FIXED, "The waveform cannot be cleared because it is a vendor defined fixed waveform.") \
    X(ZPV4870_ERROR_WAVEFORM_NOT_STORED, "The specified waveform name is not currently stored in the power source.") \
    X(ZPV4870_ERROR_WAVEFORM_EXISTS, "A waveform with the same name is already stored.") \
    X(ZPV4870_ERROR_WAVEFORM_MEMORY_FULL, "The waveform memory is full.") \
    X(ZPV4870_ERROR_INVALID_WAVEFORM_NAME, "The specified waveform name is invalid.") \
    X(ZPV4870_ERROR_PHASES_NOT_INDEPENDENT, "The power support does not allow settings output channels independently for this function or attribute. You must use the \"All Phases\" channel name.") \
    X(ZPV4870_ERROR_PHASES_NOT_EQUAL, "Unable to return the requested value because all phases for that attribute are not presently the same.") \
    X(ZPV4870_ERROR_VOLTAGE_PROTECTION_TRIPPED, "The power source voltage protection has tripped.") \
    X(ZPV4870_ERROR_CURRENT_PROTECTION_TRIPPED, "The power source current protection has tripped.") \
    X(ZPV4870_ERROR_OUTPUT_ENABLED, "The power source output is presently enabled and the operation requires the output be disabled. Set the Output Enabled attribute to False then retry the operation") \
    X(ZPV4870_ERROR_WAVEFORM_DC_OFFSET, "The waveform cannot be written because it contains a DC offset.") \
    X(ZPV4870_WARN_NSUP_ID_QUERY, "ID Query is not supported by this instrument.") \
    X(ZPV4870_WARN_NSUP_RESET, "Reset is not supported by this instrument.") \
    X(ZPV4870_WARN_NSUP_SELF_TEST, "Self test is not supported by this instrument.") \
    X(ZPV4870_WARN_NSUP_ERROR_QUERY, "Error query is not supported by this instrument.") \
    X(ZPV4870_WARN_NSUP_REV_QUERY, "Firmware revision query is not supported by this instrument.")
