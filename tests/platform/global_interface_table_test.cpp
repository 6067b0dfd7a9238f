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
    EXPECT_EQ(git->RevokeInterfaceFromGlobal(outerCookie), S_OK);  // deadlocks if released under the lock
    EXPECT_EQ(RefCount(inner), 1u);
}

// Threads share one entry made elsewhere while making and dropping their own.
TEST(GlobalInterfaceTable, UseFromManyThreads) {
    ApartmentScope apartment;
    auto shared = NewProbe(), own = NewProbe();
    DWORD sharedCookie = 0;
    ASSERT_EQ(Table()->RegisterInterfaceInGlobal(shared, IID_ISupportErrorInfo, &sharedCookie), S_OK);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            ApartmentScope other;
            auto git = Table();
            for (int i = 0; i < 200; ++i) {
                void* got = nullptr;
                EXPECT_EQ(git->GetInterfaceFromGlobal(sharedCookie, IID_IUnknown, &got), S_OK);
                EXPECT_EQ(got, static_cast<IUnknown*>(shared.Get()));
                if (got) static_cast<IUnknown*>(got)->Release();
                DWORD cookie = 0;
                git->RegisterInterfaceInGlobal(own, IID_IUnknown, &cookie);
                EXPECT_EQ(git->RevokeInterfaceFromGlobal(cookie), S_OK);
            }
        });
    }
    for (auto& t : threads) t.join();
    void* none = &none;
    EXPECT_EQ(Table()->GetInterfaceFromGlobal(sharedCookie, IID_IClassFactory, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(Table()->RevokeInterfaceFromGlobal(sharedCookie), S_OK);
    EXPECT_EQ(Table()->RevokeInterfaceFromGlobal(sharedCookie), E_INVALIDARG);
    EXPECT_EQ(RefCount(shared), 1u);
    EXPECT_EQ(RefCount(own), 1u);
}

}  // namespace
