// The input engine: parses a response from the read buffer, token by token, into destinations.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "io/element_layout.h"
#include "io/enum_resolution.h"
#include "io/format_cache.h"
#include "io/formatted_io.h"
#include "io/io_failure.h"
#include "io/number_syntax.h"
#include "platform/com/text_conversion.h"

namespace zpv::io {

namespace {

bool IsSpace(int c) { return c >= 0 && std::isspace(c); }

// The read buffer seen one byte at a time, remembering whether the response has ended so that
// no read reaches into the next response.
class ByteReader {
public:
    explicit ByteReader(IIoBuffer& buffer) : buffer_(buffer) {}

    // The next byte, or -1 when the response has ended or a read failed.
    int Next() {
        if (ended_ || FAILED(failure_)) return -1;
        BYTE value = 0;
        LONG actual = 0;
        const HRESULT hr = buffer_.ReadByte(&value, &actual);
        if (FAILED(hr)) {
            failure_ = hr;
            return -1;
        }
        ended_ = hr == S_OK;
        return actual == 1 ? value : -1;
    }

    // Returns the byte Next just delivered.
    void Back() {
        const HRESULT hr = buffer_.PushBack();
        if (FAILED(hr)) {
            failure_ = hr;
        } else {
            ended_ = false;
        }
    }

    // What the buffer holds beyond the last byte handed out, for describing a bad response.
    std::string_view Unread() const { return buffer_.Unread(); }

    // Bytes of a definite-length block's data: whatever they are, and even where a line feed
    // among them seemed to end the response.
    LONG ReadData(BYTE* to, LONG count) {
        if (FAILED(failure_) || count <= 0) return 0;
        LONG actual = 0;
        const HRESULT hr = buffer_.ReadData(to, count, &actual);
        if (FAILED(hr)) {
            failure_ = hr;
        } else {
            ended_ = hr == S_OK;
        }
        return actual;
    }

    LONG ReadBlock(BYTE* to, LONG count) {
        if (ended_ || FAILED(failure_) || count <= 0) return 0;
        LONG actual = 0;
        const HRESULT hr = buffer_.Read(to, count, &actual, false);
        if (FAILED(hr)) {
            failure_ = hr;
        } else {
            ended_ = hr == S_OK;
        }
        return actual;
    }

    void SkipSpace() {
        for (int c = Next(); c >= 0; c = Next()) {
            if (!IsSpace(c)) {
                Back();
                return;
            }
        }
    }

    bool Ended() const { return ended_; }
    bool Failed() const { return FAILED(failure_); }
    // What a conversion returns when it succeeded: the end of the response or more to come.
    HRESULT Status() const { return FAILED(failure_) ? failure_ : ended_ ? S_OK : kStatusMoreData; }
    // A conversion that found no usable input: a read failure, or a malformed response.
    HRESULT Malformed() const { return FAILED(failure_) ? failure_ : E_UNEXPECTED; }
    // The same, described: what the format expected, and what came from the byte `got` on (-1:
    // the response had ended).
    HRESULT Unexpected(errors::IErrorReporter* reporter, std::string_view expected, int got) const {
        if (FAILED(failure_)) return failure_;
        std::string came;
        if (got >= 0) came.push_back(static_cast<char>(got));
        came += buffer_.Unread().substr(0, 40);
        return ReportUnexpectedResponse(reporter, expected, came);
    }
    bool BigEndian() const { return buffer_.GetBigEndian(); }

private:
    IIoBuffer& buffer_;
    HRESULT failure_ = S_OK;
    bool ended_ = false;
};

// "#" then a digit N then N digits of byte count; "#0" runs to the end of the response.
HRESULT BlockHeader(ByteReader& reader, errors::IErrorReporter* reporter, long long& byteCount) {
    constexpr std::string_view kExpected = "a definite-length block (\"#\", a digit N, N digits of length)";
    if (const int c = reader.Next(); c != '#') return reader.Unexpected(reporter, kExpected, c);
    const int lengthDigits = reader.Next();
    if (lengthDigits < '0' || lengthDigits > '9') return reader.Unexpected(reporter, kExpected, lengthDigits);
    byteCount = lengthDigits == '0' ? -1 : 0;
    for (int i = 0; i < lengthDigits - '0'; ++i) {
        const int c = reader.Next();
        if (c < '0' || c > '9') return reader.Unexpected(reporter, kExpected, c);
        byteCount = byteCount * 10 + (c - '0');
    }
    return S_OK;
}

// Reads byteCount bytes (-1: to the end of the response) as elements of width bytes, keeping
// at most capacity of them; returns how many were stored. The data of a definite-length block
// (blockData) is read whole whatever its bytes; raw binary stops where the response does.
int ReadElements(ByteReader& reader, long long byteCount, std::size_t width, bool bigEndian, BYTE* elements,
                 long long capacity, bool blockData) {
    const bool counted = blockData && byteCount > 0;
    constexpr std::size_t kChunk = 4096;
    BYTE chunk[kChunk];
    std::size_t partial = 0;  // bytes of an element begun in the previous chunk
    long long elementsRead = 0;
    int stored = 0;
    while (byteCount != 0 && (counted || !reader.Ended()) && !reader.Failed()) {
        const std::size_t room = (kChunk - partial) / width * width;
        const auto want = static_cast<LONG>(byteCount < 0 ? room : std::min<long long>(byteCount, room));
        const LONG got = counted ? reader.ReadData(chunk + partial, want) : reader.ReadBlock(chunk + partial, want);
        if (got <= 0) break;
        if (byteCount > 0) byteCount -= got;
        const std::size_t bytes = partial + static_cast<std::size_t>(got);
        const std::size_t whole = bytes / width;
        const long long keep = std::max<long long>(0, std::min<long long>(whole, capacity - elementsRead));
        if (elements && keep > 0) {
            CopyElements(elements + static_cast<std::size_t>(elementsRead) * width, chunk,
                         static_cast<std::size_t>(keep), width, bigEndian);
            stored += static_cast<int>(keep);
        }
        elementsRead += static_cast<long long>(whole);
        partial = bytes - whole * width;
        std::memmove(chunk, chunk + whole * width, partial);
    }
    return stored;
}

// Capacity and count of one conversion, with the '#' pointers they came from.
struct Limits {
    int width = -1;  // -1: none
    int count = -1;
    LONG* widthPointer = nullptr;
    LONG* countPointer = nullptr;
};

struct RadixOf {
    char conversion;
    unsigned base;
};
constexpr RadixOf kIntegerBases[] = {{'x', 16}, {'o', 8}, {'d', 10}, {'i', 10}, {'u', 10}};
constexpr RadixOf kFormBases[] = {{'H', 16}, {'Q', 8}, {'B', 2}};

template <std::size_t N>
unsigned BaseOf(const RadixOf (&table)[N], char letter, unsigned otherwise) {
    for (const RadixOf& row : table)
        if (row.conversion == letter) return row.base;
    return otherwise;
}

// A number as read: the characters that form it, without any "#H" or "0x" prefix.
struct NumberText {
    char text[128];
    std::size_t length = 0;
    bool Append(char c) {
        if (length + 1 >= sizeof text) return false;
        text[length++] = c;
        return true;
    }
    std::string_view view() const { return {text, length}; }
};

class InputRun {
public:
    InputRun(IIoBuffer& buffer, ArgumentCursor& args, const FormatServices& services)
        : reader_(buffer), args_(args), services_(services) {}

    HRESULT Run(const FormatTokens& tokens) {
        HRESULT status = kStatusMoreData;
        for (const FormatToken& token : tokens) {
            status = token.input() == InputKind::Literal ? Literal(token.literal) : Conversion(token);
            if (status != kStatusMoreData) return status;
        }
        return status;
    }

private:
    // White space in the format skips white space in the input; at the end of a literal it
    // takes at most one blank. Every other character must match.
    HRESULT Literal(std::string_view text) {
        std::size_t i = 0;
        while (i < text.size()) {
            if (IsSpace(static_cast<unsigned char>(text[i]))) {
                while (i < text.size() && IsSpace(static_cast<unsigned char>(text[i]))) ++i;
                if (i < text.size()) {
                    reader_.SkipSpace();
                } else if (const int c = reader_.Next(); c >= 0 && !IsSpace(c)) {
                    reader_.Back();
                }
                continue;
            }
            if (const int c = reader_.Next(); c != static_cast<unsigned char>(text[i]))
                return reader_.Unexpected(services_.reporter, "\"" + PrintableExcerpt(text.substr(i)) + "\"", c);
            ++i;
        }
        return reader_.Status();
    }

    HRESULT TakeLimits(const FormatToken& token, Limits& limits) {
        if (token.width.source == AmountSource::Pointer) {
            limits.widthPointer = args_.NextPointer<LONG>();
            if (!limits.widthPointer) return E_INVALIDARG;
            limits.width = std::max<LONG>(*limits.widthPointer, 0);
        } else if (token.width.source == AmountSource::Given) {
            limits.width = token.width.value;
        }
        if (token.count.source == AmountSource::Pointer) {
            limits.countPointer = args_.NextPointer<LONG>();
            if (!limits.countPointer) return E_INVALIDARG;
            limits.count = std::max<LONG>(*limits.countPointer, 0);
        } else if (token.count.source == AmountSource::Given) {
            limits.count = token.count.value;
        }
        return S_OK;
    }

    template <class T>
    T* Destination(const FormatToken& token) {
        return token.suppress ? nullptr : args_.NextPointer<T>();
    }

    HRESULT Conversion(const FormatToken& token) {
        Limits limits;
        if (const HRESULT hr = TakeLimits(token, limits); FAILED(hr)) return hr;
        HRESULT hr = E_UNEXPECTED;
        int stored = 0;
        switch (token.input()) {
            case InputKind::Integer:
            case InputKind::Real: hr = Scalar(token, limits, stored); break;
            case InputKind::Character: hr = Characters(token, limits, stored); break;
            case InputKind::Line:
            case InputKind::Rest:
            case InputKind::Word:
            case InputKind::CharacterSet: hr = Text(token, limits, stored); break;
            case InputKind::Enum:
            case InputKind::EnumCharacterSet: hr = EnumValue(token, limits, stored); break;
            case InputKind::IntegerList:
            case InputKind::RealList:
            case InputKind::StringList:
            case InputKind::EnumList: hr = List(token, limits, stored); break;
            case InputKind::DefiniteBlock:
            case InputKind::RawBinary: hr = Block(token, limits, stored); break;
            case InputKind::Literal: break;
        }
        if (FAILED(hr)) return hr;
        if (limits.widthPointer) *limits.widthPointer = stored;
        if (limits.countPointer) *limits.countPointer = stored;
        return reader_.Status();
    }

    // ----- numbers

    bool IsReal(const FormatToken& token) const {
        return token.input() == InputKind::Real || token.input() == InputKind::RealList;
    }
    // "#H", "#Q" or "#B" numbers are integers whatever the conversion.
    static char RadixLetter(const FormatToken& token) {
        return BaseOf(kFormBases, token.numberForm, 0) ? token.numberForm : 0;
    }
    bool ReadsAsReal(const FormatToken& token) const { return IsReal(token) && !RadixLetter(token); }

    // Reads the longest run that forms a number of the token's conversion; the byte that ends it
    // goes back. consumed counts every byte taken, prefixes included.
    HRESULT ReadNumber(const FormatToken& token, int width, NumberText& number, int& consumed) {
        reader_.SkipSpace();
        const int limit = width > 0 ? width : INT_MAX;
        consumed = 0;
        RealSyntax real;
        IntegerSyntax integer(BaseFor(token), RadixLetter(token));
        const bool readsReal = ReadsAsReal(token);
        while (consumed < limit) {
            const int c = reader_.Next();
            if (c < 0) break;
            bool prefix = false;
            const bool accepted =
                readsReal ? real.Accept(static_cast<char>(c)) : integer.Accept(static_cast<char>(c), prefix);
            if (!accepted || (!prefix && !number.Append(static_cast<char>(c)))) {
                reader_.Back();
                break;
            }
            ++consumed;
        }
        if (readsReal ? real.HasDigits() : integer.HasDigits()) return S_OK;
        if (reader_.Failed()) return reader_.Malformed();
        std::string came(number.view());
        came += reader_.Unread().substr(0, 40);
        return ReportUnexpectedResponse(services_.reporter, ExpectedNumber(token), came);
    }

    // What a numeric conversion reads into, and the values that fit it.
    struct IntegerTarget {
        const char* name;
        LONGLONG min;
        ULONGLONG max;
    };
    IntegerTarget TargetOf(const FormatToken& token) const {
        // Unsigned conversions and "#H"/"#Q"/"#B" numbers are bit patterns: the type's unsigned range.
        const bool bits = token.conversion == 'u' || token.conversion == 'x' || token.conversion == 'o' ||
                          RadixLetter(token) != 0;
        switch (token.size) {
            case 'b': return {"an 8-bit unsigned integer (0 to 255)", 0, 255};
            case 'h':
                return bits ? IntegerTarget{"a 16-bit unsigned integer (0 to 65535)", 0, 65535}
                            : IntegerTarget{"a 16-bit integer (-32768 to 32767)", -32768, 32767};
            case 'I':
                return bits ? IntegerTarget{"a 64-bit unsigned integer", 0, ULLONG_MAX}
                            : IntegerTarget{"a 64-bit integer", LLONG_MIN, static_cast<ULONGLONG>(LLONG_MAX)};
            default:
                return bits ? IntegerTarget{"a 32-bit unsigned integer (0 to 4294967295)", 0, 4294967295ULL}
                            : IntegerTarget{"a 32-bit integer (-2147483648 to 2147483647)", INT32_MIN, INT32_MAX};
        }
    }
    std::string ExpectedNumber(const FormatToken& token) const {
        if (ReadsAsReal(token)) return "a real number";
        if (IsReal(token)) return "a number";
        return TargetOf(token).name;
    }
    HRESULT NumberDoesNotFit(const FormatToken& token, std::string_view text) {
        return ReportUnexpectedResponse(services_.reporter, ExpectedNumber(token), text);
    }

    unsigned BaseFor(const FormatToken& token) const {
        if (const unsigned base = BaseOf(kFormBases, token.numberForm, 0)) return base;
        return BaseOf(kIntegerBases, token.conversion, 10);
    }

    // The value of integer text; false when it does not fit 64 bits. negative tells which of the
    // two values holds it.
    bool IntegerValue(const FormatToken& token, std::string_view text, LONGLONG& signedValue,
                      ULONGLONG& unsignedValue, bool& negative) const {
        const std::string owned(text);
        const int base = static_cast<int>(BaseFor(token));
        negative = !owned.empty() && owned[0] == '-';
        errno = 0;
        if (negative) {
            signedValue = std::strtoll(owned.c_str(), nullptr, base);
            unsignedValue = 0;
        } else {
            unsignedValue = std::strtoull(owned.c_str(), nullptr, base);
            signedValue = static_cast<LONGLONG>(unsignedValue);
        }
        return errno != ERANGE;
    }

    template <class Real>
    static Real RealValue(std::string_view text) {
        if (!text.empty() && text[0] == '+') text.remove_prefix(1);
        Real value = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        // Out of range: the C library's answer (HUGE_VAL or 0) with the sign of the text.
        if (result.ec == std::errc::result_out_of_range) {
            const std::string owned(text);
            value = static_cast<Real>(std::strtod(owned.c_str(), nullptr));
        }
        return value;
    }

    // Stores the number text into one destination element of the token's size; a value that does
    // not fit it fails as a response that is not such a number, and nothing is stored.
    HRESULT StoreNumber(const FormatToken& token, std::string_view text, void* destination) {
        if (ReadsAsReal(token)) {
            if (token.size == 'l' || token.size == 'L')
                *static_cast<double*>(destination) = RealValue<double>(text);
            else
                *static_cast<float*>(destination) = RealValue<float>(text);
            return S_OK;
        }
        LONGLONG value = 0;
        ULONGLONG magnitude = 0;
        bool negative = false;
        const bool in64 = IntegerValue(token, text, value, magnitude, negative);
        if (IsReal(token)) {
            if (!in64) return NumberDoesNotFit(token, text);
            const double real = negative ? static_cast<double>(value) : static_cast<double>(magnitude);
            if (token.size == 'l' || token.size == 'L')
                *static_cast<double*>(destination) = real;
            else
                *static_cast<float*>(destination) = static_cast<float>(real);
            return S_OK;
        }
        const IntegerTarget target = TargetOf(token);
        if (!in64 || (negative ? value < target.min : magnitude > target.max)) return NumberDoesNotFit(token, text);
        switch (token.size) {
            case 'b': *static_cast<BYTE*>(destination) = static_cast<BYTE>(value); break;
            case 'h': *static_cast<SHORT*>(destination) = static_cast<SHORT>(value); break;
            case 'I': *static_cast<LONGLONG*>(destination) = value; break;
            default: *static_cast<LONG*>(destination) = static_cast<LONG>(value); break;
        }
        return S_OK;
    }

    HRESULT Scalar(const FormatToken& token, const Limits& limits, int& stored) {
        void* destination = Destination<void>(token);
        if (!token.suppress && !destination) return E_INVALIDARG;
        NumberText number;
        if (const HRESULT hr = ReadNumber(token, limits.width, number, stored); FAILED(hr)) return hr;
        return destination ? StoreNumber(token, number.view(), destination) : S_OK;
    }

    // ----- characters and strings

    HRESULT Characters(const FormatToken& token, const Limits& limits, int& stored) {
        char* destination = Destination<char>(token);
        if (!token.suppress && !destination) return E_INVALIDARG;
        const int wanted = limits.width > 0 ? limits.width : 1;
        for (stored = 0; stored < wanted; ++stored) {
            const int c = reader_.Next();
            if (c < 0) break;
            if (destination) destination[stored] = static_cast<char>(c);
        }
        return reader_.Failed() ? reader_.Status() : S_OK;
    }

    // Reads one field of a text conversion (line, rest, word, character set).
    void ReadField(const FormatToken& token, std::string& field) {
        switch (token.input()) {
            case InputKind::Line:
                for (int c = reader_.Next(); c >= 0 && c != '\n'; c = reader_.Next())
                    field.push_back(static_cast<char>(c));
                return;
            case InputKind::Rest:
                for (int c = reader_.Next(); c >= 0; c = reader_.Next()) field.push_back(static_cast<char>(c));
                return;
            case InputKind::CharacterSet:
            case InputKind::EnumCharacterSet:
                for (int c = reader_.Next(); c >= 0; c = reader_.Next()) {
                    if (!token.characterSet.test(static_cast<unsigned>(c))) {
                        reader_.Back();
                        return;
                    }
                    field.push_back(static_cast<char>(c));
                }
                return;
            default: ReadWord(token, "", field); return;
        }
    }

    // A word ends at white space or, inside a list, at a separator; the white space after it is
    // skipped. With a quote letter, a quoted value is one word, separators and blanks included.
    void ReadWord(const FormatToken& token, std::string_view separators, std::string& word) {
        reader_.SkipSpace();
        int c = reader_.Next();
        if (token.quote && c == token.quote) {
            for (c = reader_.Next(); c >= 0 && c != token.quote; c = reader_.Next())
                word.push_back(static_cast<char>(c));
            if (separators.empty()) reader_.SkipSpace();
            return;
        }
        for (; c >= 0; c = reader_.Next()) {
            if (IsSpace(c) || separators.find(static_cast<char>(c)) != std::string_view::npos) {
                reader_.Back();
                break;
            }
            word.push_back(static_cast<char>(c));
        }
        if (separators.empty()) reader_.SkipSpace();
    }

    // Stores text by the token's storage; a narrow array of width bytes keeps width - 1 of them.
    HRESULT StoreText(const FormatToken& token, int width, std::string_view text, void* destination, int& stored) {
        if (width > 0) text = text.substr(0, static_cast<std::size_t>(width - 1));
        stored = static_cast<int>(text.size());
        if (!destination) return S_OK;
        switch (token.storage) {
            case StringStorage::Narrow: {
                auto* narrow = static_cast<char*>(destination);
                std::memcpy(narrow, text.data(), text.size());
                narrow[text.size()] = '\0';
                return S_OK;
            }
            case StringStorage::Wide: {
                auto* wide = static_cast<BSTR*>(destination);
                SysFreeString(*wide);
                *wide = com::AllocBstr(text);
                return *wide ? S_OK : E_OUTOFMEMORY;
            }
            case StringStorage::Object: static_cast<std::string*>(destination)->assign(text); return S_OK;
        }
        return E_UNEXPECTED;
    }

    HRESULT Text(const FormatToken& token, const Limits& limits, int& stored) {
        void* destination = Destination<void>(token);
        if (!token.suppress && !destination) return E_INVALIDARG;
        std::string field;
        ReadField(token, field);
        if (reader_.Failed()) return reader_.Status();
        return StoreText(token, limits.width, field, destination, stored);
    }

    // ----- enums


    HRESULT EnumFromText(const FormatToken& token, const keywords::IEnumCommandConverter& converter, std::string_view text,
                         LONG* value) {
        const std::string_view model = EnumModel(services_);
        if (converter.FromCommand(model, text, value)) return S_OK;
        return ReportIoFailure(services_.reporter, FormatText("Unexpected value '%s' for enum '%s'.",
                                                              std::string(text).c_str(), token.enumName.c_str()));
    }

    void StoreEnum(const FormatToken& token, LONG value, void* destination) {
        if (token.booleanEnum)
            *static_cast<VARIANT_BOOL*>(destination) = static_cast<VARIANT_BOOL>(value);
        else
            *static_cast<LONG*>(destination) = value;
    }

    HRESULT EnumValue(const FormatToken& token, const Limits& limits, int& stored) {
        void* destination = Destination<void>(token);
        if (!token.suppress && !destination) return E_INVALIDARG;
        const keywords::IEnumCommandConverter* converter = nullptr;
        if (const HRESULT hr = ResolveEnum(services_, token, &converter); FAILED(hr)) return hr;
        std::string field;
        ReadField(token, field);
        if (reader_.Failed()) return reader_.Status();
        if (limits.width > 0 && field.size() > static_cast<std::size_t>(limits.width))
            field.resize(static_cast<std::size_t>(limits.width));
        LONG value = 0;
        if (const HRESULT hr = EnumFromText(token, *converter, field, &value); FAILED(hr)) return hr;
        if (destination) StoreEnum(token, value, destination);
        stored = 1;
        return S_OK;
    }

    // ----- lists

    ElementLayout ListLayout(const FormatToken& token) const {
        switch (token.input()) {
            case InputKind::IntegerList: return LayoutOf(kIntegerElements, token.size);
            case InputKind::RealList: return LayoutOf(kRealElements, token.size);
            case InputKind::StringList:
                if (token.safeArray || token.storage == StringStorage::Wide) return {0, sizeof(BSTR), VT_BSTR};
                if (token.storage == StringStorage::Object) return {0, sizeof(std::string), VT_EMPTY};
                return {0, 1, VT_EMPTY};  // char rows of width bytes
            default: return EnumElementLayout(token);
        }
    }

    // The destination elements and how many of them may be filled.
    HRESULT TakeElements(const FormatToken& token, const Limits& limits, const ElementLayout& layout, BYTE** elements,
                         long long* capacity) {
        *elements = nullptr;
        *capacity = limits.count >= 0 ? limits.count : LLONG_MAX;
        if (token.suppress) return S_OK;
        if (token.safeArray) {
            auto* array = args_.NextPointer<SAFEARRAY>();
            if (FAILED(CheckVector(array, layout.vt))) return E_INVALIDARG;
            *capacity = std::min<long long>(*capacity, array->rgsabound[0].cElements);
            *elements = static_cast<BYTE*>(array->pvData);
            return S_OK;
        }
        *elements = args_.NextPointer<BYTE>();
        if (limits.count < 0) return E_UNEXPECTED;
        return *elements ? S_OK : E_INVALIDARG;
    }

    HRESULT ListElement(const FormatToken& token, const Limits& limits, const ElementLayout& layout,
                        const keywords::IEnumCommandConverter* converter, BYTE* element) {
        switch (token.input()) {
            case InputKind::IntegerList:
            case InputKind::RealList: {
                NumberText number;
                int consumed = 0;
                if (const HRESULT hr = ReadNumber(token, limits.width, number, consumed); FAILED(hr)) return hr;
                if (element) {
                    if (const HRESULT hr = StoreNumber(token, number.view(), element); FAILED(hr)) return hr;
                }
                return S_OK;
            }
            case InputKind::EnumList: {
                std::string word;
                ReadWord(token, token.separators, word);
                LONG value = 0;
                if (const HRESULT hr = EnumFromText(token, *converter, word, &value); FAILED(hr)) return hr;
                if (element) StoreEnum(token, value, element);
                return S_OK;
            }
            default: {
                std::string word;
                ReadWord(token, token.separators, word);
                if (reader_.Failed()) return reader_.Status();
                int ignored = 0;
                if (!element) return S_OK;
                if (layout.vt == VT_BSTR) {
                    FormatToken wide = token;
                    wide.storage = StringStorage::Wide;
                    return StoreText(wide, -1, word, element, ignored);
                }
                return StoreText(token, limits.width, word, element, ignored);
            }
        }
    }

    // After an element: white space is skipped, a separator leads to the next element, and any
    // other byte ends the list.
    bool SeparatorFollows(std::string_view separators) {
        for (int c = reader_.Next(); c >= 0; c = reader_.Next()) {
            if (separators.find(static_cast<char>(c)) != std::string_view::npos) return true;
            if (!IsSpace(c)) {
                reader_.Back();
                return false;
            }
        }
        return false;
    }

    HRESULT List(const FormatToken& token, const Limits& limits, int& stored) {
        const ElementLayout layout = ListLayout(token);
        const keywords::IEnumCommandConverter* converter = nullptr;
        if (token.input() == InputKind::EnumList) {
            if (const HRESULT hr = ResolveEnum(services_, token, &converter); FAILED(hr)) return hr;
        }
        if (token.input() == InputKind::StringList && layout.vt == VT_EMPTY && layout.bytes == 1 && limits.width <= 0 &&
            !token.suppress)
            return E_UNEXPECTED;  // narrow rows need their width
        BYTE* elements = nullptr;
        long long capacity = 0;
        if (const HRESULT hr = TakeElements(token, limits, layout, &elements, &capacity); FAILED(hr)) return hr;
        const std::size_t stride =
            layout.bytes == 1 && layout.vt == VT_EMPTY ? static_cast<std::size_t>(limits.width) : layout.bytes;
        stored = 0;
        while (stored < capacity) {
            BYTE* element = elements ? elements + static_cast<std::size_t>(stored) * stride : nullptr;
            if (const HRESULT hr = ListElement(token, limits, layout, converter, element); FAILED(hr)) return hr;
            ++stored;
            if (stored >= capacity || reader_.Ended() || !SeparatorFollows(token.separators)) break;
        }
        return reader_.Failed() ? reader_.Status() : S_OK;
    }

    // ----- binary

    HRESULT Block(const FormatToken& token, const Limits& limits, int& stored) {
        const ElementLayout layout = LayoutOf(kBlockElements, token.size);
        const bool raw = token.input() == InputKind::RawBinary;
        if (raw && limits.count < 0 && (!token.safeArray || token.suppress)) return E_UNEXPECTED;
        BYTE* elements = nullptr;
        long long capacity = 0;
        if (const HRESULT hr = TakeElements(token, limits, layout, &elements, &capacity); FAILED(hr)) return hr;

        long long byteCount = 0;
        if (raw) {
            byteCount = capacity * static_cast<long long>(layout.bytes);
        } else if (const HRESULT hr = BlockHeader(reader_, services_.reporter, byteCount); FAILED(hr)) {
            return hr;
        }
        const bool bigEndian = raw ? !token.littleEndian : reader_.BigEndian();
        stored = ReadElements(reader_, byteCount, layout.bytes, bigEndian, elements, capacity, !raw);
        return reader_.Failed() ? reader_.Status() : S_OK;
    }

    ByteReader reader_;
    ArgumentCursor& args_;
    const FormatServices& services_;
};

}  // namespace

HRESULT FormattedInput(IIoBuffer* buffer, const char* format, ArgumentCursor& args, const FormatServices& services) {
    if (!buffer) return E_INVALIDARG;
    if (!format || !*format) return S_OK;
    const FormatTokens* tokens = CachedFormatTokens(format, FormatDirection::Input);
    if (!tokens) return E_UNEXPECTED;
    return InputRun(*buffer, args, services).Run(*tokens);
}

HRESULT ReadBlockElements(IIoBuffer* buffer, std::size_t width, std::vector<BYTE>& data) {
    if (!buffer || width == 0) return E_INVALIDARG;
    ByteReader reader(*buffer);
    long long byteCount = 0;
    if (const HRESULT hr = BlockHeader(reader, nullptr, byteCount); FAILED(hr)) return hr;
    if (byteCount < 0) {
        // "#0": everything up to the end of the response.
        BYTE chunk[4096];
        for (LONG got; (got = reader.ReadBlock(chunk, sizeof chunk)) > 0;) data.insert(data.end(), chunk, chunk + got);
        if (reader.Failed()) return reader.Status();
        data.resize(data.size() / width * width);
        CopyElements(data.data(), std::vector<BYTE>(data).data(), data.size() / width, width, buffer->GetBigEndian());
        return reader.Status();
    }
    const long long elements = byteCount / static_cast<long long>(width);
    data.resize(static_cast<std::size_t>(elements) * width);
    const int stored = ReadElements(reader, byteCount, width, buffer->GetBigEndian(), data.data(), elements, true);
    data.resize(static_cast<std::size_t>(stored) * width);
    return reader.Status();
}

HRESULT FormattedInputV(IIoBuffer* buffer, const char* format, va_list args, const FormatServices& services) {
    ArgumentCursor cursor(args);
    return FormattedInput(buffer, format, cursor, services);
}

}  // namespace zpv::io
