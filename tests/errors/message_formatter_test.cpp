#include <gtest/gtest.h>

#include "errors/message_formatter.h"

namespace zpv::errors {
namespace {

std::string Format(std::string_view text, std::initializer_list<std::string_view> inserts) {
    std::string out, reason;
    EXPECT_TRUE(FormatMessageString(8, text, InsertList(inserts.begin(), inserts.size()), out, reason)) << reason;
    return out;
}

TEST(MessageFormat, SubstitutesInsertsOnceAndKeepsOtherPercents) {
    EXPECT_EQ(Format("  100%% of %1 %2\r\n", {"a", "b"}), "100% of a b");
    EXPECT_EQ(Format("%1 and %x, %0 and %", {"%2"}), "%2 and %x, %0 and %");
    EXPECT_EQ(Format("%9%1", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}), "91");
}

}  // namespace
}  // namespace zpv::errors
