// One parameter of a traced call, as the method frame hands it over: its name, direction and a
// pointer to its value with the function that renders a value of its type. Nothing is copied or
// rendered unless a record is actually written.
#pragma once

#include <cstddef>
#include <string_view>

namespace zpv::trace {

enum class Direction : int { In = 0, Out = 1, InOut = 2 };

// Where a rendered value goes: the attributes of a "Parameter" element and its "Element" children.
class IValueWriter {
public:
    virtual void Scalar(std::string_view value, std::string_view dataType) = 0;
    // An absent array (NumDims 0 and nothing else).
    virtual void AbsentArray() = 0;
    // An array's shape; returns how many of its elements (of a one-dimensional array) to render.
    virtual std::size_t Array(std::size_t numDims, std::string_view dimSizes, std::string_view dataType,
                              std::size_t elementCount) = 0;
    virtual void Element(std::string_view value, std::string_view dataType) = 0;

protected:
    ~IValueWriter() = default;
};

using ValueRenderer = void (*)(const void* value, IValueWriter& out);

struct ParameterRecord {
    const char* name;
    Direction direction;
    const void* value;  // the parameter, or for out-pointers the pointee
    ValueRenderer render;
};

// A call's records take at most this many parameters; later ones are not traced.
inline constexpr std::size_t kMaxTracedParameters = 25;

}  // namespace zpv::trace
