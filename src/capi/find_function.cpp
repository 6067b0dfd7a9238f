// The C face of instrument discovery: the finder's result as tab-separated
// lines.
#include <string>

#include "capi/c_call.h"
#include "platform/ivi/text_buffer.h"
#include "platform/visa/instrument_finder.h"
#include "zpv4870_find.h"

using namespace zpv::capi;

namespace {

constexpr ViInt32 kKnownOptions = ZPV4870_FIND_LAN | ZPV4870_FIND_MDNS | ZPV4870_FIND_LOCAL;

// Fields come from instruments: a tab or line feed in one would split the line.
std::string Field(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

std::string Lines(const zpv::visa::FindResult& result) {
    std::string text;
    for (const auto& found : result.instruments) {
        text += "instrument";
        for (const std::string* field :
             {&found.address, &found.manufacturer, &found.model, &found.serial, &found.firmware, &found.problem})
            text += '\t' + Field(*field);
        for (const std::string& resource : found.resources) text += '\t' + Field(resource);
        text += '\n';
    }
    for (const std::string& note : result.notes) text += "note\t" + Field(note) + '\n';
    return text;
}

}  // namespace

extern "C" ViStatus zpv4870_find_instruments(ViReal64 timeoutSeconds, ViInt32 options, ViInt32 bufferSize,
                                             ViChar found[]) {
    return CCall(0, [&]() -> ViStatus {
        if (!(timeoutSeconds >= 0.01 && timeoutSeconds <= 60.0) || (options & ~kKnownOptions))
            return SetError(0, ZPV4870_ERROR_INVALID_VALUE,
                            "zpv4870_find_instruments wants a timeout from 0.01 to 60 s and "
                            "options of "
                            "ZPV4870_FIND_LAN, ZPV4870_FIND_MDNS and ZPV4870_FIND_LOCAL.");
        zpv::visa::FindOptions what;
        what.timeoutMs = static_cast<ViUInt32>(timeoutSeconds * 1000.0 + 0.5);
        what.lan = options & ZPV4870_FIND_LAN;
        what.mdns = options & ZPV4870_FIND_MDNS;
        what.local = options & ZPV4870_FIND_LOCAL;
        return zpv::ivi::CopyOutText(Lines(zpv::visa::FindInstruments(what)), bufferSize, found);
    });
}
