// The converter of one enumeration in one call context: its keyword tables filed by the models
// they are declared for. A lookup takes the table of the exact model, then that of the model's
// family, then the one declared for all models.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "keywords/enum_command_converter.h"
#include "keywords/enum_keyword_table.h"
#include "keywords/text_keys.h"

namespace zpv::keywords {

class CModelBasedEnumConverter final : public IEnumCommandConverter {
public:
    explicit CModelBasedEnumConverter(std::vector<CEnumKeywordTable> tables);

    bool ToCommand(std::string_view model, LONG value, std::string_view* keyword) const override;
    bool FromCommand(std::string_view model, std::string_view response, LONG* value) const override;
    std::size_t MaxLength() const override { return maxLength_; }

private:
    const CEnumKeywordTable* TableFor(std::string_view model) const;

    const CEnumKeywordTable* Find(std::string_view models) const;

    std::unordered_map<std::string, CEnumKeywordTable, TextHash, std::equal_to<>> byModels_;
    std::size_t maxLength_ = 0;
};

}  // namespace zpv::keywords
