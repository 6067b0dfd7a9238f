#include <gtest/gtest.h>

#include <thread>

#include "platform/probe_object.h"

namespace {

using zpv::com::CComObject;
using zpv::com::CComObjectRootEx;
using zpv::com::InterfaceIf;
using zpv::com::test_support::ApartmentScope;
using zpv::com::test_support::NewProbe;
using zpv::com::test_support::RefCount;

constexpr CLSID kClsid = {0x1B2C3D4E, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x01}};
constexpr CLSID kOtherClsid = {0x1B2C3D4E, 0x0002, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x02}};

class FactoryBase : public CComObjectRootEx, public IClassFactory {
public:
    void* CastTo(REFIID riid) {
        if (riid == IID_IUnknown) return static_cast<IClassFactory*>(this);
        return InterfaceIf<IClassFactory>(this, riid);
    }
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        return NewProbe()->QueryInterface(riid, ppv);
    }
    HRESULT LockServer(bool) override { return S_OK; }
};

HRESULT GetFactory(REFIID riid, void** ppv) {
    CComObject<FactoryBase>* f = nullptr;
    CComObject<FactoryBase>::CreateInstance(&f);
    return CComPtr<IClassFactory>(f)->QueryInterface(riid, ppv);
}

class ClassRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CoRegisterClass({kClsid, L"Test.Probe.1", L"Test.Probe", &GetFactory}), S_OK);
    }
    void TearDown() override {
        CoRevokeClass(kClsid);
        CoRevokeClass(kOtherClsid);
    }
    ApartmentScope apartment_;
};

TEST_F(ClassRegistry, ProgIdLookups) {
    for (const wchar_t* name : {L"Test.Probe.1", L"test.probe", L"TEST.PROBE.1"}) {
        CLSID id{};
        EXPECT_EQ(CLSIDFromProgID(name, &id), S_OK) << name;
        EXPECT_EQ(id, kClsid);
    }
    CLSID id = kClsid;
    EXPECT_EQ(CLSIDFromProgID(L"Test.Probe.2", &id), CO_E_CLASSSTRING);
    EXPECT_EQ(id, GUID_NULL);
    EXPECT_EQ(CLSIDFromProgID(L"", &id), CO_E_CLASSSTRING);  // the built-in table has no ProgID
    EXPECT_EQ(CLSIDFromProgID(nullptr, &id), E_INVALIDARG);

    LPOLESTR progId = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(kClsid, &progId), S_OK);
    EXPECT_STREQ(progId, L"Test.Probe.1");
    CoTaskMemFree(progId);
    EXPECT_EQ(ProgIDFromCLSID(kOtherClsid, &progId), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(progId, nullptr);
}

TEST_F(ClassRegistry, CreateThroughTheClassObject) {
    CComPtr<ISupportErrorInfo> obj;
    ASSERT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_ISupportErrorInfo, reinterpret_cast<void**>(&obj)),
              S_OK);
    EXPECT_EQ(RefCount(obj), 1u);

    void* p = &obj;
    EXPECT_EQ(CoCreateInstance(kClsid, obj, CLSCTX_INPROC_SERVER, IID_IUnknown, &p), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(p, nullptr);
    p = &obj;
    EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &p), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(CoCreateInstance(kOtherClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &p), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr), E_POINTER);

    CComPtr<IClassFactory> factory;
    EXPECT_EQ(CoGetClassObject(kClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
}

TEST_F(ClassRegistry, ReplaceRevokeAndNonCreatableClasses) {
    ASSERT_EQ(CoRegisterClass({kClsid, L"Test.Renamed.1", L"Test.Renamed", nullptr}), S_OK);
    CLSID id{};
    EXPECT_EQ(CLSIDFromProgID(L"Test.Probe", &id), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(L"Test.Renamed", &id), S_OK);
    void* p = nullptr;
    EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &p), CLASS_E_CLASSNOTAVAILABLE);

    EXPECT_EQ(CoRevokeClass(kClsid), S_OK);
    EXPECT_EQ(CoRevokeClass(kClsid), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CLSIDFromProgID(L"Test.Renamed", &id), CO_E_CLASSSTRING);
    EXPECT_EQ(CoGetClassObject(kClsid, CLSCTX_ALL, nullptr, IID_IClassFactory, &p), REGDB_E_CLASSNOTREG);
}

TEST_F(ClassRegistry, CreationNeedsAnApartment) {
    std::thread([] {
        void* p = &p;
        EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &p), CO_E_NOTINITIALIZED);
        EXPECT_EQ(p, nullptr);
        EXPECT_EQ(CoGetClassObject(kClsid, CLSCTX_ALL, nullptr, IID_IClassFactory, &p), CO_E_NOTINITIALIZED);
        // Lookups by name do not.
        CLSID id{};
        EXPECT_EQ(CLSIDFromProgID(L"Test.Probe", &id), S_OK);
    }).join();
}

}  // namespace
