#include "capi/rep_cap_selector.h"

#include <gtest/gtest.h>

#include "platform/ivi/session_service.h"

namespace zpv::repcap {
namespace {

using Paths = std::vector<CRepCapSelector::Path>;

struct Parsed {
    ViStatus status;
    Paths paths;
    std::string error;
};

Parsed ParseSelector(const char* text, bool allowMulti = true) {
    IviSession_ClearError(0);
    CRepCapSelector selector(text);
    Parsed p{selector.Parse(0, allowMulti), selector.Paths(), {}};
    ViStatus code = 0;
    char buffer[256] = {};
    IviSession_GetError(0, sizeof buffer, &code, buffer);
    p.error = buffer;
    if (p.status != VI_SUCCESS) p.paths.clear();
    return p;
}

TEST(RepCapSelector, NamesListsAndLevels) {
    EXPECT_EQ(ParseSelector("OutputPhase1").paths, (Paths{{"OutputPhase1"}}));
    EXPECT_EQ(ParseSelector("").paths, (Paths{{""}}));
    EXPECT_EQ(ParseSelector(nullptr).paths, (Paths{{""}}));
    EXPECT_EQ(ParseSelector("A, B").paths, (Paths{{"A"}, {"B"}}));
    EXPECT_EQ(ParseSelector(",A,,B,").paths, (Paths{{"A"}, {"B"}}));
    EXPECT_EQ(ParseSelector("[A,B]:C").paths, (Paths{{"A", "C"}, {"B", "C"}}));
    EXPECT_EQ(ParseSelector("A:B,C:D").paths, (Paths{{"A", "B"}, {"C", "D"}}));
    EXPECT_EQ(ParseSelector("[A,B]:[C,D]").paths, (Paths{{"A", "C"}, {"A", "D"}, {"B", "C"}, {"B", "D"}}));
    EXPECT_EQ(ParseSelector(" Phase_!9 ").paths, (Paths{{"Phase_!9"}}));
}

TEST(RepCapSelector, RangesExpandWithThePrefixOfTheStart) {
    EXPECT_EQ(ParseSelector("A1-A3").paths, (Paths{{"A1"}, {"A2"}, {"A3"}}));
    EXPECT_EQ(ParseSelector("A01 - A03").paths, (Paths{{"A1"}, {"A2"}, {"A3"}}));
    EXPECT_EQ(ParseSelector("a1-A2").paths, (Paths{{"a1"}, {"a2"}}));
    EXPECT_EQ(ParseSelector("[A1-A2]:X").paths, (Paths{{"A1", "X"}, {"A2", "X"}}));

    const auto reversed = ParseSelector("A3-A1");
    EXPECT_EQ(reversed.status, kSelectorRangeInvalid);
    EXPECT_EQ(reversed.error, "Invalid range specified in repeated capability selector.");
    EXPECT_EQ(ParseSelector("A1-B3").status, kSelectorRangeInvalid);
    // A range that would flood memory is refused rather than expanded.
    EXPECT_EQ(ParseSelector("A1-A999999999").status, kSelectorRangeInvalid);
    EXPECT_EQ(ParseSelector("A1-A99999999999").status, kSelectorRangeInvalid);
    // So is a product of ranges that would.
    EXPECT_EQ(ParseSelector("[A1-A500]:[B1-B500]").status, kSelectorBadlyFormed);

    const auto single = ParseSelector("A1-A3", false);
    EXPECT_EQ(single.status, kSelectorBadlyFormed);
    EXPECT_EQ(single.error, "The repeated capability selector is badly-formed.");
}

TEST(RepCapSelector, MalformedSelectors) {
    for (const char* bad : {"[A,B", "A$1", "A,A", "OutputPhase1,OutputPhase1", ",", ":", "A B", "1-2", "A1--A2", "[]"})
        EXPECT_EQ(ParseSelector(bad).status, kSelectorBadlyFormed) << bad;
    // Duplicates compare exactly, so these are two paths.
    EXPECT_EQ(ParseSelector("OutputPhase1,outputphase1").paths, (Paths{{"OutputPhase1"}, {"outputphase1"}}));

    const auto levels = ParseSelector("A:B,C");
    EXPECT_EQ(levels.status, kSelectorLevelsInvalid);
    EXPECT_EQ(levels.error, "Invalid or inconsistent number of levels specified in repeated capability selector.");
}

TEST(RepCapSelector, GetNameChecksPathAndLevel) {
    CRepCapSelector selector("A:B,C:D");
    std::string name;
    EXPECT_EQ(selector.GetName(0, true, 1, 1, name), VI_SUCCESS);
    EXPECT_EQ(name, "D");
    EXPECT_EQ(selector.GetName(0, true, 2, 0, name), kSelectorBadlyFormed);
    EXPECT_EQ(selector.GetName(0, true, 0, 2, name), kSelectorLevelsInvalid);

    // A failure is recorded on the session it was asked for.
    ViSession session = 0;
    ASSERT_EQ(IviSession_New(&session), VI_SUCCESS);
    CRepCapSelector bad("A$");
    EXPECT_EQ(bad.GetName(session, true, 0, 0, name), kSelectorBadlyFormed);
    ViStatus code = 0;
    char text[128];
    EXPECT_EQ(IviSession_GetError(session, sizeof text, &code, text), VI_SUCCESS);
    EXPECT_EQ(code, kSelectorBadlyFormed);
    EXPECT_STREQ(text, "The repeated capability selector is badly-formed.");
    IviSession_Dispose(session);
}

}  // namespace
}  // namespace zpv::repcap

namespace zpv::repcap {
namespace {

std::size_t NamesIn(const Paths& paths) {
    std::size_t names = 0;
    for (const auto& path : paths) names += path.size();
    return names;
}

TEST(RepCapSelector, WhatASelectorExpandsToIsBoundedByItsLength) {
    // Short selectors of ranges and levels that would multiply into millions of names.
    const char* floods[] = {
        "[A1-A1000]:[B1-B1000]:[C1-C1000]",
        "[A1-A300,B1-B300]:[C1-C300]:[D1-D300]:E",
        "A1-A1000,B1-B1000",
        "[A1-A1000]:[A1-A1000]",
    };
    for (const char* text : floods) {
        const Parsed p = ParseSelector(text);
        EXPECT_LE(NamesIn(p.paths), 1024u) << text;
        EXPECT_TRUE(p.status == VI_SUCCESS || p.status == kSelectorBadlyFormed || p.status == kSelectorRangeInvalid)
            << text;
    }
    // Long selectors are read whole, whatever their shape.
    std::string levels = "OutputPhase1";
    for (int i = 0; i < 32000; ++i) levels += ":L";
    const Parsed deep = ParseSelector(levels.c_str());
    ASSERT_EQ(deep.status, VI_SUCCESS);
    ASSERT_EQ(deep.paths.size(), 1u);
    EXPECT_EQ(deep.paths.front().size(), 32001u);
    std::string list;
    for (int i = 0; i < 20000; ++i) list += "P" + std::to_string(i) + ",";
    EXPECT_EQ(ParseSelector(list.c_str()).paths.size(), 20000u);
}

}  // namespace
}  // namespace zpv::repcap
