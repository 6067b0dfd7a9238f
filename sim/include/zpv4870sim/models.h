// The twelve instrument models the simulator can be, and their feature level.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace zpv::sim {

enum class Family { Standard, Advanced };

inline constexpr std::string_view kManufacturer = "Kaltrix";  // the first field of *IDN?
inline constexpr std::string_view kDefaultModel = "ZPV-4803-Advanced";

struct ModelInfo {
    std::string_view name;
    Family family;
};

std::span<const ModelInfo> Models();

// The family of a model name (exact, case-sensitive), or nothing for a name that is not a model.
std::optional<Family> FamilyOf(std::string_view model);

}  // namespace zpv::sim
