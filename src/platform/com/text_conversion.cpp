#include "platform/com/text_conversion.h"

#include <cstdint>
#include <cstring>

#include "platform/com/bstr_storage.h"

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

// Decodes the whole text into out, which has room for text.size() characters (no code point
// takes less than a byte); the number written. Runs of ASCII are widened 16 bytes at a time.
std::size_t DecodeInto(std::string_view text, wchar_t* out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0, at = 0;
    while (i < size) {
        while (i + 16 <= size) {
            std::uint64_t low, high;
            std::memcpy(&low, bytes + i, 8);
            std::memcpy(&high, bytes + i + 8, 8);
            if ((low | high) & 0x8080808080808080ull) break;
            for (std::size_t k = 0; k < 16; ++k) out[at + k] = bytes[i + k];
            i += 16;
            at += 16;
        }
        if (i < size) out[at++] = static_cast<wchar_t>(DecodeUtf8(text, i));
    }
    return at;
}

}  // namespace

std::wstring WideFromUtf8(std::string_view text) {
    std::wstring out(text.size(), L'\0');
    out.resize(DecodeInto(text, out.data()));
    return out;
}

std::string Utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) EncodeUtf8(static_cast<char32_t>(c), out);
    return out;
}

BSTR AllocBstr(std::wstring_view wide) { return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())); }

// Decoded once, straight into the BSTR: a long text is never held twice as wide characters, and
// its storage is neither zero-filled nor measured in a pass of its own.
BSTR AllocBstr(std::string_view utf8) {
    BSTR text = ReserveBstr(utf8.size());
    return text ? FinishBstr(text, DecodeInto(utf8, text)) : nullptr;
}

std::wstring_view ViewOf(BSTR bstr) {
    return bstr ? std::wstring_view(bstr, SysStringLen(bstr)) : std::wstring_view();
}

std::string Utf8FromBstr(BSTR bstr) { return Utf8FromWide(ViewOf(bstr)); }

}  // namespace zpv::com
