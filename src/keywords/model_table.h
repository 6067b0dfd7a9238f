// The twelve instrument models and their feature level ("Standard" or "Advanced").
#pragma once

#include <string_view>

namespace zpv::driver {

// The family of a model, or empty when the model is not one of ours (exact, case-sensitive).
std::string_view FamilyOfModel(std::string_view model);
inline bool IsModelSupported(std::string_view model) { return !FamilyOfModel(model).empty(); }

}  // namespace zpv::driver
