// How a member of the command set reaches the instrument: its command formatted with the member's
// arguments and sent, or sent as a query whose response is parsed into the result. The formatted
// I/O session takes C-style arguments; these adapt the members' types to them.
#pragma once

#include <type_traits>

#include "context/call_context.h"
#include "core/driver.h"

namespace zpv::members {

// Who answers a member outside simulation.
enum class Access {
    Instrument,      // the instrument, through the member's command and response formats
    ClassCompliant,  // nobody: E_NOTIMPL (getters without a stored value read zero when simulating)
};

namespace exchange_detail {

// An argument as the output engine reads it: enumerations and 16-bit booleans as int, strings as
// wide text, numbers as they are.
template <class T>
auto AsArgument(const T& value) {
    if constexpr (std::is_enum_v<T> || std::is_same_v<T, VARIANT_BOOL> || std::is_same_v<T, LONG>)
        return static_cast<int>(value);
    else if constexpr (std::is_same_v<T, BSTR>)
        return static_cast<const wchar_t*>(value ? value : L"");
    else
        return value;
}

// A destination as the input engine writes it: enumerations through their 32-bit value.
template <class T>
auto AsDestination(T* value) {
    if constexpr (std::is_enum_v<T>)
        return reinterpret_cast<LONG*>(value);
    else
        return value;
}

}  // namespace exchange_detail

template <class T>
HRESULT Query(driver::CDriver& driver, const driver::MethodInfo&, const char* command, const char* response,
              T* result) {
    static_assert(!std::is_enum_v<T> || sizeof(T) == sizeof(LONG));
    return driver.Io().Queryf(command, response, exchange_detail::AsDestination(result));
}

template <class... Args>
HRESULT Send(driver::CDriver& driver, const driver::MethodInfo&, const char* command, const Args&... args) {
    return driver.Io().Printf(command, exchange_detail::AsArgument(args)...);
}

}  // namespace zpv::members
