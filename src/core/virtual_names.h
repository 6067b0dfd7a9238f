// The virtual names of a driver session: plain names ("Main" -> "OutputPhase1") and ranges
// ("Phase" 1..3 from 5 onto "OutputPhase": Phase1 -> OutputPhase5, ...). A range is kept as one
// rule and matched by arithmetic, so its width costs nothing, whatever the store says.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zpv::driver {

class VirtualNameTable {
public:
    void Clear();
    void Add(std::string_view virtualName, std::string_view mapped);
    // False when the range's numbers do not fit a 64-bit index (min > max, or the mapped end
    // overflows); nothing is added then.
    bool AddRange(std::string_view virtualName, std::string_view mapped, std::int64_t min, std::int64_t max,
                  std::int64_t start);

    // The mapped name of a virtual name in any letter case; nullopt when it is none.
    std::optional<std::string> Resolve(std::string_view name) const;
    // The virtual name that maps to a physical name, given plain or as "Cap!!Physical", in the
    // case the store spells it; nullopt when none does.
    std::optional<std::string> VirtualNameOf(std::string_view repCapName, std::string_view physicalName) const;

private:
    struct Range {
        std::string name, lowerName, mapped, lowerMapped;
        std::int64_t min, max, start;
    };
    std::unordered_map<std::string, std::string> forward_;  // lower-cased virtual name -> mapped name
    std::unordered_map<std::string, std::string> reverse_;  // lower-cased mapped name -> virtual name
    std::vector<Range> ranges_;
};

}  // namespace zpv::driver
