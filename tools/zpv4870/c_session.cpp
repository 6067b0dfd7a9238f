#include "c_session.h"

#include <algorithm>
#include <cctype>

namespace zpv::cli {

namespace {

std::string Describe(ViSession vi, ViStatus status, const std::string& what) {
    ViStatus code = 0;
    char description[2048] = "";
    ZPV4870_GetError(vi, &code, sizeof description, description);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(status));
    return what + " failed (" + hex + "): " + (description[0] ? description : "no description");
}

}  // namespace

std::string OptionString(const SessionOptions& options) {
    // The DriverSetup part runs to the end of the string, so the model joins the user's own
    // DriverSetup when there is one.
    std::string text = options.simulate ? "Simulate=true" : "";
    if (!options.options.empty()) text += (text.empty() ? "" : ", ") + options.options;
    if (!options.model.empty()) {
        std::string lower = text;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        const bool hasSetup = lower.find("driversetup=") != std::string::npos;
        text += (text.empty() ? "" : ", ") + std::string(hasSetup ? "" : "DriverSetup=") + "Model=" + options.model;
    }
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
    if (status < VI_SUCCESS) throw Failure(Describe(vi_, status, what));
    return status;
}

}  // namespace zpv::cli
