// zpv4870/driver.hpp - the ZPV4870 driver for modern C++: values returned, std::string (UTF-8),
// scoped enumerations, errors that cannot be ignored, and objects that clean up.
//
//     zpv4870::Driver drv{"TCPIP0::192.168.1.20::5025::SOCKET", {.reset = true}};
//     drv.output_phases().phase(1).voltage_level(230.0);
//     double v = drv.output_phases().phase("OutputPhase1").voltage_level();
//     zpv4870::Readings r = drv.measure().all();
//
// Every call throws zpv4870::Error (IoError, TimeoutError, InvalidValue, NotSupportedByModel) with
// the driver's description as what(); each also has a try_ form returning zpv4870::Result<T>
// (std::expected<T, Error> where the compiler has it, an equivalent otherwise). The views are
// thin: they add no I/O and no allocation beyond the strings and vectors they return. The view
// classes (driver_members.hpp) are generated from the driver's member tables.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>
#if __has_include(<expected>)
#include <expected>
#endif

#include "ZPV4870.h"
#include "zpv4870_direct_read.h"
#include "driver_facts.hpp"

namespace zpv4870 {

// ---- errors -------------------------------------------------------------------------------------

// The driver's statuses as error codes (the values are the object interface's HRESULTs).
inline const std::error_category& category() noexcept {
    struct Category final : std::error_category {
        const char* name() const noexcept override { return "zpv4870"; }
        std::string message(int status) const override {
            char text[48];
            std::snprintf(text, sizeof text, "ZPV4870 driver status 0x%08X", static_cast<unsigned>(status));
            return text;
        }
    };
    static const Category instance;
    return instance;
}

class Error : public std::system_error {
public:
    Error(HRESULT status, std::string description)
        : std::system_error(static_cast<int>(status), category()), description_(std::move(description)) {}
    HRESULT status() const noexcept { return static_cast<HRESULT>(code().value()); }
    // The driver's description ("ZPV4870: ..."), or the status when it gave none.
    const char* what() const noexcept override { return description_.c_str(); }

private:
    std::string description_;
};
struct IoError : Error {
    using Error::Error;
};
struct TimeoutError : IoError {
    using IoError::IoError;
};
struct InvalidValue : Error {
    using Error::Error;
};
struct NotSupportedByModel : Error {
    using Error::Error;
};

// ---- results ------------------------------------------------------------------------------------

#if defined(__cpp_lib_expected) && __cpp_lib_expected >= 202202L
template <class T>
using Result = std::expected<T, Error>;
namespace detail {
inline std::unexpected<Error> Unexpected(Error e) { return std::unexpected<Error>(std::move(e)); }
}  // namespace detail
#else
namespace detail {
struct Unexpected {
    Error error;
};
}  // namespace detail
// What std::expected<T, Error> offers that callers use: a value or the error.
template <class T>
class Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(detail::Unexpected failure) : state_(std::move(failure.error)) {}
    bool has_value() const noexcept { return state_.index() == 0; }
    explicit operator bool() const noexcept { return has_value(); }
    T& value() & {
        if (!has_value()) throw std::get<1>(state_);
        return std::get<0>(state_);
    }
    const T& value() const& {
        if (!has_value()) throw std::get<1>(state_);
        return std::get<0>(state_);
    }
    T& operator*() { return std::get<0>(state_); }
    const T& operator*() const { return std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    const Error& error() const { return std::get<1>(state_); }

private:
    std::variant<T, Error> state_;
};
template <>
class Result<void> {
public:
    Result() = default;
    Result(detail::Unexpected failure) : error_(std::move(failure.error)) {}
    bool has_value() const noexcept { return !error_.has_value(); }
    explicit operator bool() const noexcept { return has_value(); }
    void value() const {
        if (error_) throw *error_;
    }
    const Error& error() const { return *error_; }

private:
    std::optional<Error> error_;
};
namespace detail {
inline Unexpected Unexpected(Error e) { return {std::move(e)}; }
}  // namespace detail
#endif

// The readings the instrument reports together (Measure.All, Result.GetAll), by name.

// ---- the machinery every view shares ------------------------------------------------------------

namespace detail {

// UTF-8 to wide text; an invalid sequence becomes U+FFFD.
inline std::wstring Wide(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        char32_t code = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
        bool valid = length > 0 && i + length <= utf8.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next >> 6) == 2;
            code = (code << 6) | (next & 0x3F);
        }
        out += valid && code <= 0x10FFFF ? static_cast<wchar_t>(code) : L'\uFFFD';
        i += valid ? length : 1;
    }
    return out;
}

inline std::string Utf8(const wchar_t* text, std::size_t length) {
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        auto code = static_cast<char32_t>(text[i]);
        if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

// "115,0,115,..." (kReadingCount numbers) as a record; another shape is an unexpected response.
inline Readings ParseReadings(const std::string& text) {
    double values[kReadingCount] = {};
    const char* p = text.c_str();
    std::size_t n = 0;
    for (; n < kReadingCount; ++n) {
        char* end = nullptr;
        values[n] = std::strtod(p, &end);
        if (end == p) break;
        p = end;
        if (*p == ',') ++p;
    }
    if (n != kReadingCount)
        throw Error(E_UNEXPECTED, "ZPV4870: Unexpected response from the instrument.\r\nExpected " +
                                      std::to_string(kReadingCount) + " numbers, received \"" + text + "\".");
    return ReadingsOf(values);
}

// The instrument's error queue, read until it is empty: "-224, Illegal parameter value; ...".
inline std::string InstrumentErrors(IIviDriverUtility* utility) {
    std::string errors;
    for (int n = 0; n < 32; ++n) {
        LONG code = 0;
        BSTR message = nullptr;
        const HRESULT status = utility->ErrorQuery(&code, &message);
        const std::string text = message ? Utf8(message, SysStringLen(message)) : std::string();
        SysFreeString(message);
        if (status < 0 || code == 0) break;
        errors += (errors.empty() ? "" : "; ") + std::to_string(code) + ", " + text;
    }
    return errors;
}

// The failure's exception, with the description the driver published for it. When the
// instrument refused the call (the status check found an error) and the driver's utility
// interface is at hand, the instrument's own words are the description.
[[noreturn]] inline void Throw(HRESULT status, IIviDriverUtility* utility = nullptr) {
    std::string description;
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info) {
        BSTR text = nullptr;
        if (info->GetDescription(&text) >= 0 && text) description = Utf8(text, SysStringLen(text));
        SysFreeString(text);
        info->Release();
    }
    if (description.empty()) description = category().message(static_cast<int>(status));
    if (static_cast<std::uint32_t>(status) == status::kInstrumentStatus && utility)
        if (const std::string refused = InstrumentErrors(utility); !refused.empty())
            description = "the instrument refused it: " + refused;
    switch (static_cast<std::uint32_t>(status)) {
        case status::kIoGeneral: throw IoError(status, description);
        case status::kIoTimeout: throw TimeoutError(status, description);
        case status::kInvalidValue: throw InvalidValue(status, description);
        case status::kModelNotSupported: throw NotSupportedByModel(status, description);
        default: throw Error(status, description);
    }
}

inline void Check(HRESULT status, IIviDriverUtility* utility = nullptr) {
    if (status < 0) Throw(status, utility);
}

// An interface of the driver object (or of one of its phases) and the driver's utility interface
// beside it, for the instrument's own words when it refuses a call.
template <class I>
struct Target {
    I* p;
    IIviDriverUtility* utility;
    I* operator->() const { return p; }
};
template <class I>
struct Handle {
    CComPtr<I> p;
    CComPtr<IIviDriverUtility> utility;
};

struct OutTag {};
inline constexpr OutTag out{};

// One parameter of an object-interface call: an input converted from the face's type, or an
// output the call fills and the face's type is taken from.
template <class A>
struct Arg;

// A number an instrument can take: nan and the infinities never leave the program (the driver's
// invalid-value status, thrown before anything is sent).
inline double Finite(double v) {
    if (!std::isfinite(v))
        throw InvalidValue(static_cast<HRESULT>(status::kInvalidValue),
                           "ZPV4870: Invalid value: " + std::string(std::isnan(v) ? "nan" : v > 0 ? "inf" : "-inf") +
                               " is not a finite number.");
    return v;
}

template <>
struct Arg<double> {
    explicit Arg(double v) : value(Finite(v)) {}
    double com() const { return value; }
    double value;
};
template <>
struct Arg<LONG> {
    explicit Arg(std::int32_t v) : value(v) {}
    LONG com() const { return value; }
    LONG value;
};
template <class E>
    requires std::is_enum_v<E>
struct Arg<E> {
    template <class F>
    explicit Arg(F v) : value(static_cast<E>(static_cast<std::int32_t>(v))) {}
    E com() const { return value; }
    E value;
};
template <>
struct Arg<VARIANT_BOOL> {
    explicit Arg(bool v) : value(v ? VARIANT_TRUE : VARIANT_FALSE) {}
    VARIANT_BOOL com() const { return value; }
    VARIANT_BOOL value;
};
template <>
struct Arg<BSTR> {
    explicit Arg(std::string_view text) {
        const std::wstring wide = Wide(text);
        value = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (!value) throw std::bad_alloc();
    }
    Arg(const Arg&) = delete;
    ~Arg() { SysFreeString(value); }
    BSTR com() const { return value; }
    BSTR value = nullptr;
};
template <>
struct Arg<SAFEARRAY*> {
    explicit Arg(std::span<const double> v) : Arg(VT_R8, v.data(), v.size(), sizeof(double)) {
        for (double x : v) Finite(x);
    }
    explicit Arg(std::span<const std::uint8_t> v) : Arg(VT_UI1, v.data(), v.size(), 1) {}
    Arg(VARTYPE type, const void* data, std::size_t count, std::size_t size) {
        value = SafeArrayCreateVector(type, 0, static_cast<ULONG>(count));
        if (!value) throw std::bad_alloc();
        void* target = nullptr;
        if (count && SafeArrayAccessData(value, &target) >= 0) {
            for (std::size_t i = 0; i < count * size; ++i)
                static_cast<unsigned char*>(target)[i] = static_cast<const unsigned char*>(data)[i];
            SafeArrayUnaccessData(value);
        }
    }
    Arg(const Arg&) = delete;
    ~Arg() { SafeArrayDestroy(value); }
    SAFEARRAY* com() const { return value; }
    SAFEARRAY* value = nullptr;
};
template <class T>
struct Arg<T*> {
    static constexpr bool isOutput = true;
    explicit Arg(OutTag) {}
    Arg(const Arg&) = delete;
    ~Arg() {
        if constexpr (std::is_same_v<T, BSTR>) SysFreeString(value);
        else if constexpr (std::is_same_v<T, SAFEARRAY*>) SafeArrayDestroy(value);
        else if constexpr (std::is_pointer_v<T>) {
            if (value) value->Release();
        }
    }
    T* com() { return &value; }
    template <class V>
    V Take() const {
        if constexpr (std::is_same_v<T, BSTR>) {
            std::string text = value ? Utf8(value, SysStringLen(value)) : std::string();
            if constexpr (std::is_same_v<V, Readings>) return ParseReadings(text);
            else return text;
        } else if constexpr (std::is_same_v<T, SAFEARRAY*>) {
            V elements;
            void* data = nullptr;
            if (value && SafeArrayAccessData(value, &data) >= 0) {
                const auto* first = static_cast<const typename V::value_type*>(data);
                elements.assign(first, first + value->rgsabound[0].cElements);
                SafeArrayUnaccessData(value);
            }
            return elements;
        } else if constexpr (std::is_same_v<T, VARIANT_BOOL>) {
            return value != VARIANT_FALSE;
        } else {
            return static_cast<V>(value);
        }
    }
    T value{};
};

template <class S>
auto OutputsOf(S& slot) {
    if constexpr (requires { S::isOutput; }) return std::tuple<S&>(slot);
    else return std::tuple<>();
}

template <class R, class Outs, std::size_t... I>
R TakeAll(Outs& outs, std::index_sequence<I...>) {
    return R(std::get<I>(outs).template Take<std::tuple_element_t<I, R>>()...);
}

template <class T>
struct IsTuple : std::false_type {};
template <class... T>
struct IsTuple<std::tuple<T...>> : std::true_type {};

// Calls member on p with the face's arguments (detail::out where the member gives a value) and
// returns what it gave as R: nothing, one value, or a tuple of them.
template <class R, class I, class B, class... A, class... Args>
R CallWith(I* p, IIviDriverUtility* utility, HRESULT (B::*member)(A...), Args&&... args) {
    std::tuple<Arg<A>...> slots(std::forward<Args>(args)...);
    Check(std::apply([&](auto&... s) { return (static_cast<B*>(p)->*member)(s.com()...); }, slots), utility);
    if constexpr (!std::is_void_v<R>) {
        auto outs = std::apply([](auto&... s) { return std::tuple_cat(OutputsOf(s)...); }, slots);
        if constexpr (IsTuple<R>::value) return TakeAll<R>(outs, std::make_index_sequence<std::tuple_size_v<R>>{});
        else return std::get<0>(outs).template Take<R>();
    }
}

template <class R, class I, class B, class... A, class... Args>
R Call(I* p, HRESULT (B::*member)(A...), Args&&... args) {
    return CallWith<R>(p, nullptr, member, std::forward<Args>(args)...);
}
template <class R, class I, class B, class... A, class... Args>
R Call(const Target<I>& t, HRESULT (B::*member)(A...), Args&&... args) {
    return CallWith<R>(t.p, t.utility, member, std::forward<Args>(args)...);
}

template <class R, class P, class B, class T>
R Get(const P& p, HRESULT (B::*getter)(T*)) {
    return Call<R>(p, getter, out);
}
template <class P, class B, class T, class V>
void Put(const P& p, HRESULT (B::*putter)(T), const V& value) {
    Call<void>(p, putter, value);
}
template <class I, class B, class G>
CComPtr<G> Group(I* p, HRESULT (B::*getter)(G**)) {
    CComPtr<G> group;
    Check((static_cast<B*>(p)->*getter)(&group));
    return group;
}
// A group of a view: it keeps the view's utility interface.
template <class I, class B, class G>
Handle<G> Group(const Target<I>& t, HRESULT (B::*getter)(G**)) {
    return {Group(t.p, getter), t.utility};
}

// The driver object's utility interface, where p is an interface of the driver object itself.
template <class I>
CComPtr<IIviDriverUtility> UtilityOf(I* p) {
    CComPtr<IIviDriverUtility> utility;
    if (p && p->QueryInterface(ZPV_IID_OF(IIviDriverUtility), reinterpret_cast<void**>(&utility)) < 0) utility = nullptr;
    return utility;
}

// The try_ forms: the call's Error as the result instead of an exception.
template <class F>
auto Try(F&& f) noexcept -> Result<decltype(f())> {
    try {
        if constexpr (std::is_void_v<decltype(f())>) {
            f();
            return {};
        } else {
            return f();
        }
    } catch (const Error& e) {
        return Unexpected(e);
    } catch (const std::exception& e) {
        return Unexpected(Error(E_OUTOFMEMORY, e.what()));
    }
}

// A view of one interface of the driver object.
template <class I>
class View {
public:
    using Interface = I;
    explicit View(CComPtr<I> p) : View(Handle<I>{std::move(p), nullptr}) {}
    explicit View(Handle<I> h)
        : owner_(std::move(h.p)),
          utility_(h.utility ? std::move(h.utility) : UtilityOf(owner_.Get())),
          p_{owner_.Get(), utility_.Get()} {}

protected:
    CComPtr<I> owner_;                     // keeps the object alive as long as the view
    CComPtr<IIviDriverUtility> utility_;   // the driver's, where the view can reach it
    Target<I> p_;
};

// The output phases: by number (1 for the first) or by name, and all of them.
template <class I, class ItemView>
class Collection : public View<I> {
public:
    using View<I>::View;
    std::int32_t count() const { return Get<std::int32_t>(this->p_, &I::get_Count); }
    std::string name(std::int32_t number) const { return Call<std::string>(this->p_, &I::get_Name, number, out); }
    ItemView phase(std::string_view name) const {
        Arg<BSTR> wide(name);
        CComPtr<typename ItemView::Interface> item;
        Check(this->p_->get_Item(wide.com(), &item), this->utility_.Get());
        return ItemView(Handle<typename ItemView::Interface>{item, this->utility_});
    }
    ItemView phase(std::int32_t number) const { return phase(name(number)); }
    std::vector<ItemView> phases() const {
        std::vector<ItemView> all;
        for (std::int32_t n = 1, total = count(); n <= total; ++n) all.push_back(phase(n));
        return all;
    }
};

}  // namespace detail
}  // namespace zpv4870

#include "driver_members.hpp"

namespace zpv4870 {

struct Options {
    bool id_query = true;
    bool reset = false;
    bool simulate = false;
    std::string driver_setup{};  // "Model=ZPV-4832-Advanced, Trace=true"
    std::string options{};       // more of the option string: "RangeCheck=false"
    // Reads the instrument's event status after every call (QueryInstrStatus), so a value the
    // instrument refuses throws; an option string that names QueryInstrStatus decides itself.
    bool status_check = true;
};

// One session with one instrument: opened by the constructor, closed by the destructor.
class Driver : public detail::DriverGroups<Driver> {
public:
    explicit Driver(std::string_view resource, const Options& options = {});
    static Result<Driver> try_open(std::string_view resource, const Options& options = {}) noexcept;
    ~Driver();
    Driver(Driver&& other) noexcept;
    Driver& operator=(Driver&& other) noexcept;
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // Closes now rather than at destruction; a moved-from or closed driver does nothing.
    void close();
    bool is_open() const noexcept { return static_cast<bool>(driver_); }

    // The groups (output_phases(), system(), manual_mode(), ..., ivi()) come from
    // detail::DriverGroups, generated from the driver object's group rows.

    // Identity.
    std::string manufacturer() const { return Text(&IIviDriverIdentity::get_InstrumentManufacturer); }
    std::string model() const { return Text(&IIviDriverIdentity::get_InstrumentModel); }
    std::string firmware_revision() const { return Text(&IIviDriverIdentity::get_InstrumentFirmwareRevision); }
    std::string identifier() const { return Text(&IIviDriverIdentity::get_Identifier); }
    std::string supported_models() const { return Text(&IIviDriverIdentity::get_SupportedInstrumentModels); }
    std::string group_capabilities() const { return Text(&IIviDriverIdentity::get_GroupCapabilities); }
    std::int32_t specification_major_version() const {
        return detail::Get<std::int32_t>(Identity(), &IIviDriverIdentity::get_SpecificationMajorVersion);
    }
    std::int32_t specification_minor_version() const {
        return detail::Get<std::int32_t>(Identity(), &IIviDriverIdentity::get_SpecificationMinorVersion);
    }
    std::string description() const { return Text(&IIviComponentIdentity::get_Description); }
    std::string revision() const { return Text(&IIviComponentIdentity::get_Revision); }
    std::string vendor() const { return Text(&IIviComponentIdentity::get_Vendor); }

    // Operation.
    std::string logical_name() const { return detail::Get<std::string>(Operation(), &IIviDriverOperation::get_LogicalName); }
    std::string io_resource_descriptor() const {
        return detail::Get<std::string>(Operation(), &IIviDriverOperation::get_IoResourceDescriptor);
    }
    std::string driver_setup() const { return detail::Get<std::string>(Operation(), &IIviDriverOperation::get_DriverSetup); }
    bool cache() const { return detail::Get<bool>(Operation(), &IIviDriverOperation::get_Cache); }
    void cache(bool on) const { detail::Put(Operation(), &IIviDriverOperation::put_Cache, on); }
    bool interchange_check() const { return detail::Get<bool>(Operation(), &IIviDriverOperation::get_InterchangeCheck); }
    void interchange_check(bool on) const { detail::Put(Operation(), &IIviDriverOperation::put_InterchangeCheck, on); }
    bool query_instrument_status() const {
        return detail::Get<bool>(Operation(), &IIviDriverOperation::get_QueryInstrumentStatus);
    }
    void query_instrument_status(bool on) const {
        detail::Put(Operation(), &IIviDriverOperation::put_QueryInstrumentStatus, on);
    }
    bool range_check() const { return detail::Get<bool>(Operation(), &IIviDriverOperation::get_RangeCheck); }
    void range_check(bool on) const { detail::Put(Operation(), &IIviDriverOperation::put_RangeCheck, on); }
    bool record_coercions() const { return detail::Get<bool>(Operation(), &IIviDriverOperation::get_RecordCoercions); }
    void record_coercions(bool on) const { detail::Put(Operation(), &IIviDriverOperation::put_RecordCoercions, on); }
    bool simulate() const { return detail::Get<bool>(Operation(), &IIviDriverOperation::get_Simulate); }
    void simulate(bool on) const { detail::Put(Operation(), &IIviDriverOperation::put_Simulate, on); }
    void invalidate_all_attributes() const {
        detail::Call<void>(Operation(), &IIviDriverOperation::InvalidateAllAttributes);
    }
    void clear_interchange_warnings() const {
        detail::Call<void>(Operation(), &IIviDriverOperation::ClearInterchangeWarnings);
    }
    std::string next_interchange_warning() const {
        return detail::Call<std::string>(Operation(), &IIviDriverOperation::GetNextInterchangeWarning, detail::out);
    }
    void reset_interchange_check() const { detail::Call<void>(Operation(), &IIviDriverOperation::ResetInterchangeCheck); }
    std::string next_coercion_record() const {
        return detail::Call<std::string>(Operation(), &IIviDriverOperation::GetNextCoercionRecord, detail::out);
    }

    // Utility.
    void reset() const { detail::Call<void>(Utility(), &IIviDriverUtility::Reset); }
    void reset_with_defaults() const { detail::Call<void>(Utility(), &IIviDriverUtility::ResetWithDefaults); }
    void disable() const { detail::Call<void>(Utility(), &IIviDriverUtility::Disable); }
    std::tuple<std::int32_t, std::string> self_test() const {
        return detail::Call<std::tuple<std::int32_t, std::string>>(Utility(), &IIviDriverUtility::SelfTest, detail::out,
                                                                   detail::out);
    }
    std::tuple<std::int32_t, std::string> error_query() const {
        return detail::Call<std::tuple<std::int32_t, std::string>>(Utility(), &IIviDriverUtility::ErrorQuery, detail::out,
                                                                   detail::out);
    }
    void lock_object() const { detail::Call<void>(Utility(), &IIviDriverUtility::LockObject); }
    void unlock_object() const { detail::Call<void>(Utility(), &IIviDriverUtility::UnlockObject); }

    // Reads the response to what was written into the caller's storage, as much as fits: the bytes
    // read, and whether the response ended with them (if not, the rest waits for the next read).
    // Nothing is allocated or copied on the way: the transport receives into `storage`.
    struct ReadResult {
        std::size_t count = 0;
        bool ended = false;
    };
    ReadResult read_into(std::span<std::byte> storage) const;

    // The object interface underneath, for what the face does not cover.
    IIviDriver* object() const noexcept { return driver_; }

    // One of the driver object's interfaces (held by the object while it lives).
    template <class I>
    I* Interface() const;

private:
    Driver() = default;
    IIviDriverIdentity* Identity() const;
    IIviDriverOperation* Operation() const;
    IIviDriverUtility* Utility() const;
    template <class B>
    std::string Text(HRESULT (B::*getter)(BSTR*)) const {
        return detail::Get<std::string>(Identity(), getter);
    }

    CComPtr<IIviDriver> driver_;
};

// ---- the driver's own work -----------------------------------------------------------------------

inline Driver::Driver(std::string_view resource, const Options& options) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // a thread that entered already keeps its entry
    detail::Check(CoCreateInstance(CLSID_ZPV4870, nullptr, CLSCTX_INPROC_SERVER, IID_IIviDriver,
                                   reinterpret_cast<void**>(&driver_)));
    std::string text = options.options;
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (options.status_check && lower.substr(0, lower.find("driversetup")).find("queryinstrstatus") == std::string::npos)
        text = "QueryInstrStatus=true" + std::string(text.empty() ? "" : ", ") + text;
    if (options.simulate) text += std::string(text.empty() ? "" : ", ") + "Simulate=true";
    if (!options.driver_setup.empty()) text += std::string(text.empty() ? "" : ", ") + "DriverSetup=" + options.driver_setup;
    detail::Arg<BSTR> name(resource), optionString(text);
    const HRESULT status = driver_->Initialize(name.com(), options.id_query ? VARIANT_TRUE : VARIANT_FALSE,
                                               options.reset ? VARIANT_TRUE : VARIANT_FALSE, optionString.com());
    if (status < 0) {
        driver_.Release();
        detail::Throw(status);
    }
}

inline Result<Driver> Driver::try_open(std::string_view resource, const Options& options) noexcept {
    return detail::Try([&] { return Driver(resource, options); });
}

inline Driver::~Driver() {
    if (driver_) driver_->Close();
}

inline Driver::Driver(Driver&& other) noexcept : driver_(std::move(other.driver_)) {}

inline Driver& Driver::operator=(Driver&& other) noexcept {
    if (this != &other) {
        if (driver_) driver_->Close();
        driver_ = std::move(other.driver_);
    }
    return *this;
}

inline void Driver::close() {
    if (!driver_) return;
    CComPtr<IIviDriver> closing = std::move(driver_);
    detail::Check(closing->Close());
}

namespace detail {
inline void RequireOpen(IIviDriver* driver) {
    if (!driver) throw Error(static_cast<HRESULT>(status::kNotInitialized), "ZPV4870: A connection to the instrument has not been established.\r\nThe driver was closed or moved.");
}
template <class I>
I* InterfaceOf(IIviDriver* driver) {
    RequireOpen(driver);
    // The driver object's interfaces live as long as the object; the view holds the object.
    I* itf = nullptr;
    Check(driver->QueryInterface(ZPV_IID_OF(I), reinterpret_cast<void**>(&itf)));
    itf->Release();
    return itf;
}
}  // namespace detail

template <class I>
I* Driver::Interface() const {
    return detail::InterfaceOf<I>(driver_);
}
inline Driver::ReadResult Driver::read_into(std::span<std::byte> storage) const {
    constexpr std::size_t most = 0x7FFFFFFF;  // one read takes at most a LONG's count
    LONG actual = 0;
    const HRESULT status = Interface<IZPV4870DirectRead>()->ReadInto(
        reinterpret_cast<BYTE*>(storage.data()), static_cast<LONG>(std::min(storage.size(), most)), &actual);
    detail::Check(status, Utility());
    return {static_cast<std::size_t>(actual), status == S_OK};
}
inline IIviDriverIdentity* Driver::Identity() const { return detail::InterfaceOf<IIviDriverIdentity>(driver_); }
inline IIviDriverOperation* Driver::Operation() const { return detail::InterfaceOf<IIviDriverOperation>(driver_); }
inline IIviDriverUtility* Driver::Utility() const { return detail::InterfaceOf<IIviDriverUtility>(driver_); }

}  // namespace zpv4870
