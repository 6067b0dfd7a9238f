#include "setting_values.h"

#include "parameter_type.h"

namespace zpv::sim {

SettingValues::SettingValues(Scope scope) {
    for (const CommandRow& row : CommandTable::Instance().Rows())
        if (row.scope == scope) values_.emplace(&row, row.defaultValue);
}

const std::string& SettingValues::Get(std::string_view header) const {
    return values_.at(CommandTable::Instance().Find(header));
}

double SettingValues::Number(std::string_view header) const { return ParseDecimal(Get(header)).value_or(0); }

}  // namespace zpv::sim
