#include "core/option_string.h"

#include <gtest/gtest.h>

namespace zpv::driver {
namespace {

using Entries = OptionEntries;

TEST(OptionEntries, SplitsTrimsAndKeepsLastValueOfARepeatedName) {
    EXPECT_EQ(SplitOptionEntries(" Simulate = true , RangeCheck=0"),
              (Entries{{"Simulate", "true"}, {"RangeCheck", "0"}}));
    EXPECT_EQ(SplitOptionEntries("a=1,b=2,a=3"), (Entries{{"a", "3"}, {"b", "2"}}));
    // Names are kept as written; letter case makes a different name.
    EXPECT_EQ(SplitOptionEntries("Cache=1,cache=0"), (Entries{{"Cache", "1"}, {"cache", "0"}}));
}

TEST(OptionEntries, SkipsTextThatIsNotAnEntry) {
    EXPECT_EQ(SplitOptionEntries("junk,=x, y=, Foo=bar"), (Entries{{"Foo", "bar"}}));
    // A value stops at the next "=" and the rest cannot start an entry of its own.
    EXPECT_EQ(SplitOptionEntries("a=b=c"), (Entries{{"a", "b"}}));
    EXPECT_EQ(SplitOptionEntries(",,,"), Entries{});
    // A name of blanks is an entry; the driver refuses it when applying it.
    EXPECT_EQ(SplitOptionEntries("  =x"), (Entries{{"", "x"}}));
}

TEST(DriverSetupMarker, FindsTheMarkerInAnyCaseWithBlanksBeforeTheEqualsSign) {
    auto m = FindDriverSetupMarker("Simulate=true, DriverSetup=Model=X, Trace=false");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->markerPos, 15u);
    EXPECT_EQ(std::string_view("Simulate=true, DriverSetup=Model=X, Trace=false").substr(m->valueStart),
              "Model=X, Trace=false");

    const std::string_view blanks = "driversetup  =NumPhases:3";
    m = FindDriverSetupMarker(blanks);
    ASSERT_TRUE(m);
    EXPECT_EQ(blanks.substr(m->valueStart), "NumPhases:3");
}

TEST(DriverSetupMarker, RejectsLookalikes) {
    EXPECT_FALSE(FindDriverSetupMarker("DriverSetupX=1"));
    EXPECT_FALSE(FindDriverSetupMarker("DriverSetup x=1"));
    EXPECT_FALSE(FindDriverSetupMarker("Simulate=true"));
    // The word and a blank with no "=" after it: the marker runs to the end, the value is empty.
    const auto m = FindDriverSetupMarker("Cache=1, DRIVERSETUP   ");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->valueStart, std::string_view("Cache=1, DRIVERSETUP   ").size());
}

TEST(OptionBoolean, AcceptsTheSixSpellingsInAnyCase) {
    for (const char* t : {"true", "TRUE", "VI_TRUE", "vi_true", "1", " True "}) EXPECT_EQ(ParseOptionBoolean(t), true) << t;
    for (const char* f : {"false", "False", "VI_FALSE", "0", "\tfalse"}) EXPECT_EQ(ParseOptionBoolean(f), false) << f;
    for (const char* bad : {"yes", "on", "2", "", " VI_TRUE", "truee"}) EXPECT_FALSE(ParseOptionBoolean(bad)) << bad;
}

TEST(LeadingDecimal, ReadsDigitsAfterBlanksAndSign) {
    EXPECT_EQ(ReadLeadingDecimal("  19200 baud"), 19200);
    EXPECT_EQ(ReadLeadingDecimal("-42x"), -42);
    EXPECT_EQ(ReadLeadingDecimal("+7"), 7);
    EXPECT_EQ(ReadLeadingDecimal("abc"), 0);
    EXPECT_EQ(ReadLeadingDecimal(""), 0);
    EXPECT_EQ(ReadLeadingDecimal("99999999999999999999"), 2147483647);
    EXPECT_EQ(ReadLeadingDecimal("-99999999999999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace zpv::driver
