// What the compile-time format check accepts and refuses; the rows themselves are checked where
// they are declared.
#include "members/format_fit.h"

#include <gtest/gtest.h>

#include "ZPV4870.h"

namespace zpv::members {
namespace {

static_assert(FormatFits<void, double>("OUTP:FREQ %0.15lg") && !FormatFits<void, LONG>("%lg"));
static_assert(FormatFits<void, LONG>("%d") && !FormatFits<void, VARIANT_BOOL>("%d"), "a 16-bit boolean is no %d");
static_assert(!FormatFits<void, ZPV4870RangeEnum>("%{ZPV4870WaveformEnum}s"), "another enumeration's keywords");
static_assert(FormatFits<void, VARIANT_BOOL>("OUTP %{VARIANT_BOOL}s") && !FormatFits<void, BSTR>("%s"));
static_assert(FormatFits<void, BSTR, BSTR>("MAN:FILE:COPY %$BQs,%$BQs") && FormatFits<void>("100%% done"));
static_assert(!FormatFits<void>("VOLT %lg") && !FormatFits<void, double, double>("VOLT %lg"), "counts must agree");
static_assert(!FormatFits<void, double, ZPV4870DCGenerationEnum>("MAN:COUP %{ZPV4870DCGenerationEnum}s;VOLT:DC %0.15lg"),
              "order matters");

TEST(FormatFit, TypeNamesAreTheEnumerationNames) {
    EXPECT_EQ(format_fit::TypeName<ZPV4870RangeEnum>(), "ZPV4870RangeEnum");
    EXPECT_EQ(format_fit::TypeName<ZPV4870SychronousSignalEnum>(), "ZPV4870SychronousSignalEnum");
}

}  // namespace
}  // namespace zpv::members
