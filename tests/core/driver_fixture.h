// A driver object created the way a user creates it (by ProgID, in process), with helpers that
// read back the published error information.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ZPV4870.h"
#include "objects/zpv4870_driver.h"
#include "errors/error_test_support.h"

namespace zpv::driver::test {

inline constexpr HRESULT Hr(std::uint32_t code) { return static_cast<HRESULT>(code); }

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        CLSID clsid;
        ASSERT_EQ(CLSIDFromProgID(L"ZPV4870.ZPV4870", &clsid), S_OK);
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IIviDriver,
                                   reinterpret_cast<void**>(&driver)),
                  S_OK);
        ASSERT_EQ(driver->QueryInterface(&identity), S_OK);
        ASSERT_EQ(driver->QueryInterface(&operation), S_OK);
        ASSERT_EQ(driver->QueryInterface(&utility), S_OK);
    }
    void TearDown() override {
        identity.Release();
        operation.Release();
        utility.Release();
        driver.Release();
        CoUninitialize();
    }

    HRESULT Init(const wchar_t* options, bool idQuery = true, bool reset = false,
                 const wchar_t* resource = L"TCPIP0::127.0.0.1::5025::SOCKET") {
        CComBSTR r(resource), o(options);
        return driver->Initialize(r, idQuery ? VARIANT_TRUE : VARIANT_FALSE, reset ? VARIANT_TRUE : VARIANT_FALSE, o);
    }

    // The framework object behind the interfaces, for internal state.
    CDriver& Framework() { return *static_cast<ZPV4870*>(static_cast<IZPV4870*>(driver.Get())); }

    std::string Text(HRESULT (IIviDriverIdentity::*getter)(BSTR*)) {
        CComBSTR value;
        EXPECT_EQ((identity.Get()->*getter)(&value), S_OK);
        return com::Utf8FromBstr(value);
    }
    bool Flag(HRESULT (IIviDriverOperation::*getter)(VARIANT_BOOL*)) {
        VARIANT_BOOL value = VARIANT_FALSE;
        EXPECT_EQ((operation.Get()->*getter)(&value), S_OK);
        return value == VARIANT_TRUE;
    }
    static std::string LastError() { return errors::test::TakeErrorInfo().description.value_or("<none>"); }

    CComPtr<IIviDriver> driver;
    CComPtr<IIviDriverIdentity> identity;
    CComPtr<IIviDriverOperation> operation;
    CComPtr<IIviDriverUtility> utility;
};

}  // namespace zpv::driver::test
