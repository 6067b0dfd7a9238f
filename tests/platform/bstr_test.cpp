#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/text_conversion.h"

namespace {

using zpv::com::AllocBstr;
using zpv::com::Utf8FromBstr;
using zpv::com::Utf8FromWide;
using zpv::com::ViewOf;
using zpv::com::WideFromUtf8;

TEST(Bstr, LengthPrefixAndEmbeddedNuls) {
    CComBSTR s;
    s.Attach(SysAllocStringLen(L"ab\0cd", 5));
    ASSERT_TRUE(s.Get());
    EXPECT_EQ(SysStringLen(s), 5u);
    EXPECT_EQ(SysStringByteLen(s), 5 * sizeof(OLECHAR));
    std::uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<const char*>(s.Get()) - sizeof(prefix), sizeof(prefix));
    EXPECT_EQ(prefix, 5 * sizeof(OLECHAR));
    EXPECT_EQ(s.Get()[5], L'\0');
    EXPECT_EQ(ViewOf(CComBSTR(s)), std::wstring_view(L"ab\0cd", 5));  // copies keep the full length

    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);

    // A byte-length string of odd size still ends in a whole wide NUL.
    CComBSTR bytes;
    bytes.Attach(SysAllocStringByteLen("abc", 3));
    EXPECT_EQ(SysStringByteLen(bytes), 3u);
    EXPECT_EQ(std::memcmp(bytes.Get(), "abc\0\0\0\0", 7), 0);
}

TEST(Bstr, ReallocFromInsideItself) {
    BSTR s = SysAllocString(L"hello world");
    ASSERT_EQ(SysReAllocString(&s, s + 6), 1);
    EXPECT_EQ(ViewOf(s), L"world");
    ASSERT_EQ(SysReAllocStringLen(&s, s + 1, 3), 1);
    EXPECT_EQ(ViewOf(s), L"orl");
    EXPECT_EQ(SysReAllocString(&s, nullptr), 1);
    EXPECT_EQ(s, nullptr);
}

TEST(Utf8, InvalidInputBecomesReplacementCharacters) {
    EXPECT_EQ(WideFromUtf8("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(WideFromUtf8("a\x80" "b"), L"a\uFFFDb");  // stray continuation byte
    EXPECT_EQ(WideFromUtf8("ab\xE2\x82"), L"ab\uFFFD\uFFFD");  // truncated at the end
    // An overlong '/' and an encoded surrogate must not decode to what they spell.
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        const std::wstring w = WideFromUtf8(bad);
        EXPECT_EQ(w.find_first_not_of(L'\uFFFD'), std::wstring::npos) << bad;
    }
    EXPECT_EQ(Utf8FromWide(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
}

TEST(Utf8, RoundTripsEveryPlane) {
    const std::string text = "A \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80";  // A é € U+1F600
    const std::wstring wide = WideFromUtf8(text);
    EXPECT_EQ(wide, std::wstring(L"A \u00E9 \u20AC ") + static_cast<wchar_t>(0x1F600));
    EXPECT_EQ(Utf8FromWide(wide), text);

    CComBSTR b;
    b.Attach(AllocBstr(std::string_view(text)));
    EXPECT_EQ(Utf8FromBstr(b), text);
    EXPECT_EQ(Utf8FromBstr(nullptr), "");
}

}  // namespace
