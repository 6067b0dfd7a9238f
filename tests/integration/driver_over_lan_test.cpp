// The same driver scenarios over every LAN transport: raw SOCKET, VXI-11 and HiSLIP, each against
// the simulator on loopback.
#include <chrono>

#include "core/driver_fixture.h"
#include "platform/com/block_recycler.h"
#include "platform/com/text_conversion.h"
#include "visa/lan_simulator.h"
#include "visa/loopback_peer.h"

namespace zpv::driver::test {
namespace {

enum class Lan { Socket, Vxi11, Hislip };

std::string TransportName(const ::testing::TestParamInfo<Lan>& info) {
    switch (info.param) {
        case Lan::Socket: return "Socket";
        case Lan::Vxi11: return "Vxi11";
        default: return "Hislip";
    }
}

class DriverOverLan : public DriverTest, public ::testing::WithParamInterface<Lan> {
protected:
    std::wstring Resource() {
        const std::string name = GetParam() == Lan::Socket  ? lan.SocketName()
                                 : GetParam() == Lan::Vxi11 ? lan.Vxi11Name()
                                                            : lan.HislipName();
        return std::wstring(name.begin(), name.end());
    }
    HRESULT Connect(const wchar_t* options = L"") { return Init(options, true, true, Resource().c_str()); }
    template <class I>
    CComPtr<I> Group(HRESULT (IZPV4870::*getter)(I**)) {
        CComPtr<IZPV4870> root;
        driver->QueryInterface(&root);
        CComPtr<I> group;
        EXPECT_EQ((root.Get()->*getter)(&group), S_OK);
        return group;
    }

    // Asks for a block of `bytes` through direct I/O and reads the whole reply.
    static HRESULT ReadBlock(IZPV4870System* system, long bytes, std::string* text) {
        if (HRESULT hr = system->WriteString(CComBSTR((L"SIM:BLOCK? " + std::to_wstring(bytes) + L"\n").c_str()));
            FAILED(hr))
            return hr;
        return ReadReply(system, text);
    }
    // One whole reply as bytes, its line feed dropped.
    static HRESULT ReadReply(IZPV4870System* system, std::string* text) {
        SAFEARRAY* reply = nullptr;
        const HRESULT hr = system->ReadBytes(&reply);
        if (FAILED(hr)) return hr;
        text->assign(static_cast<const char*>(reply->pvData), reply->rgsabound[0].cElements);
        SafeArrayDestroy(reply);
        if (!text->empty() && text->back() == '\n') text->pop_back();  // END-framed transports may drop it
        return hr;
    }
    // Whether text is the simulator's block of `bytes`: "#<n><length>" and "ABC...Z" repeated.
    static bool IsBlock(const std::string& text, long bytes) {
        const std::string count = std::to_string(bytes);
        const std::string header = "#" + std::to_string(count.size()) + count;
        if (text.size() != header.size() + static_cast<std::size_t>(bytes) || text.compare(0, header.size(), header))
            return false;
        for (long i = 0; i < bytes; ++i)
            if (text[header.size() + static_cast<std::size_t>(i)] != 'A' + i % 26) return false;
        return true;
    }

    visa::testing::LanSimulator lan;
};

TEST_P(DriverOverLan, IdentitySettingsAndErrors) {
    ASSERT_EQ(Connect(L"QueryInstrStatus=true, RangeCheck=false"), S_OK) << LastError();
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentManufacturer), "Kaltrix");
    auto phases = Group(&IZPV4870::get_OutputPhases);
    CComPtr<IZPV4870OutputPhase> phase;
    ASSERT_EQ(phases->get_Item(nullptr, &phase), S_OK);
    EXPECT_EQ(phase->put_VoltageLevel(230.5), S_OK) << LastError();
    double level = 0;
    EXPECT_EQ(phase->get_VoltageLevel(&level), S_OK) << LastError();
    EXPECT_EQ(level, 230.5);

    EXPECT_EQ(Group(&IZPV4870::get_System)->put_Alarm(10), Hr(0x80047001));
    LONG code = 0;
    CComBSTR message;
    EXPECT_EQ(utility->ErrorQuery(&code, &message), S_OK);
    EXPECT_EQ(code, -224);
    EXPECT_EQ(driver->Close(), S_OK);
}

TEST_P(DriverOverLan, TimeoutThenRecovery) {
    ASSERT_EQ(Connect(), S_OK) << LastError();
    auto system = Group(&IZPV4870::get_System);
    ASSERT_EQ(system->put_IOTimeout(300), S_OK);
    sim::Faults faults;
    faults.mute = true;
    lan.Instrument().SetFaults(faults);
    auto phases = Group(&IZPV4870::get_OutputPhases);
    double frequency = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(phases->get_Frequency(&frequency), Hr(0x80044215));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_NE(LastError().find("ZPV4870: I/O timeout error:"), std::string::npos);
    lan.Instrument().SetFaults({});
    EXPECT_EQ(phases->put_Frequency(50), S_OK) << LastError();
    EXPECT_EQ(phases->get_Frequency(&frequency), S_OK) << LastError();
    EXPECT_EQ(frequency, 50.0);
}

// Blocks of every awkward size, up to 10 MB, arrive whole and exact; the response limit refuses a
// reply one piece too long, and the session goes on.
TEST_P(DriverOverLan, BlocksArriveExactAtEverySize) {
    ASSERT_EQ(Connect(L"DriverSetup=MaxResponseBytes=10000020"), S_OK) << LastError();
    auto system = Group(&IZPV4870::get_System);
    ASSERT_EQ(system->put_IOTimeout(20000), S_OK);
    for (long bytes : {0L, 1L, 4095L, 4096L, 4097L, 16384L, 65536L, 65537L, 1000000L, 10000000L}) {
        SCOPED_TRACE(bytes);
        std::string text;
        ASSERT_EQ(ReadBlock(system, bytes, &text), S_OK) << LastError();
        EXPECT_TRUE(IsBlock(text, bytes)) << "the block's bytes differ";
    }
    std::string text;
    EXPECT_EQ(ReadBlock(system, 10000020, &text), Hr(0x80044214));
    EXPECT_NE(LastError().find("longer than MaxResponseBytes"), std::string::npos);
    double frequency = 0;
    EXPECT_EQ(Group(&IZPV4870::get_OutputPhases)->get_Frequency(&frequency), S_OK) << LastError();
    EXPECT_EQ(frequency, 60.0);
}

// Two answers back to back: a large read that takes in the start of the second keeps it for the
// next read.
TEST_P(DriverOverLan, BackToBackAnswersStayApart) {
    ASSERT_EQ(Connect(), S_OK) << LastError();
    auto system = Group(&IZPV4870::get_System);
    ASSERT_EQ(system->WriteString(CComBSTR(L"SIM:BLOCK? 70000\n*IDN?\n")), S_OK) << LastError();
    std::string block;
    ASSERT_EQ(ReadReply(system, &block), S_OK) << LastError();
    EXPECT_TRUE(IsBlock(block, 70000));
    CComBSTR identity;
    ASSERT_EQ(system->ReadString(&identity), S_OK) << LastError();
    EXPECT_EQ(com::Utf8FromBstr(identity).rfind("Kaltrix,", 0), 0u);
}

// An answer that arrives after its query timed out is dropped; the next query reads its own.
TEST_P(DriverOverLan, ALateAnswerIsNeverReadAsTheNextOne) {
    ASSERT_EQ(Connect(), S_OK) << LastError();
    auto system = Group(&IZPV4870::get_System);
    auto phases = Group(&IZPV4870::get_OutputPhases);
    ASSERT_EQ(phases->put_Frequency(50), S_OK) << LastError();
    ASSERT_EQ(system->put_Alarm(7), S_OK) << LastError();
    ASSERT_EQ(system->put_IOTimeout(200), S_OK);
    sim::Faults faults;
    faults.answerDelay = std::chrono::milliseconds(300);
    lan.Instrument().SetFaults(faults);
    LONG alarm = 0;
    EXPECT_EQ(system->get_Alarm(&alarm), Hr(0x80044215));
    lan.Instrument().SetFaults({});
    double frequency = 0;
    EXPECT_EQ(phases->get_Frequency(&frequency), S_OK) << LastError();
    EXPECT_EQ(frequency, 50.0) << "the late answer to the alarm query was read as the frequency";
    EXPECT_EQ(system->get_Alarm(&alarm), S_OK) << LastError();
    EXPECT_EQ(alarm, 7);
}

// Binary blocks arrive whole whatever their bytes (line feeds included, which end messages on a
// socket). A large reply's storage is kept for the next one once the caller lets go of it, within
// the limit, and freed when the session closes. A long text reply decodes exactly.
TEST_P(DriverOverLan, LargeRepliesAreExactAndTheirStorageIsReused) {
    ASSERT_EQ(Connect(), S_OK) << LastError();
    auto system = Group(&IZPV4870::get_System);
    ASSERT_EQ(system->put_IOTimeout(20000), S_OK);
    ASSERT_EQ(system->WriteString(CComBSTR(L"SIM:BLOCK:BIN? 300000\n")), S_OK) << LastError();
    std::string binary;
    ASSERT_EQ(ReadReply(system, &binary), S_OK) << LastError();
    ASSERT_EQ(binary.size(), 8u + 300000u);
    EXPECT_EQ(binary.substr(0, 8), "#6300000");
    for (std::size_t i = 0; i < 300000; ++i)
        if (static_cast<unsigned char>(binary[8 + i]) != i % 256) {
            FAIL() << "byte " << i << " differs";
        }

    const void* storage = nullptr;
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(system->WriteString(CComBSTR(L"SIM:BLOCK? 2000000\n")), S_OK) << LastError();
        SAFEARRAY* reply = nullptr;
        ASSERT_EQ(system->ReadBytes(&reply), S_OK) << LastError();
        if (round == 1) {
            EXPECT_EQ(reply->pvData, storage) << "the released block did not serve the next reply";
        }
        storage = reply->pvData;
        SafeArrayDestroy(reply);
    }
    const auto kept = com::recycler::KeptByThisThread();
    EXPECT_GE(kept.bytes, 2000000u);
    EXPECT_LE(kept.bytes, com::recycler::Limit());

    ASSERT_EQ(system->WriteString(CComBSTR(L"SIM:BLOCK? 1000000\n")), S_OK) << LastError();
    CComBSTR text;
    ASSERT_EQ(system->ReadString(&text), S_OK) << LastError();
    std::wstring expected = L"#71000000";
    for (int i = 0; i < 1000000; ++i) expected += static_cast<wchar_t>(L'A' + i % 26);
    std::wstring_view got = com::ViewOf(text);
    if (!got.empty() && got.back() == L'\n') got.remove_suffix(1);
    EXPECT_TRUE(got == expected) << "the text reply differs";

    EXPECT_EQ(driver->Close(), S_OK);
    EXPECT_EQ(com::recycler::KeptInProcess().blocks, 0u) << "blocks outlived the session";
}

// Scenarios of one transport each.
class DriverOnOneTransport : public DriverTest {};

TEST_F(DriverOnOneTransport, EachCauseKeepsItsStatusAndReason) {
    visa::testing::LanSimulator lan;
    EXPECT_EQ(Init(L"", false, false, L"TCPIP0::127.0.0.1::inst7::INSTR"), Hr(0x80047060));
    EXPECT_NE(LastError().find("refused a link to 'inst7'"), std::string::npos);

    // A portmapper that accepts and never answers: a timeout, not an unknown resource.
    unsigned short silentPort = 0;
    const int silent = visa::testing::BoundLoopbackSocket(4, &silentPort);
    ::setenv("ZPV4870_VXI11_PORTMAPPER_PORT", std::to_string(silentPort).c_str(), 1);
    EXPECT_EQ(Init(L"", false, false, L"TCPIP0::127.0.0.1::inst0::INSTR"), Hr(0x80044215));
    const std::string text = LastError();
    EXPECT_EQ(text.rfind("ZPV4870: I/O timeout error: Failed to open VISA resource..\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("127.0.0.1:" + std::to_string(silentPort)), std::string::npos) << text;
    ::close(silent);
}

// A long reply over VXI-11 takes one device_read per maxRecvSize (1 MiB), not one per piece.
// A megabyte each way takes as few calls as the link's maxRecvSize allows: one read at the default
// 1 MiB; at 256 KiB a 1 MB message goes out in four writes with END on the last only (an early END
// would end the message there), and a 1 MB reply comes in four reads.
TEST_F(DriverOnOneTransport, AMegabyteEachWayOverVxi11TakesTheFewestCalls) {
    for (std::uint32_t maxRecvSize : {1u << 20, 1u << 18}) {
        SCOPED_TRACE(maxRecvSize);
        visa::testing::LanSimulatorOptions options;
        options.vxi11.maxRecvSize = maxRecvSize;
        visa::testing::LanSimulator lan(options);
        ASSERT_EQ(Init(L"", false, false, L"TCPIP0::127.0.0.1::inst0::INSTR"), S_OK) << LastError();
        CComPtr<IZPV4870> root;
        ASSERT_EQ(driver->QueryInterface(&root), S_OK);
        CComPtr<IZPV4870System> system;
        ASSERT_EQ(root->get_System(&system), S_OK);
        const auto calls = [](std::size_t bytes, std::size_t piece) { return (bytes + piece - 1) / piece; };

        std::wstring message = L"OUTP:FREQ 40";
        while (message.size() < 1000000) message += L";FREQ 45";
        message += L";FREQ 51\n";
        const std::size_t writesBefore = lan.Vxi11().DeviceWrites();
        const std::size_t endsBefore = lan.Vxi11().DeviceWritesWithEnd();
        ASSERT_EQ(system->WriteString(CComBSTR(message.c_str())), S_OK) << LastError();
        EXPECT_EQ(lan.Vxi11().DeviceWrites() - writesBefore, calls(message.size(), maxRecvSize));
        EXPECT_EQ(lan.Vxi11().DeviceWritesWithEnd() - endsBefore, 1u);
        CComPtr<IZPV4870OutputPhases> phases;
        ASSERT_EQ(root->get_OutputPhases(&phases), S_OK);
        double frequency = 0;
        ASSERT_EQ(phases->get_Frequency(&frequency), S_OK) << LastError();
        EXPECT_EQ(frequency, 51.0) << "the message did not arrive whole";

        ASSERT_EQ(system->WriteString(CComBSTR(L"SIM:BLOCK? 1000000\n")), S_OK) << LastError();
        const std::size_t readsBefore = lan.Vxi11().DeviceReads();
        SAFEARRAY* block = nullptr;
        ASSERT_EQ(system->ReadBytes(&block), S_OK) << LastError();
        EXPECT_EQ(block->rgsabound[0].cElements, 1000010u);  // "#71000000", the data, a line feed
        SafeArrayDestroy(block);
        EXPECT_EQ(lan.Vxi11().DeviceReads() - readsBefore, calls(1000010, maxRecvSize));
        driver->Close();
    }
}

INSTANTIATE_TEST_SUITE_P(AllTransports, DriverOverLan, ::testing::Values(Lan::Socket, Lan::Vxi11, Lan::Hislip),
                         TransportName);

}  // namespace
}  // namespace zpv::driver::test
