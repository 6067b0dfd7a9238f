// What the compile-time format check accepts and refuses; the rows themselves are checked where
// they are declared. The check and the engines share one grammar, so what the engines refuse
// for a direction the check refuses too.
#include "members/format_fit.h"

#include <gtest/gtest.h>

#include "ZPV4870.h"
#include "io/format_grammar.h"

namespace zpv::members {
namespace {

static_assert(FormatFits<void, double>("OUTP:FREQ %0.15lg", Sent) && !FormatFits<void, LONG>("%lg", Read));
static_assert(FormatFits<void, LONG>("%d", Read) && !FormatFits<void, VARIANT_BOOL>("%d", Read), "a 16-bit boolean is no %d");
static_assert(!FormatFits<void, ZPV4870RangeEnum>("%{ZPV4870WaveformEnum}s", Sent), "another enumeration's keywords");
static_assert(FormatFits<void, VARIANT_BOOL>("OUTP %{VARIANT_BOOL}s", Sent) && !FormatFits<void, BSTR>("%s", Sent));
static_assert(FormatFits<void, BSTR, BSTR>("MAN:FILE:COPY %$BQs,%$BQs", Sent) && FormatFits<void>("100%% done", Sent));
static_assert(!FormatFits<void>("VOLT %lg", Sent) && !FormatFits<void, double, double>("VOLT %lg", Sent), "counts must agree");
static_assert(!FormatFits<void, double, ZPV4870DCGenerationEnum>("MAN:COUP %{ZPV4870DCGenerationEnum}s;VOLT:DC %0.15lg", Sent),
              "order matters");

// The direction decides: a rest-of-response string is read, never sent; quoting is for strings.
static_assert(FormatFits<void, BSTR>("%$Bt", Read) && !FormatFits<void, BSTR>("NAME %$Bt", Sent));
static_assert(!FormatFits<void, LONG>("%qd", Read) && !FormatFits<void, LONG>("%qd", Sent));
static_assert(FormatFits<void, BSTR>("%$BQs", Sent) && !FormatFits<void, BSTR>("%$BQs", Read));
// Forms the engines take are taken here too: IEEE 488.2 number forms, lists of numbers.
static_assert(FormatFits<void, LONG>("COUN %@1d", Sent) && FormatFits<void, double>("%@2lf", Sent));
static_assert(FormatFits<void, SAFEARRAY*>("DATA %,lg", Sent) && FormatFits<void, SAFEARRAY*>("%,lf", Read));
// Amounts taken from arguments and suppressed reads have no value of the member behind them.
static_assert(!FormatFits<void, double>("%*lg", Sent) && !FormatFits<void, double>("%*lg", Read));

// Every format the check accepts for a direction the engines tokenize for it, and the other way
// round for these samples.
TEST(FormatFit, AgreesWithTheEngines) {
    struct Sample {
        const char* format;
        io::FormatDirection direction;
        bool fits;
    };
    const Sample samples[] = {
        {"NAME %$Bt", Sent, false}, {"%$Bt", Read, true}, {"%qd", Read, false}, {"%@1d", Sent, true},
        {"%lg", Read, true},        {"%$BQs", Read, false}, {"%$BQs", Sent, true},
    };
    for (const Sample& s : samples) {
        io::FormatTokens tokens;
        EXPECT_EQ(io::TokenizeFormat(s.format, s.direction, tokens), s.fits) << s.format;
    }
}

TEST(FormatFit, TypeNamesAreTheEnumerationNames) {
    EXPECT_EQ(format_fit::TypeName<ZPV4870RangeEnum>(), "ZPV4870RangeEnum");
    EXPECT_EQ(format_fit::TypeName<ZPV4870SychronousSignalEnum>(), "ZPV4870SychronousSignalEnum");
}

}  // namespace
}  // namespace zpv::members
