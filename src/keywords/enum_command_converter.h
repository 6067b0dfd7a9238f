// Turns the values of one enumeration into instrument keywords and back, for the call context it
// was resolved for.
#pragma once

#include <cstddef>
#include <string_view>

#include "zpv4870_runtime.h"

namespace zpv::keywords {

class IEnumCommandConverter {
public:
    // The keyword sent for value on model; false when the value has none.
    virtual bool ToCommand(std::string_view model, LONG value, std::string_view* keyword) const = 0;
    // The value of a response keyword; white space at both ends is ignored, letter case is not.
    virtual bool FromCommand(std::string_view model, std::string_view response, LONG* value) const = 0;
    // The longest keyword any response may carry.
    virtual std::size_t MaxLength() const = 0;

protected:
    ~IEnumCommandConverter() = default;
};

}  // namespace zpv::keywords
