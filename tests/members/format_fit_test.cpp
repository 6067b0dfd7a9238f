// What the compile-time format check accepts and refuses; the rows themselves are checked where
// they are declared.
#include "members/format_fit.h"

#include <gtest/gtest.h>

#include "ZPV4870.h"

namespace zpv::members {
namespace {

static_assert(FormatFits<void, double>("%lg") && FormatFits<void, double>("OUTP:FREQ %0.15lg"));
static_assert(FormatFits<void, LONG>("%d") && !FormatFits<void, double>("%d") && !FormatFits<void, LONG>("%lg"));
static_assert(FormatFits<void, ZPV4870RangeEnum>("MAN:RANG %{ZPV4870RangeEnum}s"));
static_assert(!FormatFits<void, ZPV4870RangeEnum>("%{ZPV4870WaveformEnum}s"), "another enumeration's keywords");
static_assert(!FormatFits<void, LONG>("%{ZPV4870RangeEnum}s"), "an integer is not an enumeration");
static_assert(FormatFits<void, VARIANT_BOOL>("OUTP %{VARIANT_BOOL}s") && !FormatFits<void, VARIANT_BOOL>("%d"));
static_assert(FormatFits<void, BSTR>("%$Bs") && FormatFits<void, BSTR>("%$Bt") &&
              FormatFits<void, BSTR, BSTR>("MAN:FILE:COPY %$BQs,%$BQs"));
static_assert(!FormatFits<void, BSTR>("%s"), "a narrow string is not a BSTR");
static_assert(FormatFits<void>("OUTP:PROT:CLE") && FormatFits<void>("100%% done"));
static_assert(!FormatFits<void>("VOLT %lg") && !FormatFits<void, double, double>("VOLT %lg"), "counts must agree");
static_assert(FormatFits<void, ZPV4870DCGenerationEnum, double>("MAN:COUP %{ZPV4870DCGenerationEnum}s;VOLT:DC %0.15lg"));
static_assert(!FormatFits<void, double, ZPV4870DCGenerationEnum>("MAN:COUP %{ZPV4870DCGenerationEnum}s;VOLT:DC %0.15lg"),
              "order matters");

TEST(FormatFit, TypeNamesAreTheEnumerationNames) {
    EXPECT_EQ(format_fit::TypeName<ZPV4870RangeEnum>(), "ZPV4870RangeEnum");
    EXPECT_EQ(format_fit::TypeName<ZPV4870SychronousSignalEnum>(), "ZPV4870SychronousSignalEnum");
}

}  // namespace
}  // namespace zpv::members
