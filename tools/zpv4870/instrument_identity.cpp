#include "instrument_identity.h"

namespace zpv::cli {

namespace {

// The serial number is only in the instrument's own identity string; simulation has none.
std::string SerialNumber(const CSession& session) {
    const ViByte query[] = {'*', 'I', 'D', 'N', '?', '\n'};
    ViInt32 count = 0;
    ViByte answer[512];
    if (ZPV4870_viWrite(session.Handle(), query, sizeof query, &count) < VI_SUCCESS ||
        ZPV4870_viRead(session.Handle(), answer, sizeof answer, &count) < VI_SUCCESS)
        return "";
    const std::string identity(reinterpret_cast<char*>(answer), static_cast<std::size_t>(count));
    const auto first = identity.find(',');
    const auto second = first == std::string::npos ? first : identity.find(',', first + 1);
    const auto third = second == std::string::npos ? second : identity.find(',', second + 1);
    return third == std::string::npos ? "" : identity.substr(second + 1, third - second - 1);
}

}  // namespace

std::string TextAttribute(const CSession& session, ViAttr id, const char* what) {
    return session.Text(what, [&](ViInt32 size, char* buffer) {
        return ZPV4870_GetAttributeViString(session.Handle(), nullptr, id, size, buffer);
    });
}

std::vector<std::pair<std::string, std::string>> IdentityFields(const CSession& session) {
    return {{"manufacturer", TextAttribute(session, ZPV4870_ATTR_INSTRUMENT_MANUFACTURER, "reading the manufacturer")},
            {"model", TextAttribute(session, ZPV4870_ATTR_INSTRUMENT_MODEL, "reading the model")},
            {"serial", SerialNumber(session)},
            {"firmware",
             TextAttribute(session, ZPV4870_ATTR_INSTRUMENT_FIRMWARE_REVISION, "reading the firmware revision")},
            {"driver", TextAttribute(session, ZPV4870_ATTR_SPECIFIC_DRIVER_REVISION, "reading the driver revision")}};
}

}  // namespace zpv::cli
