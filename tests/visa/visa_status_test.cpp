#include <set>

#include <gtest/gtest.h>

#include "platform/visa/status.h"

namespace zpv::visa {
namespace {

TEST(VisaStatus, CodesCarryVisaValuesAndReadableTexts) {
    // The values callers and logs compare against.
    const std::pair<ViStatus, std::uint32_t> values[] = {
        {VI_SUCCESS_TERM_CHAR, 0x3FFF0005}, {VI_SUCCESS_MAX_CNT, 0x3FFF0006},   {VI_ERROR_RSRC_LOCKED, 0xBFFF000F},
        {VI_ERROR_RSRC_NFOUND, 0xBFFF0011}, {VI_ERROR_INV_RSRC_NAME, 0xBFFF0012}, {VI_ERROR_INV_ACC_MODE, 0xBFFF0013},
        {VI_ERROR_TMO, 0xBFFF0015},         {VI_ERROR_IO, 0xBFFF003E},           {VI_ERROR_NSUP_OPER, 0xBFFF0067},
        {VI_ERROR_CONN_LOST, 0xBFFF00A6},
    };
    std::set<std::string> texts;
    for (auto [status, bits] : values) {
        EXPECT_EQ(static_cast<std::uint32_t>(status), bits);
        std::string text = StatusDescription(status);
        EXPECT_EQ(text.find("Unknown"), std::string::npos) << text;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), std::size(values));
    EXPECT_NE(StatusDescription(VI_ERROR_TMO).find("timeout"), std::string::npos);

    EXPECT_EQ(StatusDescription(StatusValue(0xBFFF7777)), "Unknown error status 0xBFFF7777.");
    EXPECT_EQ(StatusDescription(0x3FFF7777), "Unknown completion status 0x3FFF7777.");
}

}  // namespace
}  // namespace zpv::visa
