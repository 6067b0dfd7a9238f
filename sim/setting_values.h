// The values of the stored settings of one scope (the instrument, one mode file, one list sequence).
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "zpv4870sim/command_table.h"

namespace zpv::sim {

class SettingValues {
public:
    // Every setting of the scope at its value after *RST.
    explicit SettingValues(Scope scope);

    const std::string& Get(const CommandRow& row) const { return values_.at(&row); }
    // By header ("OUTP:VOLT:AC"); the row must belong to this scope.
    const std::string& Get(std::string_view header) const;
    // A numeric setting's value; 0 when it holds a keyword.
    double Number(std::string_view header) const;
    void Set(const CommandRow& row, std::string value) { values_.at(&row) = std::move(value); }

private:
    std::unordered_map<const CommandRow*, std::string> values_;
};

}  // namespace zpv::sim
