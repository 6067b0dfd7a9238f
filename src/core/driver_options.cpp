// The option string and its DriverSetup part.
#include <string>

#include "core/driver.h"
#include "core/option_names.h"
#include "core/option_string.h"

namespace zpv::driver {

namespace {

// The option names that set a flag.
struct OptionFlagRow {
    const char* name;
    bool OptionFlags::*flag;
};
constexpr OptionFlagRow kOptionFlags[] = {
    {"cache", &OptionFlags::cache},
    {"interchangecheck", &OptionFlags::interchangeCheck},
    {"queryinstrstatus", &OptionFlags::queryInstrumentStatus},
    {"rangecheck", &OptionFlags::rangeCheck},
    {"recordcoercions", &OptionFlags::recordCoercions},
    {"simulate", &OptionFlags::simulate},
};
static_assert([] {
    for (std::size_t i = 0; i < std::size(kOptionFlags); ++i)
        if (kOptionFlagNames[i] != kOptionFlags[i].name) return false;
    return std::size(kOptionFlags) == kOptionFlagNames.size();
}(), "the flag rows and the published option names differ");

// DriverSetup keys that store a text or a decimal trace setting.
struct TraceTextRow {
    const char* key;
    std::string trace::TraceSettings::*field;
};
constexpr TraceTextRow kTraceTexts[] = {
    {"tracename", &trace::TraceSettings::fileName},
    {"tracetransform", &trace::TraceSettings::transform},
};
struct TraceNumberRow {
    const char* key;
    LONG trace::TraceSettings::*field;
};
constexpr TraceNumberRow kTraceNumbers[] = {
    {"tracesizemax", &trace::TraceSettings::sizeMax},
    {"tracearraysizemax", &trace::TraceSettings::arraySizeMax},
    {"tracesaveinterval", &trace::TraceSettings::saveInterval},
};

}  // namespace

HRESULT CDriver::ParseOptionString(std::string_view options) {
    optionMap_.clear();
    if (options.empty()) return S_OK;

    std::string_view optionPart = options;
    if (auto marker = FindDriverSetupMarker(options)) {
        HRESULT hr = ProcessDriverSetup(options.substr(marker->valueStart));
        if (FAILED(hr)) return hr;
        optionPart = options.substr(0, marker->markerPos);
    }
    for (const auto& [name, value] : SplitOptionEntries(optionPart)) {
        HRESULT hr = ProcessInitOption(name, value);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT CDriver::ProcessInitOption(std::string_view nameIn, std::string_view valueIn) {
    const std::string name = ToLower(TrimWhite(nameIn));
    const std::string value(TrimWhite(valueIn));
    if (name.empty()) return reporter_->ReportInvalidInteger("ProcessInitOption", "strNameIn", 0, "%d");
    if (value.empty()) return reporter_->ReportInvalidInteger("ProcessInitOption", "strValueIn", 0, "%d");

    for (const OptionFlagRow& row : kOptionFlags) {
        if (name != row.name) continue;
        const auto parsed = ParseOptionBoolean(valueIn);
        if (!parsed) return reporter_->Report<errors::MessageId::BadOptionValue>({}, valueIn);
        flags_.*row.flag = *parsed;
        break;
    }
    optionMap_[name] = value;
    return S_OK;
}

HRESULT CDriver::ProcessDriverSetup(std::string_view driverSetup) {
    driverSetupMap_.clear();
    driverSetupText_ = std::string(driverSetup);

    // "NumPhases:3" is accepted as "NumPhases=3".
    std::string text(driverSetup);
    static constexpr std::string_view kColonForm = "NumPhases:";
    for (auto at = text.find(kColonForm); at != std::string::npos; at = text.find(kColonForm, at))
        text[at + kColonForm.size() - 1] = '=';

    for (const auto& [key, value] : SplitOptionEntries(text)) {
        HRESULT hr = ProcessDriverSetupOption(key, value);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT CDriver::ProcessDriverSetupOption(std::string_view keyIn, std::string_view value) {
    const std::string key = ToLower(keyIn);
    trace::TraceSettings& settings = trace_.Settings();
    HRESULT hr = S_OK;

    if (key == "model") {
        model_ = std::string(value);
    } else if (key == "trace") {
        if (const auto on = ParseOptionBoolean(value)) {
            if (!*on && settings.enabled) {
                // Switching an active trace off twice is a caller error.
                if (trace_.State() == 1) return E_UNEXPECTED;
                trace_.SetState(1);
            }
            settings.enabled = *on;
        } else {
            hr = reporter_->Report<errors::MessageId::BadOptionValue>({}, value);
        }
    } else if (key == "tracearray") {
        if (const auto on = ParseOptionBoolean(value))
            settings.traceArrays = *on;
        else
            hr = reporter_->Report<errors::MessageId::BadOptionValue>({}, value);
    } else {
        for (const TraceTextRow& row : kTraceTexts)
            if (key == row.key) settings.*row.field = std::string(value);
        for (const TraceNumberRow& row : kTraceNumbers)
            if (key == row.key) settings.*row.field = ReadLeadingDecimal(value);
    }
    driverSetupMap_[key] = std::string(value);
    return hr;
}

}  // namespace zpv::driver
