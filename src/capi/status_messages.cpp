#include "capi/status_messages.h"

#include <unordered_map>

namespace zpv::capi {

namespace {

struct MessageRow {
    ViStatus status;
    const char* text;
};

constexpr MessageRow kMessages[] = {
    {VI_SUCCESS, "Success."},
    {ZPV4870_ERROR_CANNOT_RECOVER, "Failure cannot recover."},
    {ZPV4870_ERROR_INSTRUMENT_STATUS, "Instrument error detected.  Use ErrorQuery() to determine the error(s)."},
    {ZPV4870_ERROR_CANNOT_OPEN_FILE, "Cannot open file."},
    {ZPV4870_ERROR_READING_FILE, "Error reading file."},
    {ZPV4870_ERROR_WRITING_FILE, "Error writing file."},
    {ZPV4870_ERROR_INVALID_PATHNAME, "The pathname is invalid."},
    {ZPV4870_ERROR_INVALID_ATTRIBUTE, "Attribute ID '%1' not recognized."},
    {ZPV4870_ERROR_ATTRIBUTE_NOT_WRITABLE, "Attribute '%1' is read-only."},
    {ZPV4870_ERROR_ATTRIBUTE_NOT_READABLE, "Attribute '%1' is write-only."},
    {ZPV4870_ERROR_INVALID_VALUE, "Invalid value '%1' for function '%2', parameter '%3'."},
    {ZPV4870_ERROR_FUNCTION_NOT_SUPPORTED, "Does not support this class-compliant feature: function '%1'"},
    {ZPV4870_ERROR_ATTRIBUTE_NOT_SUPPORTED, "Does not support this class-compliant feature: attribute '%1'."},
    {ZPV4870_ERROR_VALUE_NOT_SUPPORTED,
     "Does not support this class-compliant feature:  Enumeration value '%1' passed as the value for parameter '%2' "
     "in function '%3'."},
    {ZPV4870_ERROR_TYPES_DO_NOT_MATCH, "%1Attribute%2 called for attribute '%3' of type '%4'."},
    {ZPV4870_ERROR_NOT_INITIALIZED, "A connection to the instrument has not been established."},
    {ZPV4870_ERROR_UNKNOWN_CHANNEL_NAME, "Unknown channel name."},
    {ZPV4870_ERROR_TOO_MANY_OPEN_FILES, "Too many files are open."},
    {ZPV4870_ERROR_CHANNEL_NAME_REQUIRED, "A channel name is required."},
    {ZPV4870_ERROR_MISSING_OPTION_NAME, "The option string is missing an option name."},
    {ZPV4870_ERROR_MISSING_OPTION_VALUE, "The option string is missing an option value."},
    {ZPV4870_ERROR_BAD_OPTION_NAME, "The '%1' name in the option string is unknown."},
    {ZPV4870_ERROR_BAD_OPTION_VALUE, "The '%1' value in the option string is unknown."},
    {ZPV4870_ERROR_OUT_OF_MEMORY, "Could not allocate necessary memory."},
    {ZPV4870_ERROR_OPERATION_PENDING, "Operation in progress."},
    {ZPV4870_ERROR_NULL_POINTER, "Null pointer passed for function '%1', parameter '%2'."},
    {ZPV4870_ERROR_UNEXPECTED_RESPONSE, "Unexpected response from instrument."},
    {ZPV4870_ERROR_FILE_NOT_FOUND, "File not found."},
    {ZPV4870_ERROR_INVALID_FILE_FORMAT, "Invalid file format."},
    {ZPV4870_ERROR_STATUS_NOT_AVAILABLE, "The instrument status is not available."},
    {ZPV4870_ERROR_ID_QUERY_FAILED, "Instrument ID query failed."},
    {ZPV4870_ERROR_RESET_FAILED, "Instrument reset failed."},
    {ZPV4870_ERROR_RESOURCE_UNKNOWN, "Unknown resource."},
    {ZPV4870_ERROR_ALREADY_INITIALIZED, "The driver is already initialized."},
    {ZPV4870_ERROR_CANNOT_CHANGE_SIMULATION_STATE, "The simulation state cannot be changed."},
    {ZPV4870_ERROR_INVALID_NUMBER_OF_LEVELS_IN_SELECTOR,
     "The number of levels in the selector is not valid for the '%1' repeated capability."},
    {ZPV4870_ERROR_INVALID_RANGE_IN_SELECTOR, "The range '%1' is not valid for the repeated capability '%2'."},
    {ZPV4870_ERROR_UNKNOWN_NAME_IN_SELECTOR, "Unknown name in selector."},
    {ZPV4870_ERROR_BADLY_FORMED_SELECTOR, "The repeated capability selector is badly-formed."},
    {ZPV4870_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER, "Unknown physical repeated capability selector."},
    {ZPV4870_ERROR_INVALID_SESSION_HANDLE, "Invalid session handle."},
    {ZPV4870_ERROR_IO_GENERAL, "I/O error."},
    {ZPV4870_ERROR_IO_TIMEOUT, "I/O timeout error."},
    {ZPV4870_ERROR_MODEL_NOT_SUPPORTED, "Instrument model does not support this feature."},
    {ZPV4870_ERROR_CANNOT_APPLY_TO_ALL_PHASES, "Cannot apply to AllPhases. Use specific output phase."},
    {ZPV4870_ERROR_MEASUREMENT_GROUP_NOT_SUPPORTED, "One or more of the requested measurement groups are not supported."},
    {ZPV4870_ERROR_MEASUREMENT_TYPE_NOT_SUPPORTED,
     "Cannot fetch the requested measurement type because it is not supported."},
    {ZPV4870_ERROR_WAVEFORM_IN_USE, "The waveform is currently in use."},
    {ZPV4870_ERROR_WAVEFORM_FIXED, "The waveform cannot be cleared because it is a vendor defined fixed waveform."},
    {ZPV4870_ERROR_WAVEFORM_NOT_STORED, "The specified waveform name is not currently stored in the power source."},
    {ZPV4870_ERROR_WAVEFORM_EXISTS, "A waveform with the same name is already stored."},
    {ZPV4870_ERROR_WAVEFORM_MEMORY_FULL, "The waveform memory is full."},
    {ZPV4870_ERROR_INVALID_WAVEFORM_NAME, "The specified waveform name is invalid."},
    {ZPV4870_ERROR_PHASES_NOT_INDEPENDENT,
     "The power support does not allow settings output channels independently for this function or attribute. You "
     "must use the \"All Phases\" channel name."},
    {ZPV4870_ERROR_PHASES_NOT_EQUAL,
     "Unable to return the requested value because all phases for that attribute are not presently the same."},
    {ZPV4870_ERROR_VOLTAGE_PROTECTION_TRIPPED, "The power source voltage protection has tripped."},
    {ZPV4870_ERROR_CURRENT_PROTECTION_TRIPPED, "The power source current protection has tripped."},
    {ZPV4870_ERROR_OUTPUT_ENABLED,
     "The power source output is presently enabled and the operation requires the output be disabled. Set the Output "
     "Enabled attribute to False then retry the operation"},
    {ZPV4870_ERROR_WAVEFORM_DC_OFFSET, "The waveform cannot be written because it contains a DC offset."},
    {ZPV4870_WARN_NSUP_ID_QUERY, "ID Query is not supported by this instrument."},
    {ZPV4870_WARN_NSUP_RESET, "Reset is not supported by this instrument."},
    {ZPV4870_WARN_NSUP_SELF_TEST, "Self test is not supported by this instrument."},
    {ZPV4870_WARN_NSUP_ERROR_QUERY, "Error query is not supported by this instrument."},
    {ZPV4870_WARN_NSUP_REV_QUERY, "Firmware revision query is not supported by this instrument."},
};

}  // namespace

std::string_view StatusMessage(ViStatus status) {
    static const auto map = [] {
        std::unordered_map<ViStatus, std::string_view> m;
        for (const MessageRow& row : kMessages) m.insert_or_assign(row.status, row.text);
        return m;
    }();
    const auto it = map.find(status);
    return it == map.end() ? std::string_view() : it->second;
}

}  // namespace zpv::capi
