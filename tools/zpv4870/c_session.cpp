#include "c_session.h"

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
    std::string text = options.options;
    auto add = [&](const std::string& entry) { text += (text.empty() ? "" : ", ") + entry; };
    std::string setup;
    if (options.simulate) add("Simulate=true");
    if (!options.model.empty()) setup += "Model=" + options.model;
    if (!setup.empty()) add("DriverSetup=" + setup);
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
