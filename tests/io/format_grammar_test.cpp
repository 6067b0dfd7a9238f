#include "io/format_grammar.h"

#include <gtest/gtest.h>

#include <cstring>

#include "io/format_cache.h"

namespace zpv::io {
namespace {

struct GrammarCase {
    FormatDirection direction;
    const char* format;
    int kind;  // kind of the first token; -1 when the format must not tokenize
};

class FormatGrammarTest : public ::testing::TestWithParam<GrammarCase> {};

TEST_P(FormatGrammarTest, AcceptsExactlyTheGrammar) {
    FormatTokens tokens;
    const bool accepted = TokenizeFormat(GetParam().format, GetParam().direction, tokens);
    ASSERT_EQ(accepted, GetParam().kind >= 0) << GetParam().format;
    if (accepted) {
        EXPECT_EQ(tokens.front().kind, GetParam().kind) << GetParam().format;
    }
}

constexpr auto O = FormatDirection::Output;
constexpr auto I = FormatDirection::Input;

INSTANTIATE_TEST_SUITE_P(
    Output, FormatGrammarTest,
    ::testing::Values(GrammarCase{O, "%-+0 12.3ld", 1}, GrammarCase{O, "%@H 6bd", 1}, GrammarCase{O, "%0*d", 1},
                      GrammarCase{O, "%(;) 3$S hd", 2}, GrammarCase{O, "%.*Lg", 3}, GrammarCase{O, "%,*f", 4},
                      GrammarCase{O, "% 3$S Zb", 5}, GrammarCase{O, "%*hB", 6}, GrammarCase{O, "%4!ol $S ly", 7},
                      GrammarCase{O, "% - 3.2c", 8}, GrammarCase{O, "%-10.3$B Qs", 9}, GrammarCase{O, "%(n)2$Cqs", 10},
                      GrammarCase{O, "%{ VARIANT_BOOL } -6s", 11}, GrammarCase{O, "%{Range},3Qs", 12},
                      GrammarCase{O, "%%", 0}, GrammarCase{O, "%k", -1}, GrammarCase{O, "%@5d", -1},
                      GrammarCase{O, "%(;:)3d", -1}, GrammarCase{O, "%+s", -1}, GrammarCase{O, "%.d", -1},
                      GrammarCase{O, "%#d", -1}, GrammarCase{O, "%{}s", -1}, GrammarCase{O, "%!ox3y", -1}));

INSTANTIATE_TEST_SUITE_P(
    Input, FormatGrammarTest,
    ::testing::Values(GrammarCase{I, "%* #ld", 1}, GrammarCase{I, "%@Q 5hd", 1}, GrammarCase{I, "%(;:st)#$S d", 2},
                      GrammarCase{I, "%Lg", 3}, GrammarCase{I, "%,10lf", 4}, GrammarCase{I, "%*#$S zb", 5},
                      GrammarCase{I, "%8!ob Iy", 6}, GrammarCase{I, "%#c", 7}, GrammarCase{I, "%80$C T", 8},
                      GrammarCase{I, "%$Bt", 9}, GrammarCase{I, "%*s", 10}, GrammarCase{I, "%[^,]", 11},
                      GrammarCase{I, "%(,;)#$CQs", 12}, GrammarCase{I, "%{Range}s", 13},
                      GrammarCase{I, "%{Range}[A-Z]", 14}, GrammarCase{I, "%{VARIANT_BOOL},#s", 15},
                      GrammarCase{I, "%.3d", -1}, GrammarCase{I, "%-d", -1}, GrammarCase{I, "%*c%[]", -1},
                      GrammarCase{I, "%{ Range }s", -1}, GrammarCase{I, "%,*d", -1}, GrammarCase{I, "%B", -1}));

TEST(FormatCacheTest, ReusedBufferWithNewTextIsTokenizedAgain) {
    char format[16];
    std::strcpy(format, "%d");
    const FormatTokens* first = CachedFormatTokens(format, FormatDirection::Output);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->front().conversion, 'd');
    std::strcpy(format, "%s");
    const FormatTokens* second = CachedFormatTokens(format, FormatDirection::Output);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->front().conversion, 's');
    EXPECT_EQ(CachedFormatTokens(format, FormatDirection::Output), second);
    std::strcpy(format, "%k");
    EXPECT_EQ(CachedFormatTokens(format, FormatDirection::Output), nullptr);
}

}  // namespace
}  // namespace zpv::io
