#include <gtest/gtest.h>

#include <thread>

#include "platform/probe_object.h"

namespace {

using zpv::com::test_support::ApartmentScope;
using zpv::com::test_support::NewProbe;

constexpr CLSID kClsid = {0x1B2C3D4E, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x01}};

class FactoryBase : public zpv::com::CComObjectRootEx, public IClassFactory {
public:
    void* CastTo(REFIID riid) {
        if (riid == IID_IUnknown) return static_cast<IClassFactory*>(this);
        return zpv::com::InterfaceIf<IClassFactory>(this, riid);
    }
    HRESULT CreateInstance(IUnknown*, REFIID riid, void** ppv) override {
        return NewProbe()->QueryInterface(riid, ppv);
    }
    HRESULT LockServer(bool) override { return S_OK; }
};

HRESULT GetFactory(REFIID riid, void** ppv) {
    zpv::com::CComObject<FactoryBase>* f = nullptr;
    zpv::com::CComObject<FactoryBase>::CreateInstance(&f);
    return CComPtr<IClassFactory>(f)->QueryInterface(riid, ppv);
}

class ClassRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CoRegisterClass({kClsid, L"Test.Probe.1", L"Test.Probe", &GetFactory}), S_OK);
    }
    void TearDown() override { CoRevokeClass(kClsid); }
    ApartmentScope apartment_;
};

TEST_F(ClassRegistry, ProgIdsAndCreation) {
    CLSID id{};
    for (const wchar_t* name : {L"Test.Probe.1", L"TEST.probe"}) {
        EXPECT_EQ(CLSIDFromProgID(name, &id), S_OK) << name;
        EXPECT_EQ(id, kClsid);
    }
    EXPECT_EQ(CLSIDFromProgID(L"Test.Probe.2", &id), CO_E_CLASSSTRING);
    LPOLESTR progId = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(kClsid, &progId), S_OK);
    EXPECT_STREQ(progId, L"Test.Probe.1");
    CoTaskMemFree(progId);

    CComPtr<ISupportErrorInfo> obj;
    EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_ISupportErrorInfo, reinterpret_cast<void**>(&obj)),
              S_OK);
    EXPECT_TRUE(obj);
    void* p = &obj;
    EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &p), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(p, nullptr);
    std::thread([] {  // creation, unlike lookup, needs an apartment
        void* q = &q;
        EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &q), CO_E_NOTINITIALIZED);
        EXPECT_EQ(q, nullptr);
    }).join();
}

TEST_F(ClassRegistry, ReplaceAndRevoke) {
    ASSERT_EQ(CoRegisterClass({kClsid, L"Test.Renamed.1", L"Test.Renamed", nullptr}), S_OK);
    CLSID id{};
    EXPECT_EQ(CLSIDFromProgID(L"Test.Probe", &id), CO_E_CLASSSTRING);
    void* p = nullptr;
    EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &p), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(CoRevokeClass(kClsid), S_OK);
    EXPECT_EQ(CLSIDFromProgID(L"Test.Renamed", &id), CO_E_CLASSSTRING);
    EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &p), REGDB_E_CLASSNOTREG);
}

}  // namespace
