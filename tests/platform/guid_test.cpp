#include <gtest/gtest.h>

#include "zpv4870_runtime.h"

namespace {

TEST(Guid, TextForm) {
    OLECHAR text[39];
    EXPECT_EQ(StringFromGUID2(IID_ISupportErrorInfo, text, 39), 39);
    EXPECT_STREQ(text, L"{DF0B3D60-548F-101B-8E65-08002B2BD119}");
    CLSID id{};
    ASSERT_EQ(CLSIDFromString(L"{df0b3d60-548f-101b-8e65-08002b2bd119}", &id), S_OK);
    EXPECT_EQ(id, IID_ISupportErrorInfo);
    for (const wchar_t* bad : {L"DF0B3D60-548F-101B-8E65-08002B2BD119", L"{DF0B3D60-548F-101B-8E65-08002B2BD119}x",
                               L"{DF0B3D60-548F-101B-8E6508-002B2BD119}", L"{DF0B3D60-548F}"})
        EXPECT_EQ(CLSIDFromString(bad, &id), CO_E_CLASSSTRING) << bad;
}

}  // namespace
