// The modern C++ face as its users meet it: values of each type family in and out, phases by
// number and name, errors thrown with the driver's description and category or returned by the
// try_ forms, sessions closed by destructors, moved-from drivers; in simulation and over TCP.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <mutex>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "members/member_catalog.h"
#include <functional>

#include "zpv4870/driver.hpp"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/socket_server.h"

namespace {

class Face : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        zpv::sim::InstrumentOptions options;
        options.model = "ZPV-4832-Advanced";
        options.log = [this](std::string_view event) {
            std::lock_guard lock(logMutex);
            log.emplace_back(event);
        };
        instrument = std::make_unique<zpv::sim::Instrument>(options);
        server = std::make_unique<zpv::sim::SocketServer>(*instrument);
        server->Start(0);
    }
    void TearDown() override { server->Stop(); }
    bool OverTcp() const { return GetParam(); }
    zpv4870::Driver Open() {
        if (!OverTcp()) return zpv4870::Driver("", {.simulate = true, .driver_setup = "Model=ZPV-4832-Advanced"});
        return zpv4870::Driver(Resource(), {.reset = true});
    }
    std::string Resource() const { return "TCPIP0::127.0.0.1::" + std::to_string(server->Port()) + "::SOCKET"; }
    std::vector<std::string> Log() {
        std::lock_guard lock(logMutex);
        return log;
    }

    std::unique_ptr<zpv::sim::Instrument> instrument;
    std::unique_ptr<zpv::sim::SocketServer> server;
    std::mutex logMutex;
    std::vector<std::string> log;
};

TEST_P(Face, ValuesOfEveryTypeGoInAndComeBack) {
    zpv4870::Driver drv = Open();
    // A per-phase double: the class-compliant one keeps it in simulation, the instrument's over TCP.
    if (OverTcp()) {
        drv.output_phases().phase(1).voltage_level(230.5);
        EXPECT_EQ(drv.output_phases().phase("OutputPhase1").voltage_level(), 230.5);
        drv.manual_mode().range(zpv4870::Range::High);
        EXPECT_EQ(drv.manual_mode().range(), zpv4870::Range::High);
        drv.output_phases().phase(1).enabled(true);
        EXPECT_TRUE(drv.output_phases().phase(1).enabled());
        drv.output_phases().phase(1).waveform("SINE");
        EXPECT_EQ(drv.output_phases().phase(1).waveform(), "SINE");
        const zpv4870::Readings r = drv.measure().all();
        EXPECT_EQ(r.voltage_ac, 230.5);
    } else {
        drv.ivi().output_phases().phase(1).voltage_level(230.5);
        EXPECT_EQ(drv.ivi().output_phases().phase("OutputPhase1").voltage_level(), 230.5);
        drv.ivi().output_phases().phase(1).dc_generation().mode(zpv4870::IviDCGenerationMode::ACPlusDC);
        EXPECT_EQ(drv.ivi().output_phases().phase(1).dc_generation().mode(), zpv4870::IviDCGenerationMode::ACPlusDC);
        drv.ivi().output_phases().phase(1).enabled(true);
        EXPECT_TRUE(drv.ivi().output_phases().phase(1).enabled());
        drv.output_phases().phase(1).waveform("SINE");
        EXPECT_EQ(drv.output_phases().phase(1).waveform(), "SINE");
    }
    drv.range_check(false);
    EXPECT_FALSE(drv.range_check());
    EXPECT_EQ(drv.model(), "ZPV-4832-Advanced");
    EXPECT_EQ(drv.specification_major_version(), 1);
    const auto [code, message] = drv.error_query();
    EXPECT_EQ(code, 0);
    int phases = 0;
    for (auto phase : drv.output_phases().phases()) {
        (void)phase;
        ++phases;
    }
    EXPECT_EQ(phases, 1);
}

TEST_P(Face, ErrorsCarryTheDescriptionAndTheCategory) {
    zpv4870::Driver drv = Open();
    try {
        drv.system().alarm(12);
        FAIL() << "no exception";
    } catch (const zpv4870::InvalidValue& e) {
        EXPECT_EQ(e.code().category(), zpv4870::category());
        EXPECT_EQ(static_cast<std::uint32_t>(e.status()), 0x80047010u);
        EXPECT_EQ(std::string(e.what()).rfind("ZPV4870: Invalid value '12'", 0), 0u) << e.what();
    }
    const auto refused = drv.system().try_alarm(12);
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(static_cast<std::uint32_t>(refused.error().status()), 0x80047010u);
    EXPECT_TRUE(drv.system().try_alarm(3).has_value());
    // A phase the instrument does not have.
    EXPECT_THROW(drv.output_phases().phase("OutputPhase7"), zpv4870::Error);
    // Status checking is on unless the options say otherwise.
    EXPECT_TRUE(drv.query_instrument_status());
    // Numbers that are none never leave the program.
    EXPECT_THROW(drv.ivi().output_phases().phase(1).voltage_level(std::nan("")), zpv4870::InvalidValue);
    EXPECT_FALSE(drv.ivi().output_phases().phase(1).try_voltage_level(HUGE_VAL).has_value());
    EXPECT_EQ(drv.ivi().output_phases().phase(1).try_voltage_level(-HUGE_VAL).error().status(), static_cast<HRESULT>(zpv4870::status::kInvalidValue));
    if (!OverTcp()) {
        // Direct I/O has no session in simulation: an I/O error.
        EXPECT_THROW(drv.system().read_string(), zpv4870::IoError);
    } else {
        // What the instrument refuses fails with the instrument's own words, on the driver's
        // groups and on a phase alike, and the queue is left empty.
        for (auto refuse : {std::function<void()>([&] { drv.manual_mode().voltage_ac(9999.0); }),
                            std::function<void()>([&] { drv.output_phases().phase(1).voltage_level(9999.0); })}) {
            try {
                refuse();
                ADD_FAILURE() << "no exception";
            } catch (const zpv4870::Error& e) {
                EXPECT_EQ(static_cast<std::uint32_t>(e.status()), zpv4870::status::kInstrumentStatus);
                EXPECT_NE(std::string(e.what()).find("the instrument refused it: -2"), std::string::npos) << e.what();
            }
        }
        EXPECT_EQ(std::get<0>(drv.error_query()), 0);
    }
}

TEST(FaceModels, AStandardModelRefusesWhatOnlyAdvancedModelsHave) {
    zpv4870::Driver drv("", {.simulate = true, .driver_setup = "Model=ZPV-4816-Standard"});
    EXPECT_THROW(drv.list_mode().sequence().voltage_ac_start(10.0), zpv4870::NotSupportedByModel);
    EXPECT_FALSE(drv.list_mode().sequence().try_voltage_ac_start().has_value());
}

TEST_P(Face, TheDestructorClosesAndAMovedFromDriverIsEmpty) {
    if (!OverTcp()) GTEST_SKIP() << "the simulator sees connections only over TCP";
    {
        zpv4870::Driver first = Open();
        zpv4870::Driver second = std::move(first);
        EXPECT_FALSE(first.is_open());
        EXPECT_TRUE(second.is_open());
        EXPECT_THROW(first.model(), zpv4870::Error);
        EXPECT_EQ(second.model(), "ZPV-4832-Advanced");
    }
    // The simulator notices the connection close a moment later.
    for (int i = 0; i < 200 && Log().back() != "closed"; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const auto log = Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "open"), 1);
    EXPECT_EQ(log.back(), "closed");
    // try_open reports a failed open instead of throwing.
    const auto failed = zpv4870::Driver::try_open("TCPIP0::127.0.0.1::1::SOCKET");
    ASSERT_FALSE(failed.has_value());
    EXPECT_NE(std::string(failed.error().what()).find("ZPV4870:"), std::string::npos);
}

// A reply read into the caller's storage, in as many reads as the storage needs; nothing is lost
// between them.
TEST_P(Face, RepliesLandInTheCallersStorage) {
    if (!OverTcp()) GTEST_SKIP() << "direct I/O needs an instrument";
    zpv4870::Driver drv = Open();
    drv.system().write_string("SIM:BLOCK? 100000\n");
    std::vector<std::byte> storage(60000);
    std::string reply;
    zpv4870::Driver::ReadResult got;
    do {
        got = drv.read_into(storage);
        reply.append(reinterpret_cast<const char*>(storage.data()), got.count);
    } while (!got.ended);
    ASSERT_EQ(reply.size(), 8u + 100000u + 1u);
    EXPECT_EQ(reply.substr(0, 10), "#6100000AB");
    EXPECT_EQ(reply.substr(reply.size() - 3), "CD\n");  // 100000 letters: 3846 alphabets and ABCD
    drv.system().write_string("*IDN?\n");
    got = drv.read_into(storage);
    EXPECT_TRUE(got.ended);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(storage.data()), 8), "Kaltrix,");
}

INSTANTIATE_TEST_SUITE_P(Sessions, Face, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "OverTcp" : "Simulated"; });

// Every member of the member tables has its function in the generated views.
TEST(FaceCoverage, EveryMemberOfTheObjectInterfaceHasItsFunction) {
    std::ifstream in(ZPV4870_SOURCE_DIR "/include/zpv4870/driver_members.hpp");
    std::stringstream text;
    text << in.rdbuf();
    std::set<std::string> offered;
    const std::string header = text.str();
    const std::regex line(R"(// members:([^\n]*))");
    for (auto it = std::sregex_iterator(header.begin(), header.end(), line); it != std::sregex_iterator(); ++it) {
        std::stringstream names((*it)[1].str());
        for (std::string name; names >> name;) offered.insert(name);
    }
    int checked = 0;
    for (const auto& m : zpv::members::AllMembers()) {
        // The direct I/O object has no place in the face; the timeout pair is one property.
        const std::string name = std::string(m.interfaceName) + "." + m.name;
        if (name == "IZPV4870System.get_DirectIO" || name == "IZPV4870System.put_IOTimeout") continue;
        EXPECT_TRUE(offered.contains(name)) << name << " has no function in the face";
        ++checked;
    }
    EXPECT_GT(checked, 250);
}

}  // namespace
