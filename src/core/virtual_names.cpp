#include "core/virtual_names.h"

#include <charconv>
#include <limits>

#include "core/option_string.h"

namespace zpv::driver {

namespace {

constexpr std::string_view kPhysicalSeparator = "!!";

// The index a name carries after prefix, written as "%d" writes it (no sign but '-', no leading
// zeros); nullopt when the rest of the name is not such a number.
std::optional<std::int64_t> IndexAfter(std::string_view lowerName, std::string_view lowerPrefix) {
    if (lowerName.size() <= lowerPrefix.size() || lowerName.substr(0, lowerPrefix.size()) != lowerPrefix)
        return std::nullopt;
    const std::string_view digits = lowerName.substr(lowerPrefix.size());
    const std::string_view magnitude = digits.front() == '-' ? digits.substr(1) : digits;
    if (magnitude.empty() || (magnitude.front() == '0' && digits.size() > 1)) return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

}  // namespace

void VirtualNameTable::Clear() {
    forward_.clear();
    reverse_.clear();
    ranges_.clear();
}

void VirtualNameTable::Add(std::string_view virtualName, std::string_view mapped) {
    forward_[ToLower(virtualName)] = std::string(mapped);
    // The first virtual name of a phase is the one its index shows.
    reverse_.emplace(ToLower(mapped), std::string(virtualName));
}

bool VirtualNameTable::AddRange(std::string_view virtualName, std::string_view mapped, std::int64_t min,
                                std::int64_t max, std::int64_t start) {
    if (min > max) return false;
    const __int128 end = static_cast<__int128>(start) + (static_cast<__int128>(max) - min);
    if (end > std::numeric_limits<std::int64_t>::max()) return false;
    ranges_.push_back({std::string(virtualName), ToLower(virtualName), std::string(mapped), ToLower(mapped), min, max,
                       start});
    return true;
}

std::optional<std::string> VirtualNameTable::Resolve(std::string_view name) const {
    const std::string lower = ToLower(name);
    if (auto it = forward_.find(lower); it != forward_.end()) return it->second;
    for (const Range& r : ranges_) {
        const auto index = IndexAfter(lower, r.lowerName);
        if (!index || *index < r.min || *index > r.max) continue;
        const auto physical = static_cast<std::int64_t>(static_cast<__int128>(r.start) + (static_cast<__int128>(*index) - r.min));
        return r.mapped + std::to_string(physical);
    }
    return std::nullopt;
}

std::optional<std::string> VirtualNameTable::VirtualNameOf(std::string_view repCapName,
                                                           std::string_view physicalName) const {
    std::string qualified(repCapName);
    qualified.append(kPhysicalSeparator).append(physicalName);
    for (const std::string& mapped : {ToLower(qualified), ToLower(physicalName)}) {
        if (auto it = reverse_.find(mapped); it != reverse_.end()) return it->second;
        for (const Range& r : ranges_) {
            const auto index = IndexAfter(mapped, r.lowerMapped);
            if (!index || *index < r.start ||
                static_cast<__int128>(*index) - r.start > static_cast<__int128>(r.max) - r.min)
                continue;
            const __int128 virtualIndex = static_cast<__int128>(r.min) + (static_cast<__int128>(*index) - r.start);
            return r.name + std::to_string(static_cast<std::int64_t>(virtualIndex));
        }
    }
    return std::nullopt;
}

}  // namespace zpv::driver
