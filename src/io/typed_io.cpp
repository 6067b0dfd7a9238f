// The session's typed convenience operations, built on the buffers and the engines.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "io/element_layout.h"
#include "io/io_failure.h"
#include "io/io_session.h"
#include "platform/com/text_conversion.h"

namespace zpv::io {

namespace {

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

std::string TextOf(const TypedValue& value) {
    return std::visit(Overloaded{
                          [](FLOAT v) { return FormatText("%0.7g", static_cast<double>(v)); },
                          [](DOUBLE v) { return FormatText("%0.15g", v); },
                          [](bool v) { return std::string(v ? "1" : "0"); },
                          [](std::string_view v) { return std::string(v); },
                          [](auto v) { return std::to_string(v); },
                      },
                      value);
}

// Which doubles a narrower type can hold, and the name its overflow message gives it.
struct NarrowingRow {
    const char* typeName;
    bool (*fits)(double);
};

bool FitsSingle(double v) {
    const double magnitude = std::fabs(v);
    return magnitude <= 3.4028234663852886e38 &&
           !(magnitude >= 2.2250738585072014e-308 && magnitude < 1.1754943508222875e-38);
}

constexpr NarrowingRow kByteRange{"BYTE", [](double v) { return v >= 0 && v <= 255; }};
constexpr NarrowingRow kShortRange{"short", [](double v) { return v >= -32768 && v <= 32767; }};
constexpr NarrowingRow kLongRange{"long", [](double v) { return v >= -2147483648.0 && v <= 2147483647.0; }};
constexpr NarrowingRow kSingleRange{"single-precision float", FitsSingle};

// The element types of typed lists and blocks.
struct TypedElement {
    VARTYPE vt;
    std::size_t bytes;
    const NarrowingRow* range;  // numbers read into it are checked against this
};
constexpr TypedElement kTypedElements[] = {
    {VT_UI1, 1, &kByteRange},  {VT_I2, 2, &kShortRange}, {VT_I4, 4, &kLongRange},          {VT_I8, 8, nullptr},
    {VT_R4, 4, &kSingleRange}, {VT_R8, 8, nullptr},      {VT_BSTR, sizeof(BSTR), nullptr}, {VT_BOOL, 2, nullptr},
};

const TypedElement* TypedElementOf(VARTYPE vt) {
    for (const TypedElement& row : kTypedElements)
        if (row.vt == vt) return &row;
    return nullptr;
}

TypedValue ElementValue(VARTYPE vt, const BYTE* element) {
    auto load = [element](auto value) {
        std::memcpy(&value, element, sizeof value);
        return value;
    };
    switch (vt) {
        case VT_UI1: return load(BYTE{});
        case VT_I2: return load(SHORT{});
        case VT_I4: return load(LONG{});
        case VT_I8: return load(LONGLONG{});
        case VT_R4: return load(FLOAT{});
        case VT_R8: return load(DOUBLE{});
        default: return load(VARIANT_BOOL{}) != VARIANT_FALSE;
    }
}

HRESULT CheckRange(errors::IErrorReporter* reporter, const NarrowingRow* range, double value) {
    if (!range || range->fits(value)) return S_OK;
    return ReportIoFailure(
        reporter, FormatText("Overflow or underflow reading value of '%e' into a %s.", value, range->typeName));
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool ParseDouble(std::string_view text, double& value) {
    text = Trimmed(text);
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

HRESULT CIoSession::Scan(const char* format, ...) {
    ReadOperation operation(*this);
    va_list args;
    va_start(args, format);
    const HRESULT hr = FormattedInputV(buffer_.get(), format, args, Services());
    va_end(args);
    return hr;
}

HRESULT CIoSession::ReadNumber(double* value) {
    const HRESULT hr = Scan("%le", value);
    return FAILED(hr) ? hr : buffer_->FlushRead();
}

HRESULT CIoSession::WriteValue(const TypedValue& value, bool flushWithEnd) {
    if (!IsOpen()) return NotConnected();
    const std::string text = TextOf(value);
    return buffer_->Write(reinterpret_cast<const BYTE*>(text.data()), static_cast<LONG>(text.size()), nullptr,
                          flushWithEnd);
}

HRESULT CIoSession::WriteList(SAFEARRAY* list, bool flushWithEnd) {
    if (!IsOpen()) return NotConnected();
    if (!list || list->cDims != 1) return E_INVALIDARG;
    if (!TypedElementOf(list->vt)) {
        if (!reporter_) return E_INVALIDARG;
        return reporter_->ReportErrorText(E_INVALIDARG, "ZPV4870: Unknown type of array passed to WriteList function.");
    }
    std::string text;
    for (ULONG i = 0; i < list->rgsabound[0].cElements; ++i) {
        if (i > 0) text.push_back(',');
        const BYTE* element = static_cast<const BYTE*>(list->pvData) + static_cast<std::size_t>(i) * list->cbElements;
        if (list->vt == VT_BSTR) {
            BSTR s;
            std::memcpy(&s, element, sizeof s);
            text += com::Utf8FromBstr(s);
        } else {
            text += TextOf(ElementValue(list->vt, element));
        }
    }
    return buffer_->Write(reinterpret_cast<const BYTE*>(text.data()), static_cast<LONG>(text.size()), nullptr,
                          flushWithEnd);
}

HRESULT CIoSession::ReadValue(const TypedDestination& destination) {
    if (!IsOpen()) return NotConnected();
    ReadOperation operation(*this);
    auto narrowed = [this](auto* target, const NarrowingRow& range) -> HRESULT {
        if (!target) return E_POINTER;
        double value = 0;
        HRESULT hr = ReadNumber(&value);
        if (SUCCEEDED(hr)) hr = CheckRange(reporter_, &range, value);
        if (SUCCEEDED(hr)) *target = static_cast<std::remove_pointer_t<decltype(target)>>(value);
        return hr;
    };
    return std::visit(Overloaded{
                          [&](BYTE* v) { return narrowed(v, kByteRange); },
                          [&](SHORT* v) { return narrowed(v, kShortRange); },
                          [&](LONG* v) { return narrowed(v, kLongRange); },
                          [&](FLOAT* v) { return narrowed(v, kSingleRange); },
                          [&](LONGLONG* v) -> HRESULT {
                              if (!v) return E_POINTER;
                              const HRESULT hr = Scan("%Id", v);
                              return FAILED(hr) ? hr : buffer_->FlushRead();
                          },
                          [&](DOUBLE* v) -> HRESULT { return v ? ReadNumber(v) : E_POINTER; },
                          [&](bool* v) -> HRESULT {
                              if (!v) return E_POINTER;
                              double value = 0;
                              const HRESULT hr = ReadNumber(&value);
                              if (SUCCEEDED(hr)) *v = value != 0;
                              return hr;
                          },
                          [&](std::string* v) -> HRESULT {
                              if (!v) return E_POINTER;
                              const HRESULT hr = Scan("%$Ct", v);
                              return FAILED(hr) ? hr : buffer_->FlushRead();
                          },
                      },
                      destination);
}

HRESULT CIoSession::ReadList(VARTYPE elementType, SAFEARRAY** list) {
    if (!IsOpen()) return NotConnected();
    ReadOperation operation(*this);
    if (!list) return E_POINTER;
    *list = nullptr;
    const TypedElement* type = TypedElementOf(elementType);
    if (!type) return E_INVALIDARG;
    std::string response;
    HRESULT hr = Scan("%$Ct", &response);
    if (SUCCEEDED(hr)) hr = buffer_->FlushRead();
    if (FAILED(hr)) return hr;

    std::vector<std::string_view> items;
    for (std::string_view rest = response; !Trimmed(rest).empty();) {
        const std::size_t comma = rest.find(',');
        items.push_back(Trimmed(rest.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    SAFEARRAY* array = SafeArrayCreateVector(elementType, 0, static_cast<ULONG>(items.size()));
    if (!array) return E_OUTOFMEMORY;
    for (std::size_t i = 0; i < items.size(); ++i) {
        BYTE* element = static_cast<BYTE*>(array->pvData) + i * type->bytes;
        if (elementType == VT_BSTR) {
            BSTR text = com::AllocBstr(items[i]);
            std::memcpy(element, &text, sizeof text);
            continue;
        }
        double value = 0;
        if (!ParseDouble(items[i], value)) hr = E_UNEXPECTED;
        if (SUCCEEDED(hr)) hr = CheckRange(reporter_, type->range, value);
        if (FAILED(hr)) {
            SafeArrayDestroy(array);
            return hr;
        }
        auto store = [element](auto typed) { std::memcpy(element, &typed, sizeof typed); };
        switch (elementType) {
            case VT_UI1: store(static_cast<BYTE>(value)); break;
            case VT_I2: store(static_cast<SHORT>(value)); break;
            case VT_I4: store(static_cast<LONG>(value)); break;
            case VT_I8: store(static_cast<LONGLONG>(value)); break;
            case VT_R4: store(static_cast<FLOAT>(value)); break;
            case VT_R8: store(value); break;
            default: store(static_cast<VARIANT_BOOL>(value != 0 ? VARIANT_TRUE : VARIANT_FALSE)); break;
        }
    }
    *list = array;
    return S_OK;
}

HRESULT CIoSession::WriteBlock(std::string_view command, SAFEARRAY* data, bool flushWithEnd) {
    if (!IsOpen()) return NotConnected();
    if (!data || data->cDims != 1) return E_INVALIDARG;
    const TypedElement* type = TypedElementOf(data->vt);
    if (!type || data->vt == VT_BSTR || data->vt == VT_BOOL) return E_INVALIDARG;
    const std::size_t count = data->rgsabound[0].cElements;
    const std::string length = std::to_string(count * type->bytes);
    std::string head(command);
    head += FormatText("#%zu%s", length.size(), length.c_str());
    std::vector<BYTE> bytes(count * type->bytes);
    CopyElements(bytes.data(), static_cast<const BYTE*>(data->pvData), count, type->bytes, buffer_->GetBigEndian());

    HRESULT hr =
        buffer_->Write(reinterpret_cast<const BYTE*>(head.data()), static_cast<LONG>(head.size()), nullptr, false);
    if (FAILED(hr)) return hr;
    LONG sent = 0;
    hr = buffer_->WriteCounted(bytes.data(), static_cast<LONG>(bytes.size()), &sent, flushWithEnd);
    if (hr == CInstrBuffer::kShortTransfer)
        return ReportIoFailure(
            reporter_, FormatText("Binary block write only successfully sent %ld of %zu data bytes to the device.",
                                  static_cast<long>(sent), bytes.size()));
    return hr;
}

HRESULT CIoSession::ReadBlock(VARTYPE elementType, bool seekToBlock, bool flushToEnd, SAFEARRAY** data) {
    if (!IsOpen()) return NotConnected();
    ReadOperation operation(*this);
    if (!data) return E_POINTER;
    *data = nullptr;
    const TypedElement* type = TypedElementOf(elementType);
    if (!type || elementType == VT_BSTR || elementType == VT_BOOL) return E_INVALIDARG;

    for (;;) {
        BYTE first = 0;
        LONG actual = 0;
        const HRESULT hr = buffer_->ReadByte(&first, &actual);
        if (FAILED(hr)) return hr;
        if (actual == 1 && first == '#') break;
        if (!seekToBlock || actual == 0 || hr == S_OK)
            return ReportIoFailure(reporter_, "Binary block header not found.");
    }
    if (const HRESULT hr = buffer_->PushBack(); FAILED(hr)) return hr;
    std::vector<BYTE> bytes;
    HRESULT hr = ReadBlockElements(buffer_.get(), type->bytes, bytes);
    if (SUCCEEDED(hr) && flushToEnd) hr = buffer_->FlushRead();
    if (FAILED(hr)) return hr;
    SAFEARRAY* array = SafeArrayCreateVector(elementType, 0, static_cast<ULONG>(bytes.size() / type->bytes));
    if (!array) return E_OUTOFMEMORY;
    std::memcpy(array->pvData, bytes.data(), bytes.size());
    *data = array;
    return S_OK;
}

}  // namespace zpv::io
