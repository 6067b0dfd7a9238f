#include "c_session.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "attribute_catalog.h"
#include "core/option_names.h"

namespace zpv::cli {

namespace {

std::string Describe(ViSession vi, ViStatus status, const std::string& what) {
    ViStatus code = 0;
    char description[2048] = "";
    ZPV4870_GetError(vi, &code, sizeof description, description);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(status));
    if (description[0]) return what + " failed (" + hex + "): " + description;
    const std::string text = StatusText(status);
    return what + " failed (" + hex + "): " + (text.empty() ? "no description" : text);
}

// Names before the DriverSetup part that the driver does not know: it accepts them without effect,
// so a misspelt "QueryInstrumentStatus=true" would silently leave status checking off.
std::vector<std::string> UnknownOptionNames(const std::string& options) {
    std::vector<std::string> unknown;
    std::size_t start = 0;
    while (start < options.size()) {
        std::size_t end = options.find(',', start);
        if (end == std::string::npos) end = options.size();
        std::string name = options.substr(start, std::min(options.find('=', start), end) - start);
        name.erase(0, name.find_first_not_of(" \t"));
        name.erase(name.find_last_not_of(" \t") + 1);
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if (lower == driver::kDriverSetupName) break;  // the rest is DriverSetup's
        if (!name.empty() && std::find(driver::kOptionFlagNames.begin(), driver::kOptionFlagNames.end(), lower) ==
                                 driver::kOptionFlagNames.end())
            unknown.push_back(name);
        start = end + 1;
    }
    return unknown;
}

}  // namespace

std::string OptionString(const SessionOptions& options) {
    for (const std::string& name : UnknownOptionNames(options.options)) {
        std::string known;
        for (std::string_view k : driver::kOptionFlagNames) known += (known.empty() ? "" : ", ") + std::string(k);
        std::fprintf(stderr, "zpv4870: warning: the driver does not know the option '%s' and ignores it (it knows %s, "
                             "in any letter case, and DriverSetup)\n", name.c_str(), known.c_str());
    }
    // The DriverSetup part runs to the end of the string, so the model joins the user's own
    // DriverSetup when there is one.
    std::string text = options.simulate ? "Simulate=true" : "";
    std::string given = options.options;
    std::transform(given.begin(), given.end(), given.begin(), [](unsigned char c) { return std::tolower(c); });
    const std::size_t setup = given.find(driver::kDriverSetupName);
    if (options.statusCheck && given.substr(0, setup).find("queryinstrstatus") == std::string::npos)
        text += (text.empty() ? "" : ", ") + std::string("QueryInstrStatus=true");
    if (!options.options.empty()) text += (text.empty() ? "" : ", ") + options.options;
    // DriverSetup entries of the tool's own options join the user's DriverSetup when there is one.
    auto addSetup = [&](const std::string& entry) {
        std::string lower = text;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        const bool hasSetup = lower.find("driversetup") != std::string::npos;
        text += (text.empty() ? "" : ", ") + std::string(hasSetup ? "" : "DriverSetup=") + entry;
    };
    if (!options.model.empty()) addSetup("Model=" + options.model);
    if (!options.ioLog.empty()) addSetup("IoLog=" + options.ioLog);
    // The timeout holds from the opening identity query on, not only after the session is open.
    if (options.timeoutMs > 0 && !options.simulate) addSetup("IOTimeout=" + std::to_string(options.timeoutMs));
    return text;
}

CSession::CSession(const SessionOptions& options) {
    const std::string optionString = OptionString(options);
    const ViStatus status =
        ZPV4870_InitWithOptions(options.resource.c_str(), VI_TRUE, VI_FALSE, optionString.c_str(), &vi_);
    if (status < VI_SUCCESS) throw Failure(Describe(0, status, "opening \"" + options.resource + "\""));
    if (options.timeoutMs > 0 && !options.simulate)
        Check(ZPV4870_SetAttributeViInt32(vi_, nullptr, ZPV4870_ATTR_SYSTEM_IO_TIMEOUT, options.timeoutMs),
              "setting the timeout");
}

CSession::~CSession() {
    if (vi_) ZPV4870_close(vi_);
}

ViStatus CSession::Check(ViStatus status, const std::string& what) const {
    if (status >= VI_SUCCESS) return status;
    std::string failure = Describe(vi_, status, what);
    if (status == ZPV4870_ERROR_INSTRUMENT_STATUS) {
        // The instrument's own words: its error queue, read until it is empty.
        std::string errors;
        for (int i = 0; i < 32; ++i) {
            ViInt32 code = 0;
            ViChar message[256] = "";
            if (ZPV4870_error_query(vi_, &code, message) < VI_SUCCESS || code == 0) break;
            errors += std::string(errors.empty() ? "" : "; ") + std::to_string(code) + ", " + message;
        }
        if (!errors.empty()) failure = what + " failed: the instrument refused it: " + errors;
    }
    throw Failure(failure);
}

std::vector<std::pair<ViInt32, std::string>> CSession::ErrorQueue(int most) const {
    std::vector<std::pair<ViInt32, std::string>> errors;
    for (int i = 0; i < most; ++i) {
        ViInt32 code = 0;
        ViChar message[256] = "";
        Check(ZPV4870_error_query(vi_, &code, message), "reading the error queue");
        if (code == 0) break;
        errors.emplace_back(code, message);
    }
    return errors;
}

}  // namespace zpv::cli
