// What an enum lookup needs to know about the call in progress; the driver object provides it.
#pragma once

#include <string_view>

namespace zpv::io {

class IEnumLookupContext {
public:
    // "Interface.Member" of the call in progress without "get_"/"put_"; empty between calls.
    virtual std::string_view CurrentCallContext() const = 0;
    // The instrument model of the session ("ZPV-4832-Standard").
    virtual std::string_view InstrumentModel() const = 0;

protected:
    ~IEnumLookupContext() = default;
};

}  // namespace zpv::io
