#include "platform/ivi/text_buffer.h"

#include <cstring>
#include <limits>

namespace zpv::ivi {

ViInt32 CopyOutText(std::string_view text, ViInt32 bufferSize, char* buffer) {
    const auto needed = static_cast<ViInt32>(
        std::min<std::size_t>(text.size() + 1, static_cast<std::size_t>(std::numeric_limits<ViInt32>::max())));
    if (!buffer || bufferSize == 0) return needed;
    if (bufferSize < 0 || needed <= bufferSize) {
        if (!text.empty()) std::memcpy(buffer, text.data(), text.size());  // an empty view may have no data
        buffer[text.size()] = '\0';
        return 0;
    }
    if (bufferSize > 1) std::memcpy(buffer, text.data(), static_cast<std::size_t>(bufferSize - 1));
    buffer[bufferSize - 1] = '\0';
    return needed;
}

}  // namespace zpv::ivi
