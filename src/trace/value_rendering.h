// How a value of each parameter type appears in a trace: its text and its data type name.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>

#include "platform/com/text_conversion.h"
#include "trace/parameter_record.h"
#include "zpv4870_runtime.h"

namespace zpv::trace {

namespace rendering {

void RenderText(BSTR text, IValueWriter& out);
void RenderArray(const SAFEARRAY* array, IValueWriter& out);

template <class T>
std::string Decimal(T value) {
    return std::to_string(value);
}

inline std::string Real(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

}  // namespace rendering

// Renders the value at p, of type T.
template <class T>
void RenderValue(const void* p, IValueWriter& out) {
    const T& v = *static_cast<const T*>(p);
    using rendering::Decimal;
    if constexpr (std::is_same_v<T, double>) out.Scalar(rendering::Real(v), "Double");
    else if constexpr (std::is_same_v<T, float>) out.Scalar(rendering::Real(v), "Single");
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>) out.Scalar(v ? "true" : "false", "Boolean");
    else if constexpr (std::is_same_v<T, BSTR>) rendering::RenderText(v, out);
    else if constexpr (std::is_same_v<T, SAFEARRAY>) rendering::RenderArray(&v, out);
    else if constexpr (std::is_same_v<T, SAFEARRAY*>) rendering::RenderArray(v, out);
    else if constexpr (std::is_same_v<T, VARIANT>) out.Scalar("(variant)", "VARIANT");
    else if constexpr (std::is_enum_v<T>) out.Scalar(Decimal(static_cast<std::int32_t>(v)), "Int32");
    else if constexpr (std::is_same_v<T, std::int32_t>) out.Scalar(Decimal(v), "Int32");
    else if constexpr (std::is_same_v<T, std::uint32_t>) out.Scalar(Decimal(v), "UInt32");
    else if constexpr (std::is_same_v<T, std::uint16_t>) out.Scalar(Decimal(v), "UInt16");
    else if constexpr (std::is_same_v<T, std::uint8_t>) out.Scalar(Decimal(v), "Byte");
    else if constexpr (std::is_same_v<T, char>) out.Scalar(Decimal(static_cast<int>(v)), "Char");
    else if constexpr (std::is_same_v<T, std::int64_t>) out.Scalar(Decimal(v), "Int64");
    else if constexpr (std::is_same_v<T, std::uint64_t>) out.Scalar(Decimal(v), "UInt64");
    else if constexpr (std::is_pointer_v<T> && std::is_base_of_v<IUnknown, std::remove_pointer_t<T>>)
        out.Scalar(v ? "(interface)" : "(null)", "IUnknown");
    else out.Scalar("(unknown)", "(unknown)");
}

}  // namespace zpv::trace
