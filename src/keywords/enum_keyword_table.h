// One keyword table of one enumeration: the keyword sent for each value, and the value of every
// keyword a response may carry. Keywords compare exactly (case-sensitive).
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "keywords/enum_keyword_tables.h"
#include "keywords/text_keys.h"

namespace zpv::keywords {

class CEnumKeywordTable {
public:
    // models: "" for all models, else a model name or a family ("Standard", "Advanced"). Rows
    // apply in order; a keyword listed twice belongs to the later row.
    CEnumKeywordTable(std::string models, std::span<const KeywordRow> rows);

    const std::string& models() const { return models_; }
    bool ToCommand(LONG value, std::string_view* keyword) const;
    bool FromCommand(std::string_view keyword, LONG* value) const;
    std::size_t LongestKeyword() const { return longest_; }

private:
    std::string models_;
    std::unordered_map<LONG, std::string> keywords_;
    std::unordered_map<std::string, LONG, TextHash, std::equal_to<>> values_;
    std::size_t longest_ = 0;
};

}  // namespace zpv::keywords
