#include <gtest/gtest.h>

#include "errors/message_formatter.h"

namespace zpv::errors {
namespace {

std::string Format(std::string_view text, std::initializer_list<std::string_view> inserts) {
    std::string out = "untouched", reason;
    EXPECT_TRUE(FormatMessageString(8, text, InsertList(inserts.begin(), inserts.size()), out, reason)) << reason;
    return out;
}

TEST(MessageFormat, SubstitutesInsertsOnceAndKeepsOtherPercents) {
    EXPECT_EQ(Format("  100%% of %1 %2\r\n", {"a", "b"}), "100% of a b");
    EXPECT_EQ(Format("%1 and %x, %0 and %", {"%2"}), "%2 and %x, %0 and %");
    EXPECT_EQ(Format("%9%1", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}), "91");
}

TEST(MessageFormat, FailuresExplainThemselvesAndLeaveOutputAlone) {
    std::string out = "untouched", reason;
    const std::string_view one[] = {"x"};
    EXPECT_FALSE(FormatFromTable(0x08, one, out, reason));
    EXPECT_EQ(reason, "Insert %2 of message 0x08 was not supplied.");
    EXPECT_FALSE(FormatFromTable(0x61, {}, out, reason));
    EXPECT_EQ(reason, "The system cannot find message text for message number 0x61 in the message file.");
    EXPECT_FALSE(FormatFromTable(0, {}, out, reason));
    EXPECT_EQ(out, "untouched");
}

}  // namespace
}  // namespace zpv::errors
