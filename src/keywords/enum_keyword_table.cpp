#include "keywords/enum_keyword_table.h"

#include <algorithm>

namespace zpv::keywords {

CEnumKeywordTable::CEnumKeywordTable(std::string models, std::span<const KeywordRow> rows)
    : models_(std::move(models)) {
    for (const KeywordRow& row : rows) {
        keywords_.insert_or_assign(row.value, row.sends);
        for (const char* keyword : {row.sends, row.alsoAccepted}) {
            if (!keyword) continue;
            values_.insert_or_assign(keyword, row.value);
            longest_ = std::max(longest_, std::string_view(keyword).size());
        }
    }
}

bool CEnumKeywordTable::ToCommand(LONG value, std::string_view* keyword) const {
    const auto it = keywords_.find(value);
    if (it == keywords_.end()) return false;
    *keyword = it->second;
    return true;
}

bool CEnumKeywordTable::FromCommand(std::string_view keyword, LONG* value) const {
    const auto it = values_.find(keyword);
    if (it == values_.end()) return false;
    *value = it->second;
    return true;
}

}  // namespace zpv::keywords
