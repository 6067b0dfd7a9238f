#include <gtest/gtest.h>

#include <thread>

#include "errors/error_test_support.h"

namespace zpv::errors::test {
namespace {

CComPtr<IErrorInfo> NewErrorInfo(const wchar_t* description) {
    CComPtr<ICreateErrorInfo> create;
    EXPECT_EQ(CreateErrorInfo(&create), S_OK);
    if (description) create->SetDescription(const_cast<LPOLESTR>(description));
    CComPtr<IErrorInfo> info;
    EXPECT_EQ(create.QueryInterface(&info), S_OK);
    return info;
}

ULONG RefCount(IUnknown* p) {
    p->AddRef();
    return p->Release();
}

TEST(ThreadErrorInfo, FieldsAreNullUntilSetAndComeBackAsFreshCopies) {
    CComPtr<IErrorInfo> blank = NewErrorInfo(nullptr);
    BSTR source = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(blank->GetSource(&source), S_OK);
    EXPECT_EQ(source, nullptr);

    CComPtr<IErrorInfo> info = NewErrorInfo(L"first");
    CComBSTR a, b;
    info->GetDescription(&a);
    info->GetDescription(&b);
    EXPECT_STREQ(a, L"first");
    EXPECT_NE(a.Get(), b.Get());
}

TEST(ThreadErrorInfo, SlotHoldsOneReferenceAndHandsItOver) {
    EXPECT_EQ(SetErrorInfo(1, nullptr), E_INVALIDARG);
    CComPtr<IErrorInfo> first = NewErrorInfo(L"first"), second = NewErrorInfo(L"second");
    const ULONG base = RefCount(first);

    ASSERT_EQ(SetErrorInfo(0, first), S_OK);
    EXPECT_EQ(RefCount(first), base + 1);
    ASSERT_EQ(SetErrorInfo(0, second), S_OK);  // replacing releases the earlier one
    EXPECT_EQ(RefCount(first), base);

    IErrorInfo* taken = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &taken), S_OK);
    EXPECT_EQ(taken, second.Get());
    taken->Release();
    EXPECT_EQ(GetErrorInfo(0, &taken), S_FALSE);
    EXPECT_EQ(taken, nullptr);

    SetErrorInfo(0, first);
    SetErrorInfo(0, nullptr);
    EXPECT_FALSE(TakeErrorInfo().present);
    EXPECT_EQ(RefCount(first), base);
}

TEST(ThreadErrorInfo, IsPerThreadAndReleasedAtThreadExit) {
    SetErrorInfo(0, NewErrorInfo(L"main"));
    CComPtr<IErrorInfo> left = NewErrorInfo(L"left behind");
    const ULONG base = RefCount(left);
    std::thread([&] {
        EXPECT_FALSE(TakeErrorInfo().present);
        SetErrorInfo(0, left);
    }).join();
    EXPECT_EQ(RefCount(left), base);
    EXPECT_EQ(TakeErrorInfo().description, "main");
}

}  // namespace
}  // namespace zpv::errors::test
