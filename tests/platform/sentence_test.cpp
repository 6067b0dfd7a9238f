// A text built from pieces ends in exactly one full stop.
#include "platform/text/sentence.h"

#include <gtest/gtest.h>

namespace zpv::text {
namespace {

TEST(Sentence, AddsAFullStopOnlyWhereThereIsNone) {
    EXPECT_EQ(Sentence("connection refused"), "connection refused.");
    EXPECT_EQ(Sentence("Illegal parameter value."), "Illegal parameter value.");
    EXPECT_EQ(Sentence("What?"), "What?");
    EXPECT_EQ(Sentence("line ends\r\n"), "line ends.");
    EXPECT_EQ(Sentence(""), "");
}

}  // namespace
}  // namespace zpv::text
