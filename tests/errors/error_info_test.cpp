#include <gtest/gtest.h>

#include <thread>

#include "zpv4870_runtime.h"

namespace {

CComPtr<IErrorInfo> NewErrorInfo() {
    CComPtr<ICreateErrorInfo> create;
    EXPECT_EQ(CreateErrorInfo(&create), S_OK);
    CComPtr<IErrorInfo> info;
    EXPECT_EQ(create.QueryInterface(&info), S_OK);
    return info;
}

ULONG RefCount(IUnknown* p) {
    p->AddRef();
    return p->Release();
}

// Takes the thread's error information; null when there is none.
CComPtr<IErrorInfo> Take() {
    CComPtr<IErrorInfo> info;
    const HRESULT hr = GetErrorInfo(0, &info);
    EXPECT_EQ(hr, info ? S_OK : S_FALSE);
    return info;
}

TEST(ThreadErrorInfo, SlotHoldsOneReferenceAndHandsItOver) {
    EXPECT_EQ(SetErrorInfo(1, nullptr), E_INVALIDARG);
    CComPtr<IErrorInfo> first = NewErrorInfo(), second = NewErrorInfo();
    const ULONG base = RefCount(first);

    ASSERT_EQ(SetErrorInfo(0, first), S_OK);
    EXPECT_EQ(RefCount(first), base + 1);
    ASSERT_EQ(SetErrorInfo(0, second), S_OK);  // replacing releases the earlier one
    EXPECT_EQ(RefCount(first), base);
    EXPECT_EQ(Take().Get(), second.Get());
    EXPECT_EQ(RefCount(second), base);
    EXPECT_FALSE(Take());

    SetErrorInfo(0, first);
    SetErrorInfo(0, nullptr);
    EXPECT_FALSE(Take());
    EXPECT_EQ(RefCount(first), base);
}

TEST(ThreadErrorInfo, IsPerThreadAndReleasedAtThreadExit) {
    CComPtr<IErrorInfo> mine = NewErrorInfo(), left = NewErrorInfo();
    SetErrorInfo(0, mine);
    const ULONG base = RefCount(left);
    std::thread([&] {
        EXPECT_FALSE(Take());
        SetErrorInfo(0, left);
    }).join();
    EXPECT_EQ(RefCount(left), base);
    EXPECT_EQ(Take().Get(), mine.Get());
}

}  // namespace
