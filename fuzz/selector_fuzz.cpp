// Any text a caller passes as a repeated capability selector: parsed paths or a selector error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "capi/rep_cap_selector.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (bool allowMulti : {false, true}) {
        zpv::repcap::CRepCapSelector selector(text.c_str());
        std::string name;
        if (selector.Parse(0, allowMulti) == 0) selector.GetName(0, allowMulti, 0, 0, name);
    }
    return 0;
}
