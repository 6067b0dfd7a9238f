// Finds the keyword converter for the enumeration a "%{Name}s" specifier names.
#pragma once

#include <string_view>

#include "keywords/enum_command_converter.h"

namespace zpv::keywords {

class IEnumFormatter {
public:
    // context is the call in progress ("IZPV4870ManualMode.Range"), empty between calls. Null
    // when the name or the context selects no converter. The converter lives as long as the
    // formatter.
    virtual const IEnumCommandConverter* Resolve(std::string_view name, std::string_view context) const = 0;

protected:
    ~IEnumFormatter() = default;
};

}  // namespace zpv::keywords
