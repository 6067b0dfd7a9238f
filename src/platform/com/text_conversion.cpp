#include "platform/com/text_conversion.h"

namespace zpv::com {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at text[i], advancing i; malformed input yields U+FFFD and skips one byte.
char32_t DecodeUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int extra;
    char32_t cp;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) {  // truncated sequence
        ++i;
        return kReplacement;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

void EncodeUtf8(char32_t cp, std::string& out) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::wstring WideFromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) out += static_cast<wchar_t>(DecodeUtf8(text, i));
    return out;
}

std::string Utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) EncodeUtf8(static_cast<char32_t>(c), out);
    return out;
}

BSTR AllocBstr(std::wstring_view wide) { return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())); }

// Decoded straight into the BSTR: a long text is never held twice as wide characters.
BSTR AllocBstr(std::string_view utf8) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < utf8.size(); ++length) DecodeUtf8(utf8, i);
    if (length > 0x3FFFFFFFu) return nullptr;
    BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (!text) return nullptr;
    std::size_t at = 0;
    for (std::size_t i = 0; i < utf8.size();) text[at++] = static_cast<wchar_t>(DecodeUtf8(utf8, i));
    return text;
}

std::wstring_view ViewOf(BSTR bstr) {
    return bstr ? std::wstring_view(bstr, SysStringLen(bstr)) : std::wstring_view();
}

std::string Utf8FromBstr(BSTR bstr) { return Utf8FromWide(ViewOf(bstr)); }

}  // namespace zpv::com
