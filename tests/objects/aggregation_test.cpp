// The driver as a part of another object: one identity (the outer object's), the outer object's
// count for every interface handed out, and the part gone with the outer object.
#include <gtest/gtest.h>

#include "ZPV4870.h"

namespace {

class Outer final : public IUnknown {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override {
        const ULONG n = --refs;
        if (n == 0 && inner) {
            IUnknown* part = inner;
            inner = nullptr;
            part->Release();  // the part goes with the outer object
        }
        return n;
    }
    IUnknown* inner = nullptr;
    ULONG refs = 1;
};

TEST(Aggregation, TheDriverIsAPartWithTheOuterObjectsIdentity) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    Outer outer;
    void* refused = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_ZPV4870, &outer, CLSCTX_INPROC_SERVER, IID_IIviDriver, &refused),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(refused, nullptr);
    ASSERT_EQ(CoCreateInstance(CLSID_ZPV4870, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&outer.inner)),
              S_OK);

    IIviDriver* driver = nullptr;
    ASSERT_EQ(outer.QueryInterface(IID_IIviDriver, reinterpret_cast<void**>(&driver)), S_OK);
    EXPECT_EQ(outer.refs, 2u);  // the interface counts on the outer object
    IUnknown* identity = nullptr;
    ASSERT_EQ(driver->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    identity->Release();

    CComBSTR resource(L""), options(L"Simulate=true");
    EXPECT_EQ(driver->Initialize(resource, VARIANT_FALSE, VARIANT_FALSE, options), S_OK);
    IIviDriverIdentity* info = nullptr;
    ASSERT_EQ(driver->QueryInterface(IID_IIviDriverIdentity, reinterpret_cast<void**>(&info)), S_OK);
    CComBSTR model;
    EXPECT_EQ(info->get_InstrumentModel(&model), S_OK);
    info->Release();
    EXPECT_EQ(driver->Close(), S_OK);
    driver->Release();
    EXPECT_EQ(outer.refs, 1u);
    outer.Release();  // releases the part; the sanitizers see that nothing leaks
    EXPECT_EQ(outer.inner, nullptr);
    CoUninitialize();
}

}  // namespace
