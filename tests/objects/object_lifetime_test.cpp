// A phase object holds its driver: every reference to a phase keeps the driver object (and the
// module) alive, through the object interface, the C interface under threads that close the
// session, and the C++ face.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ZPV4870.h"
#include "zpv4870.h"
#include "zpv4870/driver.hpp"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/socket_server.h"

namespace {

constexpr HRESULT kNotInitialized = static_cast<HRESULT>(0x8004701D);

CComPtr<IIviDriver> NewSimulatedDriver() {
    EXPECT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    CComPtr<IIviDriver> driver;
    EXPECT_EQ(CoCreateInstance(CLSID_ZPV4870, nullptr, CLSCTX_INPROC_SERVER, IID_IIviDriver,
                               reinterpret_cast<void**>(&driver)),
              S_OK);
    CComBSTR resource(L""), options(L"Simulate=true");
    EXPECT_EQ(driver->Initialize(resource, VARIANT_FALSE, VARIANT_FALSE, options), S_OK);
    return driver;
}

CComPtr<IIviACPwrOutputPhase> FirstPhase(IIviDriver* driver) {
    CComPtr<IIviACPwr> root;
    EXPECT_EQ(driver->QueryInterface(&root), S_OK);
    CComPtr<IIviACPwrOutputPhases> phases;
    EXPECT_EQ(root->get_OutputPhases(&phases), S_OK);
    CComPtr<IIviACPwrOutputPhase> phase;
    CComBSTR name(L"OutputPhase1");
    EXPECT_EQ(phases->get_Item(name, &phase), S_OK);
    return phase;
}

TEST(ObjectLifetime, APhaseKeepsItsDriverAndTheModuleAlive) {
    CComPtr<IIviDriver> driver = NewSimulatedDriver();
    CComPtr<IIviACPwrOutputPhase> phase = FirstPhase(driver);
    EXPECT_EQ(phase->put_VoltageLevel(120.0), S_OK);
    driver.Release();  // the last reference of the caller's own to the driver
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);

    double level = 0;
    EXPECT_EQ(phase->get_VoltageLevel(&level), S_OK);  // still initialized: nobody closed it
    EXPECT_EQ(level, 120.0);
    phase.Release();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);  // driver and phase went together
}

TEST(ObjectLifetime, APhaseAfterCloseSaysNotInitializedAndStaysSoAfterANewInitialize) {
    CComPtr<IIviDriver> driver = NewSimulatedDriver();
    CComPtr<IIviACPwrOutputPhase> phase = FirstPhase(driver);
    EXPECT_EQ(driver->Close(), S_OK);
    driver.Release();
    double level = 0;
    EXPECT_EQ(phase->get_VoltageLevel(&level), kNotInitialized);

    CComPtr<IIviDriver> again = NewSimulatedDriver();
    CComPtr<IIviACPwrOutputPhase> fresh = FirstPhase(again);
    EXPECT_EQ(fresh->get_VoltageLevel(&level), S_OK);
    EXPECT_EQ(again->Close(), S_OK);
    EXPECT_EQ(again->Initialize(CComBSTR(L""), VARIANT_FALSE, VARIANT_FALSE, CComBSTR(L"Simulate=true")), S_OK);
    EXPECT_EQ(fresh->get_VoltageLevel(&level), kNotInitialized);  // a phase of the earlier session
    EXPECT_EQ(FirstPhase(again)->get_VoltageLevel(&level), S_OK);
}

TEST(ObjectLifetime, AViewOfAPhaseOutlivesItsFacadeDriver) {
    std::optional<zpv4870::IviOutputPhase> phase;
    {
        zpv4870::Driver driver("", {.id_query = false, .simulate = true});
        phase.emplace(driver.ivi().output_phases().phase(1));
        phase->voltage_level(100.0);
    }
    auto late = phase->try_voltage_level();
    ASSERT_FALSE(late.has_value());
    EXPECT_EQ(late.error().status(), kNotInitialized);
    EXPECT_THROW(phase->voltage_level(), zpv4870::Error);
}

// Readers of a phase attribute on three threads while the main thread closes the session: each
// read succeeds or reports the closed session; none crashes.
void CloseUnderPhaseReaders(const char* resource, const char* options, ViAttr attribute, int rounds) {
    for (int round = 0; round < rounds; ++round) {
        ViSession vi = 0;
        ASSERT_EQ(ZPV4870_InitWithOptions(resource, VI_FALSE, VI_FALSE, options, &vi), VI_SUCCESS);
        std::atomic<int> reads{0};
        std::atomic<bool> unexpected{false};
        std::vector<std::thread> readers;
        for (int t = 0; t < 3; ++t)
            readers.emplace_back([&] {
                for (;;) {
                    ViReal64 level = 0;
                    const ViStatus status = ZPV4870_GetAttributeViReal64(vi, "OutputPhase1", attribute, &level);
                    ++reads;
                    if (status == ZPV4870_ERROR_INVALID_SESSION_HANDLE) return;
                    if (status != VI_SUCCESS && status != ZPV4870_ERROR_NOT_INITIALIZED) {
                        std::fprintf(stderr, "status 0x%08X\n", static_cast<unsigned>(status));
                        unexpected = true;
                    }
                }
            });
        while (reads < 3 * (round % 4 + 1)) std::this_thread::yield();
        EXPECT_EQ(ZPV4870_close(vi), VI_SUCCESS);
        for (std::thread& t : readers) t.join();
        EXPECT_FALSE(unexpected) << "round " << round;
    }
}

TEST(ObjectLifetime, ThreadsReadingAPhaseWhileTheSessionClosesSimulated) {
    CloseUnderPhaseReaders("", "Simulate=true", ZPV4870_ATTR_VOLTAGE_LEVEL, 100);
}

TEST(ObjectLifetime, ThreadsReadingAPhaseWhileTheSessionClosesOverTcp) {
    zpv::sim::InstrumentOptions options;
    zpv::sim::Instrument instrument(options);
    zpv::sim::SocketServer server(instrument);
    server.Start(0);
    const std::string resource = "TCPIP0::127.0.0.1::" + std::to_string(server.Port()) + "::SOCKET";
    CloseUnderPhaseReaders(resource.c_str(), "", ZPV4870_ATTR_OUTPUT_PHASE_VOLTAGE_LEVEL, 30);
    server.Stop();
}

}  // namespace
