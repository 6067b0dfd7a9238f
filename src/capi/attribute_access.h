// One reader and one writer per property, generated from the property's get_/put_ member: the
// C value is converted to and from the property's own type here and nowhere else.
#pragma once

#include <type_traits>
#include <vector>

#include "capi/attribute_table.h"
#include "capi/copy_out.h"
#include "capi/driver_lookup.h"
#include "capi/rep_cap_selector.h"
#include "members/format_fit.h"

namespace zpv::capi {

// The property type of a get_ member (HRESULT (Base::*)(T*)) and of a put_ member (HRESULT (Base::*)(T)).
// Base may be a base of the row's interface, which declares the property for several groups.
template <class Member>
struct GetterTraits;
template <class Base, class T>
struct GetterTraits<HRESULT (Base::*)(T*)> {
    using Value = T;
};
template <class Member>
struct PutterTraits;
template <class Base, class T>
struct PutterTraits<HRESULT (Base::*)(T)> {
    using Value = T;
};

// The C type of a property of type T.
template <class T>
constexpr ValueType ValueTypeOf() {
    if constexpr (std::is_same_v<T, double>) return ValueType::Real64;
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>) return ValueType::Boolean;
    else if constexpr (std::is_same_v<T, BSTR>) return ValueType::String;
    else {
        static_assert(std::is_same_v<T, LONG> || std::is_enum_v<T>, "a property type without a C type");
        return ValueType::Int32;
    }
}

// The enumeration a property of type T carries, by its name; empty for other types.
template <class T>
constexpr std::string_view EnumNameOf() {
    if constexpr (std::is_enum_v<T>) return members::format_fit::TypeName<T>();
    else return {};
}

// The phase objects a channel name selects, as interface I: all of them (allowMulti) or the first.
template <class I>
ViStatus SelectPhases(ViSession vi, ViConstString channel, bool allowMulti, std::vector<CComPtr<I>>& phases) {
    CComPtr<IIviACPwrOutputPhases> collection;
    if (const ViStatus status = FindInterface(vi, collection); status != VI_SUCCESS) return status;
    const ViStatus status = repcap::ResolveSelector<I>(vi, collection, channel, allowMulti, phases);
    if (status < VI_SUCCESS) return status;
    if (!allowMulti && phases.size() > 1) phases.resize(1);
    return VI_SUCCESS;
}

template <class I, bool PerPhase>
ViStatus TargetOf(ViSession vi, ViConstString channel, CComPtr<I>& target) {
    if constexpr (PerPhase) {
        std::vector<CComPtr<I>> phases;
        if (const ViStatus status = SelectPhases(vi, channel, false, phases); status != VI_SUCCESS) return status;
        target = phases.front();
        return VI_SUCCESS;
    } else {
        return FindInterface(vi, target);
    }
}

template <class I, auto Getter, bool PerPhase>
ViStatus ReadProperty(ViSession vi, ViConstString channel, void* out, ViInt32 bufferSize) {
    using T = typename GetterTraits<decltype(Getter)>::Value;
    if constexpr (!std::is_same_v<T, BSTR>) {
        if (!out) return NullParameter(vi, "AttributeValue");
    }
    CComPtr<I> target;
    if (const ViStatus status = TargetOf<I, PerPhase>(vi, channel, target); status != VI_SUCCESS) return status;
    if constexpr (std::is_same_v<T, BSTR>) {
        CComBSTR value;
        const HRESULT hr = (static_cast<I*>(target.Get())->*Getter)(&value);
        const ViStatus status = ToStatus(vi, hr);
        if (FAILED(hr)) return status;
        return TextResult(status, CopyOut(value, bufferSize, static_cast<char*>(out)));
    } else {
        T value{};
        const HRESULT hr = (static_cast<I*>(target.Get())->*Getter)(&value);
        const ViStatus status = ToStatus(vi, hr);
        if (FAILED(hr)) return status;
        if constexpr (std::is_same_v<T, VARIANT_BOOL>) *static_cast<ViBoolean*>(out) = value ? VI_TRUE : VI_FALSE;
        else if constexpr (std::is_same_v<T, double>) *static_cast<ViReal64*>(out) = value;
        else *static_cast<ViInt32*>(out) = static_cast<ViInt32>(value);
        return status;
    }
}

// The property value for the C value at in.
template <class T>
auto PropertyValue(const void* in) {
    if constexpr (std::is_same_v<T, VARIANT_BOOL>) return *static_cast<const ViBoolean*>(in) ? VARIANT_TRUE : VARIANT_FALSE;
    else if constexpr (std::is_same_v<T, double>) return *static_cast<const ViReal64*>(in);
    else if constexpr (std::is_same_v<T, BSTR>) {
        const char* text = *static_cast<const ViConstString*>(in);
        CComBSTR value;
        if (text) value.Attach(com::AllocBstr(std::string_view(text)));
        return value;
    } else return static_cast<T>(*static_cast<const ViInt32*>(in));
}

template <class I, auto Putter, bool PerPhase>
ViStatus WriteProperty(ViSession vi, ViConstString channel, const void* in) {
    const auto value = PropertyValue<typename PutterTraits<decltype(Putter)>::Value>(in);
    if constexpr (PerPhase) {
        std::vector<CComPtr<I>> phases;
        if (const ViStatus status = SelectPhases(vi, channel, true, phases); status != VI_SUCCESS) return status;
        // In selector order; the first phase that does not succeed ends the loop.
        for (const CComPtr<I>& phase : phases)
            if (const ViStatus status = ToStatus(vi, (phase.Get()->*Putter)(value)); status != VI_SUCCESS) return status;
        return VI_SUCCESS;
    } else {
        CComPtr<I> target;
        if (const ViStatus status = FindInterface(vi, target); status != VI_SUCCESS) return status;
        return ToStatus(vi, (target.Get()->*Putter)(value));
    }
}

}  // namespace zpv::capi
