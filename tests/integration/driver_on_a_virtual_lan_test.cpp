// The driver on a LAN of instruments: simulators in network namespaces of their own, each on its
// own address and the standard ports, reached over SOCKET, VXI-11 and HiSLIP; cables pulled and
// power cut mid-session. Runs inside tests/lan/virtual_lan.sh (ctest lan.driver_on_a_virtual_lan)
// and skips anywhere else.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "core/driver_fixture.h"
#include "zpv4870/find.hpp"
#include "lan/namespaced_simulator.h"
#include "platform/com/text_conversion.h"

namespace zpv::driver::test {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

enum class Transport { Socket, Vxi11, Hislip };
constexpr Transport kTransports[] = {Transport::Socket, Transport::Vxi11, Transport::Hislip};

const char* NameOf(Transport transport) {
    return transport == Transport::Socket ? "SOCKET" : transport == Transport::Vxi11 ? "VXI-11" : "HiSLIP";
}

std::wstring ResourceOf(const std::string& address, Transport transport) {
    const std::wstring host(address.begin(), address.end());
    switch (transport) {
        case Transport::Socket: return L"TCPIP0::" + host + L"::5025::SOCKET";
        case Transport::Vxi11: return L"TCPIP0::" + host + L"::inst0::INSTR";
        default: return L"TCPIP0::" + host + L"::hislip0::INSTR";
    }
}

long MillisecondsSince(Clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class VirtualLan : public DriverTest {
protected:
    void SetUp() override {
        const auto lan = zpv::test::VirtualLanLayout::FromEnvironment();
        if (lan.namespaces.size() < 3) GTEST_SKIP() << "runs on the virtual LAN of tests/lan/virtual_lan.sh";
        DriverTest::SetUp();
        const char* models[] = {"ZPV-4803-Advanced", "ZPV-4832-Standard", "ZPV-4848-Advanced"};
        for (std::size_t i = 0; i < 3; ++i) {
            instruments.push_back(std::make_unique<zpv::test::NamespacedSimulator>(
                lan.namespaces[i], lan.addresses[i], models[i], "LAN-" + std::to_string(i + 1)));
            ASSERT_TRUE(instruments.back()->Start()) << instruments.back()->Why();
        }
    }

    HRESULT Open(const zpv::test::NamespacedSimulator& instrument, Transport transport) {
        return Init(L"", true, false, ResourceOf(instrument.Address(), transport).c_str());
    }
    template <class I>
    CComPtr<I> Group(HRESULT (IZPV4870::*getter)(I**)) {
        CComPtr<IZPV4870> root;
        driver->QueryInterface(&root);
        CComPtr<I> group;
        EXPECT_EQ((root.Get()->*getter)(&group), S_OK);
        return group;
    }
    CComPtr<IZPV4870System> System() { return Group(&IZPV4870::get_System); }
    CComPtr<IZPV4870OutputPhases> Phases() { return Group(&IZPV4870::get_OutputPhases); }
    static void Cable(const zpv::test::NamespacedSimulator& instrument, bool up) {
        const std::string command = "ip -n " + instrument.Namespace() + " link set eth0 " + (up ? "up" : "down");
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    std::vector<std::unique_ptr<zpv::test::NamespacedSimulator>> instruments;
};

// Three instruments of two models on their own addresses, each reached over every transport,
// each answering as itself.
TEST_F(VirtualLan, EveryInstrumentAnswersAsItselfOnEveryTransport) {
    for (const auto& instrument : instruments) {
        for (Transport transport : kTransports) {
            SCOPED_TRACE(instrument->Address() + " " + NameOf(transport));
            ASSERT_EQ(Open(*instrument, transport), S_OK) << LastError();
            EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), instrument->Model());
            auto system = System();
            ASSERT_EQ(system->WriteString(CComBSTR(L"*IDN?\n")), S_OK) << LastError();
            CComBSTR identity;
            ASSERT_EQ(system->ReadString(&identity), S_OK) << LastError();
            EXPECT_NE(com::Utf8FromBstr(identity).find("," + instrument->Serial() + ","), std::string::npos)
                << com::Utf8FromBstr(identity);
            EXPECT_EQ(driver->Close(), S_OK);
        }
    }
}

// "What is out there?" lists every instrument with its identity and the resources that answer,
// and forgets one whose cable is out.
TEST_F(VirtualLan, FindListsEveryInstrumentThatAnswers) {
    const auto lan = [](const zpv4870::FoundInstruments& found) {
        std::vector<zpv4870::FoundInstrument> on;
        for (const auto& instrument : found.instruments)
            if (instrument.address.rfind("10.87.0.", 0) == 0) on.push_back(instrument);
        return on;
    };
    std::vector<zpv4870::FoundInstrument> found = lan(zpv4870::find_instruments({.timeout = 500ms, .local = false}));
    ASSERT_EQ(found.size(), instruments.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        const auto& instrument = *instruments[i];
        EXPECT_EQ(found[i].address, instrument.Address());
        EXPECT_EQ(found[i].manufacturer, "Kaltrix");
        EXPECT_EQ(found[i].model, instrument.Model());
        EXPECT_EQ(found[i].serial, instrument.Serial());
        EXPECT_EQ(found[i].problem, "");
        std::vector<std::string> expected;
        for (Transport transport : kTransports) expected.push_back(com::Utf8FromWide(ResourceOf(instrument.Address(), transport)));
        std::sort(expected.begin(), expected.end());
        std::vector<std::string> resources = found[i].resources;
        std::sort(resources.begin(), resources.end());
        EXPECT_EQ(resources, expected);
    }
    Cable(*instruments[2], false);
    found = lan(zpv4870::find_instruments({.timeout = 300ms, .local = false}));
    Cable(*instruments[2], true);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1].address, instruments[1]->Address());
    EXPECT_THROW(zpv4870::find_instruments({.timeout = 0ms}), zpv4870::InvalidValue);
}

// A call in flight when the cable is pulled fails within its timeout (and a margin), never
// hangs; once the cable is back the session works again and never reads the late answer.
TEST_F(VirtualLan, APulledCableFailsTheCallInTimeAndTheSessionComesBack) {
    const auto& instrument = *instruments[0];
    for (Transport transport : kTransports) {
        SCOPED_TRACE(NameOf(transport));
        ASSERT_EQ(Open(instrument, transport), S_OK) << LastError();
        ASSERT_EQ(System()->put_IOTimeout(1000), S_OK);
        auto phases = Phases();
        ASSERT_EQ(phases->put_Frequency(50), S_OK) << LastError();
        Cable(instrument, false);
        double frequency = 0;
        const auto start = Clock::now();
        EXPECT_TRUE(FAILED(phases->get_Frequency(&frequency)));
        EXPECT_LT(MillisecondsSince(start), 2500) << "the call outlived its timeout";
        const std::string why = LastError();
        EXPECT_TRUE(why.find("timeout") != std::string::npos || why.find("connection") != std::string::npos) << why;
        Cable(instrument, true);
        // TCP retransmits what waited on the pulled cable; the session takes a few tries at most.
        HRESULT hr = E_FAIL;
        const auto until = Clock::now() + 20s;
        while (FAILED(hr) && Clock::now() < until) {
            hr = phases->put_Frequency(55);
            if (SUCCEEDED(hr)) hr = phases->get_Frequency(&frequency);
        }
        ASSERT_EQ(hr, S_OK) << "the session did not come back: " << LastError();
        EXPECT_EQ(frequency, 55.0) << "a late answer was read as the next one";
        EXPECT_EQ(driver->Close(), S_OK);
    }
}

// A power cut: the instrument is gone without a goodbye and comes back on the same address. The
// session's next call fails at once with the connection lost, not after its timeout, and so do
// the ones after it (a session never reconnects by itself); a new session works.
TEST_F(VirtualLan, APowerCycledInstrumentFailsTheNextCallAtOnce) {
    auto& instrument = *instruments[1];
    for (Transport transport : kTransports) {
        SCOPED_TRACE(NameOf(transport));
        ASSERT_EQ(Open(instrument, transport), S_OK) << LastError();
        ASSERT_EQ(System()->put_IOTimeout(5000), S_OK);
        auto phases = Phases();
        ASSERT_EQ(phases->put_Frequency(50), S_OK) << LastError();
        instrument.Kill();
        ASSERT_TRUE(instrument.Start()) << instrument.Why();
        double frequency = 0;
        const auto start = Clock::now();
        EXPECT_TRUE(FAILED(phases->get_Frequency(&frequency)));
        EXPECT_LT(MillisecondsSince(start), 2000) << "a lost connection waited for the timeout";
        const std::string why = LastError();
        EXPECT_NE(why.find("connection"), std::string::npos) << why;
        // No silent reconnect: the instrument came back reset, which the program must learn.
        EXPECT_TRUE(FAILED(phases->put_Frequency(55)));
        driver->Close();
        ASSERT_EQ(Open(instrument, transport), S_OK) << LastError();
        EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), instrument.Model());
        EXPECT_EQ(driver->Close(), S_OK);
    }
}

}  // namespace
}  // namespace zpv::driver::test
