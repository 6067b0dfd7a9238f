#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/text_conversion.h"

namespace {

using zpv::com::Utf8FromBstr;
using zpv::com::Utf8FromWide;
using zpv::com::ViewOf;
using zpv::com::WideFromUtf8;

TEST(Bstr, LengthPrefixEmbeddedNulsAndOverlap) {
    CComBSTR s;
    s.Attach(SysAllocStringLen(L"ab\0cd", 5));
    std::uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<const char*>(s.Get()) - sizeof(prefix), sizeof(prefix));
    EXPECT_EQ(prefix, 5 * sizeof(OLECHAR));
    EXPECT_EQ(s.Get()[5], L'\0');
    EXPECT_EQ(ViewOf(CComBSTR(s)), std::wstring_view(L"ab\0cd", 5));

    CComBSTR bytes;  // an odd byte length still ends in a whole wide NUL
    bytes.Attach(SysAllocStringByteLen("abc", 3));
    EXPECT_EQ(SysStringByteLen(bytes), 3u);
    EXPECT_EQ(std::memcmp(bytes.Get(), "abc\0\0\0\0", 7), 0);

    BSTR r = SysAllocString(L"hello world");
    ASSERT_EQ(SysReAllocString(&r, r + 6), 1);
    EXPECT_EQ(ViewOf(r), L"world");
    SysFreeString(r);
}

TEST(Utf8, InvalidInputBecomesReplacementCharacters) {
    EXPECT_EQ(WideFromUtf8("a\xFF" "b\x80"), L"a\uFFFDb\uFFFD");
    // Overlong, surrogate, beyond-Unicode and truncated forms must not decode to anything else.
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"})
        EXPECT_EQ(WideFromUtf8(bad).find_first_not_of(L'\uFFFD'), std::wstring::npos) << bad;
    EXPECT_EQ(Utf8FromWide(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
}

TEST(Utf8, RoundTripsOutsideTheBasicPlane) {
    const std::string text = "A \xC3\xA9 \xF0\x9F\x98\x80";  // A, e-acute, U+1F600
    const std::wstring wide = WideFromUtf8(text);
    EXPECT_EQ(wide, std::wstring(L"A \u00E9 ") + static_cast<wchar_t>(0x1F600));
    CComBSTR b;
    b.Attach(zpv::com::AllocBstr(std::string_view(text)));
    EXPECT_EQ(Utf8FromBstr(b), text);
}

// Runs of ASCII are widened in blocks; a character of any length may start at any offset from
// them, an invalid byte too, and the text may end anywhere.
TEST(Utf8, LongTextsDecodeExactlyAroundEveryBlockBoundary) {
    struct Piece {
        const char* utf8;
        std::wstring wide;
    };
    const Piece pieces[] = {{"\xC3\xA9", L"\u00E9"},
                            {"\xE2\x82\xAC", L"\u20AC"},
                            {"\xF0\x9F\x98\x80", std::wstring(1, static_cast<wchar_t>(0x1F600))},
                            {"\xFF", L"\uFFFD"}};
    for (const Piece& piece : pieces) {
        for (std::size_t offset = 0; offset < 40; ++offset) {
            std::string text(offset, 'a');
            std::wstring expected(offset, L'a');
            text += piece.utf8;
            expected += piece.wide;
            text.append(33 - offset % 7, 'z');
            expected.append(33 - offset % 7, L'z');
            CComBSTR b;
            b.Attach(zpv::com::AllocBstr(std::string_view(text)));
            ASSERT_EQ(ViewOf(b), expected) << "offset " << offset;
            EXPECT_EQ(b.Get()[expected.size()], L'\0');
            EXPECT_EQ(WideFromUtf8(text), expected);
        }
    }
    // Mostly multi-byte: the spare room goes back, the text stays.
    std::string many;
    for (int i = 0; i < 50000; ++i) many += "\xF0\x9F\x98\x80";
    CComBSTR b;
    b.Attach(zpv::com::AllocBstr(std::string_view(many)));
    EXPECT_EQ(SysStringLen(b), 50000u);
    EXPECT_EQ(Utf8FromBstr(b), many);
}

}  // namespace
