// The output engine: renders each token of an output format into the byte sink.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>

#include "io/element_layout.h"
#include "io/enum_resolution.h"
#include "io/format_cache.h"
#include "io/formatted_io.h"
#include "io/io_failure.h"
#include "io/string_writer.h"
#include "platform/com/text_conversion.h"

namespace zpv::io {

namespace {

// Width, precision and count of one conversion after star substitution; -1 when absent.
struct Amounts {
    int width = -1;
    int precision = -1;
    int count = -1;
    bool leftAlign = false;
};

// IEEE 488.2 non-decimal forms.
struct RadixForm {
    char letter;
    unsigned base;
    const char* prefix;
};
constexpr RadixForm kRadixForms[] = {{'H', 16, "#H"}, {'Q', 8, "#Q"}, {'B', 2, "#B"}};

const RadixForm* RadixFormOf(char numberForm) {
    for (const RadixForm& form : kRadixForms)
        if (form.letter == numberForm) return &form;
    return nullptr;
}

// "value + 0.5, truncated", held inside the 64-bit range.
LONGLONG RoundedUp(double value) {
    const double shifted = std::trunc(value + 0.5);
    if (!(shifted > static_cast<double>(LLONG_MIN))) return LLONG_MIN;
    if (shifted >= static_cast<double>(LLONG_MAX)) return LLONG_MAX;
    return static_cast<LONGLONG>(shifted);
}

// Bits of the argument, so negative values come out as the two's complement of its width.
unsigned BitsOf(const FormatToken& token) {
    const bool real = token.output() == OutputKind::Real || token.output() == OutputKind::RealList;
    if (real || token.size == 'I') return 64;
    if (token.size == 'h') return 16;
    if (token.size == 'b') return 8;
    return 32;
}

class OutputRun {
public:
    OutputRun(IByteSink& sink, ArgumentCursor& args, const FormatServices& services)
        : sink_(sink), args_(args), services_(services) {}

    HRESULT Run(const FormatTokens& tokens) {
        for (const FormatToken& token : tokens) {
            const HRESULT hr = token.output() == OutputKind::Literal ? Literal(token.literal) : Conversion(token);
            if (FAILED(hr)) return hr;
        }
        return S_OK;
    }

private:
    HRESULT Put(std::string_view bytes) {
        if (bytes.empty()) return S_OK;
        LONG written = 0;
        const HRESULT hr =
            sink_.Write(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<LONG>(bytes.size()), &written, false);
        if (FAILED(hr)) return hr;
        return written == static_cast<LONG>(bytes.size()) ? S_OK : E_UNEXPECTED;
    }

    template <class Value>
    HRESULT PutPrintf(const char* conversion, Value value) {
        char small[128];
        const int n = std::snprintf(small, sizeof small, conversion, value);
        if (n < 0) return E_UNEXPECTED;
        if (static_cast<std::size_t>(n) < sizeof small)
            return Put(std::string_view(small, static_cast<std::size_t>(n)));
        std::string large(static_cast<std::size_t>(n), '\0');
        std::snprintf(large.data(), large.size() + 1, conversion, value);
        return Put(large);
    }

    // A line feed in literal text ends the message: it goes out at once with END.
    HRESULT Literal(std::string_view text) {
        for (std::size_t lf; (lf = text.find('\n')) != std::string_view::npos; text.remove_prefix(lf + 1)) {
            if (const HRESULT hr = Put(text.substr(0, lf)); FAILED(hr)) return hr;
            if (const HRESULT hr = sink_.WriteByte('\n', true); FAILED(hr)) return hr;
        }
        return Put(text);
    }

    HRESULT TakeAmounts(const FormatToken& token, Amounts& amounts) {
        amounts.leftAlign = token.leftAlign;
        if (token.width.source == AmountSource::Star) {
            const int width = args_.NextInt();
            amounts.leftAlign |= width < 0;
            amounts.width = width < 0 ? -width : width;
        } else if (token.width.source == AmountSource::Given) {
            amounts.width = token.width.value;
        }
        if (token.precision.source == AmountSource::Star) {
            const int precision = args_.NextInt();
            amounts.precision = precision < 0 ? -1 : precision;
        } else if (token.precision.source == AmountSource::Given) {
            amounts.precision = token.precision.value;
        }
        if (token.count.source == AmountSource::Star) {
            amounts.count = args_.NextInt();
            if (amounts.count < 0) return E_UNEXPECTED;
        } else if (token.count.source == AmountSource::Given) {
            amounts.count = token.count.value;
        }
        return S_OK;
    }

    // The token's ready conversion, or one built for this call's star values.
    const char* ConversionFor(const FormatToken& token, const Amounts& amounts) {
        if (!token.cFormat.empty()) return token.cFormat.c_str();
        starConversion_ = PrintfConversion(token, amounts.width, amounts.precision, amounts.leftAlign);
        return starConversion_.c_str();
    }

    HRESULT Conversion(const FormatToken& token) {
        Amounts amounts;
        if (const HRESULT hr = TakeAmounts(token, amounts); FAILED(hr)) return hr;
        switch (token.output()) {
            case OutputKind::Integer:
                return PutInteger(token, amounts, token.size == 'I' ? args_.NextInt64() : args_.NextInt());
            case OutputKind::Real: return PutReal(token, amounts, args_.NextDouble());
            case OutputKind::Character: return PutPrintf(ConversionFor(token, amounts), args_.NextInt());
            case OutputKind::String: return PutStringArgument(token, amounts);
            case OutputKind::Enum: return PutEnum(token, amounts);
            case OutputKind::IntegerList:
            case OutputKind::RealList:
            case OutputKind::StringList:
            case OutputKind::EnumList: return PutList(token, amounts);
            case OutputKind::DefiniteBlock:
            case OutputKind::IndefiniteBlock:
            case OutputKind::RawBinary: return PutBlock(token, amounts);
            case OutputKind::Literal: break;
        }
        return E_UNEXPECTED;
    }

    HRESULT PutInteger(const FormatToken& token, const Amounts& amounts, LONGLONG value) {
        switch (token.numberForm) {
            case 0:
                if (token.size == 'I') return PutPrintf(ConversionFor(token, amounts), value);
                return PutPrintf(ConversionFor(token, amounts), static_cast<int>(value));
            case '1': return PutPrintf(ConversionFor(token, amounts), RoundedUp(static_cast<double>(value)));
            case '2':
            case '3': return PutPrintf(ConversionFor(token, amounts), static_cast<double>(value));
            default: return PutRadix(token, amounts, RoundedUp(static_cast<double>(value)));
        }
    }

    HRESULT PutReal(const FormatToken& token, const Amounts& amounts, double value) {
        switch (token.numberForm) {
            case 0:
            case '2':
            case '3': return PutPrintf(ConversionFor(token, amounts), value);
            case '1': return PutPrintf(ConversionFor(token, amounts), RoundedUp(value));
            default: return PutRadix(token, amounts, RoundedUp(value));
        }
    }

    // "#H", "#Q" or "#B" before the digits, taking the place of two padding characters.
    HRESULT PutRadix(const FormatToken& token, const Amounts& amounts, LONGLONG value) {
        const RadixForm* form = RadixFormOf(token.numberForm);
        if (!form) return E_UNEXPECTED;
        const unsigned bits = BitsOf(token);
        auto magnitude = static_cast<ULONGLONG>(value);
        if (bits < 64) magnitude &= (ULONGLONG{1} << bits) - 1;
        char reversed[64];
        std::size_t n = 0;
        do {
            reversed[n++] = "0123456789ABCDEF"[magnitude % form->base];
            magnitude /= form->base;
        } while (magnitude != 0);
        std::string digits;
        if (amounts.precision > static_cast<int>(n))
            digits.assign(static_cast<std::size_t>(amounts.precision) - n, '0');
        while (n > 0) digits.push_back(reversed[--n]);

        std::size_t padding = amounts.width > static_cast<int>(digits.size())
                                  ? static_cast<std::size_t>(amounts.width) - digits.size()
                                  : 0;
        padding -= std::min<std::size_t>(padding, 2);
        std::string field;
        if (amounts.leftAlign) {
            field.append(form->prefix).append(digits).append(padding, ' ');
        } else if (token.zeroPad) {
            field.append(form->prefix).append(padding, '0').append(digits);
        } else {
            field.append(padding, ' ').append(form->prefix).append(digits);
        }
        return Put(field);
    }

    // Quotes first, then precision cuts and width pads the quoted text.
    HRESULT PutText(const FormatToken& token, const Amounts& amounts, std::string_view text) {
        std::string field;
        if (token.quote) {
            field.reserve(text.size() + 2);
            field.append(1, token.quote).append(text).append(1, token.quote);
            text = field;
        }
        if (amounts.precision >= 0 && text.size() > static_cast<std::size_t>(amounts.precision))
            text = text.substr(0, static_cast<std::size_t>(amounts.precision));
        const std::size_t padding =
            amounts.width > static_cast<int>(text.size()) ? static_cast<std::size_t>(amounts.width) - text.size() : 0;
        if (padding == 0) return Put(text);
        std::string padded;
        if (!amounts.leftAlign) padded.append(padding, ' ');
        padded.append(text);
        if (amounts.leftAlign) padded.append(padding, ' ');
        return Put(padded);
    }

    HRESULT PutStringArgument(const FormatToken& token, const Amounts& amounts) {
        switch (token.storage) {
            case StringStorage::Narrow: {
                const char* text = args_.NextPointer<const char>();
                return text ? PutText(token, amounts, text) : E_INVALIDARG;
            }
            case StringStorage::Wide: {
                const wchar_t* text = args_.NextPointer<const wchar_t>();
                return text ? PutText(token, amounts, com::Utf8FromWide(text)) : E_INVALIDARG;
            }
            case StringStorage::Object: {
                const std::string* text = args_.NextPointer<const std::string>();
                return text ? PutText(token, amounts, *text) : E_INVALIDARG;
            }
        }
        return E_UNEXPECTED;
    }


    HRESULT PutKeyword(const FormatToken& token, const Amounts& amounts, const keywords::IEnumCommandConverter& converter,
                       LONG value) {
        const std::string_view model = EnumModel(services_);
        std::string_view keyword;
        if (!converter.ToCommand(model, value, &keyword))
            return ReportIoFailure(services_.reporter, FormatText("Unexpected value '%ld' for enum '%s'.",
                                                                  static_cast<long>(value), token.enumName.c_str()));
        return PutText(token, amounts, keyword);
    }

    HRESULT PutEnum(const FormatToken& token, const Amounts& amounts) {
        const int argument = args_.NextInt();
        const LONG value = token.booleanEnum ? static_cast<VARIANT_BOOL>(argument) : argument;
        const keywords::IEnumCommandConverter* converter = nullptr;
        if (const HRESULT hr = ResolveEnum(services_, token, &converter); FAILED(hr)) return hr;
        return PutKeyword(token, amounts, *converter, value);
    }

    // The element layout of a list and, with $S, the safe-array type it must have.
    ElementLayout ListLayout(const FormatToken& token) const {
        switch (token.output()) {
            case OutputKind::IntegerList: return LayoutOf(kIntegerElements, token.size);
            case OutputKind::RealList: return LayoutOf(kRealElements, token.size);
            case OutputKind::StringList:
                if (token.safeArray) return {0, sizeof(BSTR), VT_BSTR};
                if (token.storage == StringStorage::Object) return {0, sizeof(std::string), VT_EMPTY};
                return {0, sizeof(void*), VT_EMPTY};
            default: return EnumElementLayout(token);
        }
    }

    // Where the elements are and how many to write, from the argument and the count.
    HRESULT TakeElements(const FormatToken& token, int count, const ElementLayout& layout, const BYTE** elements,
                         int* total) {
        if (token.safeArray) {
            auto* array = args_.NextPointer<SAFEARRAY>();
            if (FAILED(CheckVector(array, layout.vt))) return E_INVALIDARG;
            const auto length = static_cast<long long>(array->rgsabound[0].cElements);
            *total = static_cast<int>(count >= 0 ? std::min<long long>(count, length)
                                                 : std::min<long long>(length, INT_MAX));
            *elements = static_cast<const BYTE*>(array->pvData);
            return S_OK;
        }
        const void* pointer = args_.NextPointer<const void>();
        if (count < 0) return E_UNEXPECTED;
        if (!pointer) return E_INVALIDARG;
        *elements = static_cast<const BYTE*>(pointer);
        *total = count;
        return S_OK;
    }

    HRESULT PutList(const FormatToken& token, const Amounts& amounts) {
        const ElementLayout layout = ListLayout(token);
        const keywords::IEnumCommandConverter* converter = nullptr;
        if (token.output() == OutputKind::EnumList) {
            if (const HRESULT hr = ResolveEnum(services_, token, &converter); FAILED(hr)) return hr;
        }
        const BYTE* elements = nullptr;
        int total = 0;
        if (const HRESULT hr = TakeElements(token, amounts.count, layout, &elements, &total); FAILED(hr)) return hr;
        for (int i = 0; i < total; ++i) {
            if (i > 0) {
                if (const HRESULT hr = sink_.WriteByte(static_cast<BYTE>(token.separators[0]), false); FAILED(hr))
                    return hr;
            }
            const BYTE* element = elements + static_cast<std::size_t>(i) * layout.bytes;
            if (const HRESULT hr = PutElement(token, amounts, layout, element, converter); FAILED(hr)) return hr;
        }
        return S_OK;
    }

    HRESULT PutElement(const FormatToken& token, const Amounts& amounts, const ElementLayout& layout,
                       const BYTE* element, const keywords::IEnumCommandConverter* converter) {
        switch (token.output()) {
            case OutputKind::IntegerList: return PutInteger(token, amounts, LoadInteger(element, layout.vt));
            case OutputKind::RealList:
                return PutReal(token, amounts, layout.vt == VT_R8 ? Load<double>(element) : Load<float>(element));
            case OutputKind::EnumList:
                return PutKeyword(token, amounts, *converter,
                                  layout.vt == VT_BOOL ? Load<VARIANT_BOOL>(element) : Load<LONG>(element));
            default: break;
        }
        if (token.safeArray || token.storage == StringStorage::Wide) {
            const auto* text = Load<const wchar_t*>(element);
            return text ? PutText(token, amounts, com::Utf8FromWide(text)) : E_INVALIDARG;
        }
        if (token.storage == StringStorage::Object)
            return PutText(token, amounts, *reinterpret_cast<const std::string*>(element));
        const auto* text = Load<const char*>(element);
        return text ? PutText(token, amounts, text) : E_INVALIDARG;
    }

    template <class T>
    static T Load(const BYTE* element) {
        T value;
        std::memcpy(&value, element, sizeof value);
        return value;
    }

    static LONGLONG LoadInteger(const BYTE* element, VARTYPE vt) {
        switch (vt) {
            case VT_UI1: return Load<BYTE>(element);
            case VT_I2: return Load<SHORT>(element);
            case VT_I8: return Load<LONGLONG>(element);
            default: return Load<LONG>(element);
        }
    }

    HRESULT PutBlock(const FormatToken& token, const Amounts& amounts) {
        const ElementLayout layout = LayoutOf(kBlockElements, token.size);
        const BYTE* elements = nullptr;
        int total = 0;
        if (const HRESULT hr = TakeElements(token, amounts.count, layout, &elements, &total); FAILED(hr)) return hr;
        const std::size_t bytes = static_cast<std::size_t>(total) * layout.bytes;

        bool bigEndian = sink_.GetBigEndian();
        if (token.output() == OutputKind::RawBinary) {
            bigEndian = !token.littleEndian;
        } else if (token.output() == OutputKind::DefiniteBlock) {
            const std::string length = std::to_string(bytes);
            if (const HRESULT hr = Put(FormatText("#%zu%s", length.size(), length.c_str())); FAILED(hr)) return hr;
        } else if (const HRESULT hr = Put("#0"); FAILED(hr)) {
            return hr;
        }
        if (const HRESULT hr = PutElements(elements, static_cast<std::size_t>(total), layout.bytes, bigEndian);
            FAILED(hr))
            return hr;
        return token.output() == OutputKind::IndefiniteBlock ? sink_.WriteByte('\n', false) : S_OK;
    }

    HRESULT PutElements(const BYTE* elements, std::size_t count, std::size_t width, bool bigEndian) {
        constexpr std::size_t kChunkElements = 512;
        BYTE chunk[kChunkElements * 8];
        while (count > 0) {
            const std::size_t n = std::min(count, kChunkElements);
            CopyElements(chunk, elements, n, width, bigEndian);
            if (const HRESULT hr = Put(std::string_view(reinterpret_cast<const char*>(chunk), n * width)); FAILED(hr))
                return hr;
            elements += n * width;
            count -= n;
        }
        return S_OK;
    }

    IByteSink& sink_;
    ArgumentCursor& args_;
    const FormatServices& services_;
    std::string starConversion_;
};

}  // namespace

HRESULT FormattedOutput(IByteSink* sink, const char* format, ArgumentCursor& args, const FormatServices& services) {
    if (!sink) return E_INVALIDARG;
    if (!format || !*format) return S_OK;
    const FormatTokens* tokens = CachedFormatTokens(format, FormatDirection::Output);
    if (!tokens) return E_UNEXPECTED;
    return OutputRun(*sink, args, services).Run(*tokens);
}

HRESULT FormattedOutputV(IByteSink* sink, const char* format, va_list args, const FormatServices& services) {
    ArgumentCursor cursor(args);
    return FormattedOutput(sink, format, cursor, services);
}

HRESULT FormatToString(std::string& text, const FormatServices& services, const char* format, ...) {
    va_list args;
    va_start(args, format);
    CStringWriter writer(text);
    const HRESULT hr = FormattedOutputV(&writer, format, args, services);
    va_end(args);
    return hr;
}

}  // namespace zpv::io
