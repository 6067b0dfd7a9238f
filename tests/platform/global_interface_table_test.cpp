#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/probe_object.h"

namespace {

using zpv::com::test_support::ApartmentScope;
using zpv::com::test_support::NewProbe;
using zpv::com::test_support::RefCount;

CComPtr<IGlobalInterfaceTable> Table() {
    CComPtr<IGlobalInterfaceTable> git;
    EXPECT_EQ(CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IGlobalInterfaceTable, reinterpret_cast<void**>(&git)),
              S_OK);
    return git;
}

TEST(GlobalInterfaceTable, OneTableForTheProcess) {
    ApartmentScope apartment;
    IUnknown* a = Table();
    IUnknown* b = nullptr;
    std::thread([&] {
        ApartmentScope other;
        b = Table();
    }).join();
    EXPECT_EQ(a, b);
}

TEST(GlobalInterfaceTable, RegisterOnOneThreadGetOnAnother) {
    ApartmentScope apartment;
    auto probe = NewProbe();
    DWORD cookie = 0;
    ASSERT_EQ(Table()->RegisterInterfaceInGlobal(probe, IID_ISupportErrorInfo, &cookie), S_OK);
    EXPECT_NE(cookie, 0u);
    EXPECT_EQ(RefCount(probe), 2u);

    std::thread([&] {
        ApartmentScope other;
        CComPtr<IUnknown> unk;
        EXPECT_EQ(Table()->GetInterfaceFromGlobal(cookie, IID_IUnknown, reinterpret_cast<void**>(&unk)), S_OK);
        EXPECT_EQ(unk.Get(), static_cast<IUnknown*>(probe.Get()));
        void* none = &unk;
        EXPECT_EQ(Table()->GetInterfaceFromGlobal(cookie, IID_IClassFactory, &none), E_NOINTERFACE);
        EXPECT_EQ(none, nullptr);
    }).join();

    EXPECT_EQ(Table()->RevokeInterfaceFromGlobal(cookie), S_OK);
    EXPECT_EQ(RefCount(probe), 1u);
    void* out = nullptr;
    EXPECT_EQ(Table()->GetInterfaceFromGlobal(cookie, IID_IUnknown, &out), E_INVALIDARG);
    EXPECT_EQ(Table()->RevokeInterfaceFromGlobal(cookie), E_INVALIDARG);
}

TEST(GlobalInterfaceTable, RefusedRegistrations) {
    ApartmentScope apartment;
    auto probe = NewProbe();
    DWORD cookie = 123;
    EXPECT_EQ(Table()->RegisterInterfaceInGlobal(probe, IID_IClassFactory, &cookie), E_NOINTERFACE);
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(RefCount(probe), 1u);
    EXPECT_EQ(Table()->RegisterInterfaceInGlobal(nullptr, IID_IUnknown, &cookie), E_INVALIDARG);
    EXPECT_EQ(Table()->RegisterInterfaceInGlobal(probe, IID_IUnknown, nullptr), E_INVALIDARG);
    EXPECT_EQ(Table()->GetInterfaceFromGlobal(1, IID_IUnknown, nullptr), E_POINTER);
}

TEST(GlobalInterfaceTable, FinalReleaseMayUseTheTable) {
    ApartmentScope apartment;
    auto git = Table();
    auto inner = NewProbe();
    DWORD innerCookie = 0, outerCookie = 0;
    git->RegisterInterfaceInGlobal(inner, IID_IUnknown, &innerCookie);
    {
        auto outer = NewProbe();
        outer->onDestroy = [&] { EXPECT_EQ(git->RevokeInterfaceFromGlobal(innerCookie), S_OK); };
        git->RegisterInterfaceInGlobal(outer, IID_IUnknown, &outerCookie);
    }
    EXPECT_EQ(git->RevokeInterfaceFromGlobal(outerCookie), S_OK);  // would deadlock if released under the lock
    EXPECT_EQ(RefCount(inner), 1u);
}

TEST(GlobalInterfaceTable, ConcurrentUse) {
    auto probe = NewProbe();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            ApartmentScope apartment;
            auto git = Table();
            for (int i = 0; i < 200; ++i) {
                DWORD cookie = 0;
                ASSERT_EQ(git->RegisterInterfaceInGlobal(probe, IID_IUnknown, &cookie), S_OK);
                CComPtr<ISupportErrorInfo> got;
                ASSERT_EQ(git->GetInterfaceFromGlobal(cookie, IID_ISupportErrorInfo, reinterpret_cast<void**>(&got)),
                          S_OK);
                ASSERT_EQ(git->RevokeInterfaceFromGlobal(cookie), S_OK);
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(RefCount(probe), 1u);
}

}  // namespace
