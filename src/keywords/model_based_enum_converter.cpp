#include "keywords/model_based_enum_converter.h"

#include <algorithm>
#include <cctype>

#include "keywords/model_table.h"

namespace zpv::keywords {

CModelBasedEnumConverter::CModelBasedEnumConverter(std::vector<CEnumKeywordTable> tables) {
    for (CEnumKeywordTable& table : tables) {
        maxLength_ = std::max(maxLength_, table.LongestKeyword());
        std::string models = table.models();
        byModels_.insert_or_assign(std::move(models), std::move(table));
    }
}

const CEnumKeywordTable* CModelBasedEnumConverter::Find(std::string_view models) const {
    const auto it = byModels_.find(models);
    return it == byModels_.end() ? nullptr : &it->second;
}

const CEnumKeywordTable* CModelBasedEnumConverter::TableFor(std::string_view model) const {
    if (!model.empty()) {
        if (const CEnumKeywordTable* table = Find(model)) return table;
        const std::string_view family = driver::FamilyOfModel(model);
        if (!family.empty())
            if (const CEnumKeywordTable* table = Find(family)) return table;
    }
    return Find({});
}

bool CModelBasedEnumConverter::ToCommand(std::string_view model, LONG value, std::string_view* keyword) const {
    const CEnumKeywordTable* table = TableFor(model);
    return table && keyword && table->ToCommand(value, keyword);
}

bool CModelBasedEnumConverter::FromCommand(std::string_view model, std::string_view response, LONG* value) const {
    auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!response.empty() && isSpace(response.front())) response.remove_prefix(1);
    while (!response.empty() && isSpace(response.back())) response.remove_suffix(1);
    const CEnumKeywordTable* table = TableFor(model);
    return table && value && table->FromCommand(response, value);
}

}  // namespace zpv::keywords
