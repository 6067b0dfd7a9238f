#include "keywords/model_table.h"

#include <string>
#include <unordered_map>

namespace zpv::driver {

namespace {

struct ModelRow {
    const char* model;
    const char* family;
};

constexpr ModelRow kModels[] = {
    {"ZPV-4803-Advanced", "Advanced"}, {"ZPV-4809-Advanced", "Advanced"}, {"ZPV-4816-Advanced", "Advanced"},
    {"ZPV-4824-Advanced", "Advanced"}, {"ZPV-4832-Advanced", "Advanced"}, {"ZPV-4848-Advanced", "Advanced"},
    {"ZPV-4803-Standard", "Standard"}, {"ZPV-4809-Standard", "Standard"}, {"ZPV-4816-Standard", "Standard"},
    {"ZPV-4824-Standard", "Standard"}, {"ZPV-4832-Standard", "Standard"}, {"ZPV-4848-Standard", "Standard"},
};

}  // namespace

std::string_view FamilyOfModel(std::string_view model) {
    static const std::unordered_map<std::string_view, std::string_view> table = [] {
        std::unordered_map<std::string_view, std::string_view> map;
        for (const ModelRow& row : kModels) map.emplace(row.model, row.family);
        return map;
    }();
    auto it = table.find(model);
    return it == table.end() ? std::string_view() : it->second;
}

}  // namespace zpv::driver
