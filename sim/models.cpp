#include "zpv4870sim/models.h"

#include <algorithm>

namespace zpv::sim {

namespace {

constexpr ModelInfo kModels[] = {
    {"ZPV-4803-Advanced", Family::Advanced}, {"ZPV-4809-Advanced", Family::Advanced},
    {"ZPV-4816-Advanced", Family::Advanced}, {"ZPV-4824-Advanced", Family::Advanced},
    {"ZPV-4832-Advanced", Family::Advanced}, {"ZPV-4848-Advanced", Family::Advanced},
    {"ZPV-4803-Standard", Family::Standard}, {"ZPV-4809-Standard", Family::Standard},
    {"ZPV-4816-Standard", Family::Standard}, {"ZPV-4824-Standard", Family::Standard},
    {"ZPV-4832-Standard", Family::Standard}, {"ZPV-4848-Standard", Family::Standard},
};

}  // namespace

std::span<const ModelInfo> Models() { return kModels; }

std::optional<Family> FamilyOf(std::string_view model) {
    const auto* it = std::find_if(std::begin(kModels), std::end(kModels),
                                  [&](const ModelInfo& info) { return info.name == model; });
    if (it == std::end(kModels)) return std::nullopt;
    return it->family;
}

}  // namespace zpv::sim
