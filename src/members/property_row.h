// One declarative row per member of the command set, and the one implementation per member kind
// that runs every row inside the method frame: model check, range check, simulated value store,
// then the instrument (or, for class-compliant members, "not implemented" outside simulation).
#pragma once

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <string_view>
#include <type_traits>

#include "members/instrument_exchange.h"
#include "core/driver.h"
#include "core/method_frame.h"
#include "core/range_check.h"
#include "keywords/model_table.h"
#include "core/rep_cap.h"

namespace zpv::members {

// Default of a stored value: strings are given as wide text.
template <class T>
using DefaultOf = std::conditional_t<std::is_same_v<T, BSTR>, const wchar_t*, T>;

// The bounds a value is checked against on put (while RangeCheck is on), inclusive; none when
// left out of the row.
struct ValueRange {
    double min = std::numeric_limits<double>::quiet_NaN();
    double max = std::numeric_limits<double>::quiet_NaN();
    bool Known() const { return !std::isnan(min); }
};

// The C interface's attribute of a property: its identifier's name after "ZPV4870_ATTR_" and its
// number (the public header's attribute block is generated from these).
struct CAttribute {
    const char* name = nullptr;  // "SYSTEM_ALARM"
    long id = 0;                 // 1150102; 0: the property is no attribute of the C interface
};

// The named columns of a property row, written after its commands with designated initializers
// in this order, each one optional:
//   X(SETTING, I, double, Time, "STEP:TIME", .stored = true, .family = kNotStandard, .unit = "per TimeUnit")
//   X(QUERY, I, BSTR, All, "MEAS:ALL?", "%$Bs", .readings = true)
//   X(SETTING, I, LONG, Count, "STEP:COUN", .stored = true, .attribute = {"STEP_MODE_COUNT", 1150087})
// A swapped pair does not build (designators must follow the declaration order).
template <class T>
struct Columns {
    bool stored = false;                // keeps a simulated value (key "<Interface>.<Name>")
    DefaultOf<T> initial{};             // the simulated value before the first put
    const char* family = nullptr;       // "Standard" or "Advanced": models of it lack the member
    const char* unit = nullptr;         // "V", "Hz", "per TimeUnit": shown by the tools
    ValueRange range{};                 // numbers: the values a put accepts
    bool (*check)(const T&) = nullptr;  // a check that is not a range (names)
    bool readings = false;              // queries: the result is the list of all readings
    CAttribute attribute{};             // the C attribute, where the property is one

    // Whether a put of value passes the row's range and check.
    bool Accepts(const T& value) const {
        if constexpr (std::is_arithmetic_v<T>) {
            if (range.Known()) {
                if constexpr (std::is_floating_point_v<T>) {
                    if (!driver::InRange(value, range.min, range.max)) return false;
                } else if (!driver::InRange(static_cast<long>(value), static_cast<long>(range.min),
                                            static_cast<long>(range.max))) {
                    return false;
                }
            }
        }
        return !check || check(value);
    }
};

template <class T>
struct PropertySpec {
    const IID& iid;
    const char* interfaceName;
    const char* property;  // "VoltageLevel": also the name in messages and the key
    Access access;
    const char* key;       // "IIviACPwrOutputPhase.VoltageLevel": the simulated value's key
    const char* getCommand = nullptr;   // "OUTP:VOLT:AC?"
    const char* getResponse = nullptr;  // "%lg"
    const char* putCommand = nullptr;   // "OUTP:VOLT:AC %0.15lg"
    bool zeroWhileSimulating = false;   // a getter with no stored value that answers 0 without I/O
    Columns<T> columns{};

    const char* SimulatedKey() const { return columns.stored ? key : nullptr; }
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

// A method: an action with inputs, or a query with one result.
struct MethodSpec {
    const IID& iid;
    const char* interfaceName;
    const char* method;  // "Configure"
    Access access;
    const char* command = nullptr;        // "MAN:CURR:HIGH %0.15lg;DEL %0.15lg"
    const char* response = nullptr;       // queries: "%lg"
    const char* refusedFamily = nullptr;
    const char* unit = nullptr;           // queries: the result's unit
};

struct MethodRow {
    explicit MethodRow(const MethodSpec& s) : spec(s), info(s.iid, s.interfaceName, s.method) {}
    MethodSpec spec;
    driver::MethodInfo info;
};

inline driver::CDriver& DriverOf(driver::CDriver& driver) { return driver; }
inline driver::CDriver& DriverOf(repcap::CRepCap& node) { return node.Root(); }

namespace detail {

inline HRESULT CheckModel(driver::CDriver& driver, const char* refusedFamily, std::string_view member) {
    if (refusedFamily && driver::FamilyOfModel(driver.ModelName()) == refusedFamily)
        return driver.Reporter().Report<errors::MessageId::ModelNotSupported>({}, member);
    return S_OK;
}

template <class T>
HRESULT ReportOutOfRange(driver::CDriver& driver, const std::string& member, const T& value) {
    auto& reporter = driver.Reporter();
    if constexpr (std::is_floating_point_v<T>)
        return reporter.ReportInvalidReal(member, "val", value, "%0.15lg");
    else if constexpr (std::is_same_v<T, BSTR>)
        return reporter.ReportInvalidAutomationText(member, "val", value);
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>)
        return reporter.ReportInvalidBoolean(member, "val", value != VARIANT_FALSE);
    else
        return reporter.ReportInvalidInteger(member, "val", static_cast<long>(value), "%d");
}

}  // namespace detail

template <class Node, class T>
HRESULT GetProperty(Node& node, const PropertyRow<T>& row, T* val) {
    return driver::RunFrame(node, row.getInfo, driver::Gate::Initialized, [&]() -> HRESULT {
        driver::CDriver& driver = DriverOf(node);
        const PropertySpec<T>& spec = row.spec;
        if (HRESULT hr = detail::CheckModel(driver, spec.columns.family, row.getName); FAILED(hr)) return hr;
        if (driver.IsSimulating()) {
            if (spec.columns.stored) {
                *val = node.SimulatedValues().template Get<T>(spec.key, spec.columns.initial);
                return S_OK;
            }
            if (spec.zeroWhileSimulating || spec.access == Access::ClassCompliant) return S_OK;
        }
        if (spec.access == Access::ClassCompliant) return E_NOTIMPL;
        return Query(driver, row.getInfo, spec.getCommand, spec.getResponse, val);
    }, driver::RetVal(val));
}

template <class Node, class T>
HRESULT PutProperty(Node& node, const PropertyRow<T>& row, T val) {
    return driver::RunFrame(node, row.putInfo, driver::Gate::Initialized, [&]() -> HRESULT {
        driver::CDriver& driver = DriverOf(node);
        const PropertySpec<T>& spec = row.spec;
        if (HRESULT hr = detail::CheckModel(driver, spec.columns.family, row.putName); FAILED(hr)) return hr;
        if (driver.Options().rangeCheck && !spec.columns.Accepts(val))
            return detail::ReportOutOfRange(driver, row.putName, val);
        if (driver.IsSimulating() && spec.columns.stored) {
            node.SimulatedValues().template Put<T>(spec.key, val);
            return S_OK;
        }
        if (spec.access == Access::ClassCompliant) return E_NOTIMPL;
        return Send(driver, row.putInfo, spec.putCommand, val);
    }, driver::In(val, "val"));
}

// A query method with one result ("Val").
template <class Node, class T>
HRESULT RunQuery(Node& node, const MethodRow& row, T* result) {
    return driver::RunFrame(node, row.info, driver::Gate::Initialized, [&]() -> HRESULT {
        driver::CDriver& driver = DriverOf(node);
        if (HRESULT hr = detail::CheckModel(driver, row.spec.refusedFamily, row.spec.method); FAILED(hr)) return hr;
        if (row.spec.access == Access::ClassCompliant) return E_NOTIMPL;
        return Query(driver, row.info, row.spec.command, row.spec.response, result);
    }, driver::RetVal(result, "Val"));
}

// An action: the command formatted with the inputs it sends; params are all its parameters.
template <class Node, class... Args, class... Params>
HRESULT RunAction(Node& node, const MethodRow& row, std::tuple<Args...> sent, driver::FrameParam<Params>... params) {
    return driver::RunFrame(node, row.info, driver::Gate::Initialized, [&]() -> HRESULT {
        driver::CDriver& driver = DriverOf(node);
        if (HRESULT hr = detail::CheckModel(driver, row.spec.refusedFamily, row.spec.method); FAILED(hr)) return hr;
        if (row.spec.access == Access::ClassCompliant) return E_NOTIMPL;
        return std::apply([&](const auto&... inputs) { return Send(driver, row.info, row.spec.command, inputs...); },
                          sent);
    }, params...);
}

// A class-compliant action: checked by the frame, then not implemented, simulating or not.
template <class Node, class... Params>
HRESULT NotImplemented(Node& node, const MethodRow& row, driver::FrameParam<Params>... params) {
    return driver::RunFrame(node, row.info, driver::Gate::Initialized, [] { return E_NOTIMPL; }, params...);
}

// A getter that hands out another interface of the same object (method "get_File" and the like).
template <class Node, class Group>
HRESULT GetGroup(Node& node, const MethodRow& row, Group** val) {
    return driver::RunFrame(node, row.info, driver::Gate::Always, [&]() -> HRESULT {
        if (HRESULT hr = detail::CheckModel(DriverOf(node), row.spec.refusedFamily, row.spec.method); FAILED(hr))
            return hr;
        return node.GetInterface(val);
    }, driver::RetVal(val));
}

}  // namespace zpv::members
