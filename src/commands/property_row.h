// One declarative row per property of the command set, and the one implementation that runs every
// row inside the method frame: model check, range check, simulated value store, then the
// instrument (or, for class-compliant members, "not implemented" outside simulation).
#pragma once

#include <string_view>
#include <type_traits>

#include "driver/driver.h"
#include "driver/method_frame.h"
#include "driver/model_table.h"
#include "repcap/rep_cap.h"

namespace zpv::commands {

// Who answers a member outside simulation.
enum class Access {
    Instrument,      // the instrument, through its command and response formats
    ClassCompliant,  // nobody: E_NOTIMPL (getters without a stored value return zero when simulating)
};

// Default of a stored value: strings are given as wide text.
template <class T>
using DefaultOf = std::conditional_t<std::is_same_v<T, BSTR>, const wchar_t*, T>;

template <class T>
struct PropertySpec {
    const IID& iid;
    const char* interfaceName;
    const char* property;      // "VoltageLevel"
    Access access;
    const char* simulatedKey;  // "IIviACPwrOutputPhase.VoltageLevel"; null: no stored value
    DefaultOf<T> simulatedDefault{};
    const char* getCommand = nullptr;   // "OUTP:VOLT:AC?"
    const char* getResponse = nullptr;  // "%lg"
    const char* putCommand = nullptr;   // "OUTP:VOLT:AC %0.15lg"
    const char* refusedFamily = nullptr;  // "Standard" or "Advanced": models of it lack the member
    bool (*inRange)(const T&) = nullptr;  // checked on put while RangeCheck is on
    const char* valueFormat = nullptr;    // how a refused value is shown ("%d", "%0.15lg")
};

template <class T>
struct PropertyRow {
    explicit PropertyRow(const PropertySpec<T>& s)
        : spec(s),
          getName(std::string("get_") + s.property),
          putName(std::string("put_") + s.property),
          getInfo(s.iid, s.interfaceName, getName.c_str()),
          putInfo(s.iid, s.interfaceName, putName.c_str()) {}

    PropertySpec<T> spec;
    std::string getName;
    std::string putName;
    driver::MethodInfo getInfo;
    driver::MethodInfo putInfo;
};

inline driver::CDriver& DriverOf(driver::CDriver& driver) { return driver; }
inline driver::CDriver& DriverOf(repcap::CRepCap& node) { return node.Root(); }

namespace detail {

template <class T>
HRESULT CheckModel(driver::CDriver& driver, const PropertySpec<T>& spec, const std::string& member) {
    if (spec.refusedFamily && driver::FamilyOfModel(driver.ModelName()) == spec.refusedFamily)
        return driver.Reporter().ReportModelNotSupported({}, member);
    return S_OK;
}

template <class T>
HRESULT ReportOutOfRange(driver::CDriver& driver, const std::string& member, const T& value, const char* format) {
    auto& reporter = driver.Reporter();
    if constexpr (std::is_floating_point_v<T>)
        return reporter.ReportInvalidReal(member, "val", value, format ? format : "%0.15lg");
    else if constexpr (std::is_same_v<T, BSTR>)
        return reporter.ReportInvalidAutomationText(member, "val", value);
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>)
        return reporter.ReportInvalidBoolean(member, "val", value != VARIANT_FALSE);
    else
        return reporter.ReportInvalidInteger(member, "val", static_cast<long>(value), format ? format : "%d");
}

}  // namespace detail

// The instrument side of a row: the command, and for a getter its response.
template <class Node, class T>
HRESULT InstrumentGet(Node& node, const PropertyRow<T>&, T*) {
    return DriverOf(node).Reporter().ReportNotInitialized();
}
template <class Node, class T>
HRESULT InstrumentPut(Node& node, const PropertyRow<T>&, const T&) {
    return DriverOf(node).Reporter().ReportNotInitialized();
}

template <class Node, class T>
HRESULT GetProperty(Node& node, const PropertyRow<T>& row, T* val) {
    return driver::RunFrame(node, row.getInfo, driver::Gate::Initialized, [&]() -> HRESULT {
        driver::CDriver& driver = DriverOf(node);
        const PropertySpec<T>& spec = row.spec;
        if (HRESULT hr = detail::CheckModel(driver, spec, row.getName); FAILED(hr)) return hr;
        if (driver.IsSimulating() && spec.simulatedKey) {
            *val = node.SimulatedValues().template Get<T>(spec.simulatedKey, spec.simulatedDefault);
            return S_OK;
        }
        if (spec.access == Access::ClassCompliant) return driver.IsSimulating() ? S_OK : E_NOTIMPL;
        return InstrumentGet(node, row, val);
    }, driver::RetVal(val));
}

template <class Node, class T>
HRESULT PutProperty(Node& node, const PropertyRow<T>& row, T val) {
    return driver::RunFrame(node, row.putInfo, driver::Gate::Initialized, [&]() -> HRESULT {
        driver::CDriver& driver = DriverOf(node);
        const PropertySpec<T>& spec = row.spec;
        if (HRESULT hr = detail::CheckModel(driver, spec, row.putName); FAILED(hr)) return hr;
        if (spec.inRange && driver.Options().rangeCheck && !spec.inRange(val))
            return detail::ReportOutOfRange(driver, row.putName, val, spec.valueFormat);
        if (driver.IsSimulating() && spec.simulatedKey) {
            node.SimulatedValues().template Put<T>(spec.simulatedKey, val);
            return S_OK;
        }
        if (spec.access == Access::ClassCompliant) return E_NOTIMPL;
        return InstrumentPut(node, row, val);
    });
}

}  // namespace zpv::commands
