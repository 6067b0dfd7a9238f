// Traced sessions end to end: the file a session writes, parsed with an XML parser; its limits
// and failures; threads; and the sinks that receive each record.
#include <pugixml.hpp>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "core/driver_fixture.h"
#include "platform/com/text_conversion.h"

namespace zpv::driver::test {
namespace {

namespace fs = std::filesystem;

class TracedSession : public DriverTest {
protected:
    void TearDown() override {
        DriverTest::TearDown();
        fs::remove(path);
    }
    HRESULT Open(const std::string& settings = "") {
        const std::string options = "Simulate=true, DriverSetup=Model=ZPV-4832-Advanced, Trace=true, TraceName=" +
                                    path.string() + (settings.empty() ? "" : ", " + settings);
        return Init(com::WideFromUtf8(options).c_str(), false, false, L"");
    }
    template <class I>
    CComPtr<I> Phase() {
        CComPtr<IIviACPwr> root;
        driver->QueryInterface(&root);
        CComPtr<IIviACPwrOutputPhases> phases;
        root->get_OutputPhases(&phases);
        CComPtr<IIviACPwrOutputPhase> phase;
        phases->get_Item(CComBSTR(L"OutputPhase1"), &phase);
        CComPtr<I> wanted;
        phase->QueryInterface(&wanted);
        return wanted;
    }
    pugi::xml_node Records() {
        EXPECT_TRUE(document.load_file(path.c_str())) << "the trace is not well-formed";
        return document.child("TraceRecords");
    }
    static std::vector<std::string> Names(pugi::xml_node records) {
        std::vector<std::string> names;
        for (auto m : records.children("Method")) names.push_back(m.attribute("Name").value());
        return names;
    }

    fs::path path = fs::temp_directory_path() / ("zpv-session-" + std::to_string(::getpid()) + "-" +
                                                 ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                                 ".xml");
    pugi::xml_document document;
};

TEST_F(TracedSession, EveryCallIsARecordWithItsParametersAndStatus) {
    ASSERT_EQ(Open(), S_OK) << LastError();
    auto phase = Phase<IZPV4870OutputPhase>();
    auto classPhase = Phase<IIviACPwrOutputPhase>();
    EXPECT_EQ(classPhase->put_VoltageLevel(230.5), S_OK);
    double level = 0;
    EXPECT_EQ(classPhase->get_VoltageLevel(&level), S_OK);
    EXPECT_NE(phase->put_Waveform(CComBSTR(L"Sine \"<x>\"")), S_OK);  // not a waveform name
    CComPtr<IZPV4870System> system;
    driver->QueryInterface(&system);
    SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, 3);
    LONG written = 0;
    EXPECT_NE(system->WriteBytes(bytes, &written), S_OK);  // no direct I/O in simulation
    SafeArrayDestroy(bytes);
    SAFEARRAY* measurements = SafeArrayCreateVector(VT_R8, 0, 2);
    LONG actual = 0;
    EXPECT_EQ(classPhase->FetchMeasurementArray(IviACPwrMeasurementTypeVoltageRMS, &measurements, &actual), E_NOTIMPL);
    SafeArrayDestroy(measurements);
    ASSERT_EQ(driver->Close(), S_OK);

    const auto records = Records();
    EXPECT_EQ(Names(records), (std::vector<std::string>{"Initialize", "get_OutputPhases", "get_Item", "get_OutputPhases", "get_Item",
                                                        "put_VoltageLevel", "get_VoltageLevel", "put_Waveform",
                                                        "WriteBytes", "FetchMeasurementArray", "Close"}));
    for (auto m : records.children("Method")) {
        std::set<std::string> attributes;
        for (auto a : m.attributes()) attributes.insert(a.name());
        EXPECT_EQ(attributes, (std::set<std::string>{"Name", "Interface", "StartTime", "Thread", "Timestamp"}));
        EXPECT_TRUE(m.child("HRESULT")) << m.attribute("Name").value();
        EXPECT_TRUE(m.child("Execution").attribute("ExecutionTime"));
        EXPECT_EQ(m.last_child().name(), std::string("Execution"));
        const bool failed = std::string(m.child("HRESULT").attribute("Value").value()) != "0x00000000";
        EXPECT_EQ(!m.child("HRESULT").attribute("Message").empty(), failed && std::string(m.attribute("Name").value()) != "FetchMeasurementArray")
            << m.attribute("Name").value();
    }
    const auto get = records.find_child_by_attribute("Method", "Name", "get_VoltageLevel");
    EXPECT_STREQ(get.attribute("Interface").value(), "IIviACPwrOutputPhase");
    EXPECT_STREQ(get.child("Parameter").attribute("Direction").value(), "Out");
    EXPECT_STREQ(get.child("Parameter").attribute("Value").value(), "230.5");
    EXPECT_STREQ(get.child("Parameter").attribute("DataType").value(), "Double");
    // Quotes and angle brackets survive the file.
    const auto waveform = records.find_child_by_attribute("Method", "Name", "put_Waveform");
    EXPECT_STREQ(waveform.child("Parameter").attribute("Value").value(), "Sine \"<x>\"");
    EXPECT_NE(std::string(waveform.child("HRESULT").attribute("Message").value()).find("'Sine \"<x>\"'"), std::string::npos);
    const auto write = records.find_child_by_attribute("Method", "Name", "WriteBytes");
    EXPECT_STREQ(write.child("Parameter").attribute("DataType").value(), "Byte[]");
    EXPECT_EQ(std::distance(write.child("Parameter").children("Element").begin(),
                            write.child("Parameter").children("Element").end()), 3);
    const auto fetch = records.find_child_by_attribute("Method", "Name", "FetchMeasurementArray");
    int inOut = 0;
    for (auto p : fetch.children("Parameter")) inOut += std::string(p.attribute("Name").value()) == "Measurement";
    EXPECT_EQ(inOut, 2);
}

TEST_F(TracedSession, SwitchedOffInTheSameDriverSetupNothingIsWritten) {
    ASSERT_EQ(Open("Trace=false"), S_OK) << LastError();
    EXPECT_EQ(driver->Close(), S_OK);
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(TracedSession, AFileThatCannotBeCreatedFailsInitializeNamingIt) {
    path = "/nonexistent-zpv-dir/trace.xml";
    EXPECT_EQ(Open(), Hr(0x80070002));
    const std::string error = LastError();
    EXPECT_NE(error.find("/nonexistent-zpv-dir/trace.xml"), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    VARIANT_BOOL initialized = VARIANT_TRUE;
    driver->get_Initialized(&initialized);
    EXPECT_EQ(initialized, VARIANT_FALSE);
}

TEST_F(TracedSession, TheSizeLimitStopsRecordingAndTheFileStaysWellFormed) {
    ASSERT_EQ(Open("TraceSizeMax=1"), S_OK) << LastError();
    auto phase = Phase<IIviACPwrOutputPhase>();
    for (int i = 0; i < 5; ++i) phase->put_VoltageLevel(100.0 + i);
    ASSERT_EQ(driver->Close(), S_OK);
    EXPECT_EQ(Names(Records()), (std::vector<std::string>{"Initialize"}));
}

TEST_F(TracedSession, TheSizeLimitHoldsWhateverTheSaveInterval) {
    ASSERT_EQ(Open("TraceSizeMax=5000, TraceSaveInterval=5"), S_OK) << LastError();
    auto phase = Phase<IIviACPwrOutputPhase>();
    for (int i = 0; i < 2000; ++i) phase->put_VoltageLevel(100.0 + i % 50);
    ASSERT_EQ(driver->Close(), S_OK);
    Records();
    EXPECT_LT(fs::file_size(path), 6000u);  // the record that crossed the limit is the last
}

TEST_F(TracedSession, AFailedInitializeEndsItsFileWithWhyAndARetryStartsClean) {
    const std::string options = "Simulate=false, DriverSetup=Trace=true, TraceName=" + path.string();
    EXPECT_NE(Init(com::WideFromUtf8(options).c_str(), false, false, L"TCPIP0::127.0.0.1::1::SOCKET"), S_OK);
    auto first = Records();
    ASSERT_EQ(Names(first), (std::vector<std::string>{"Initialize"}));
    EXPECT_NE(std::string(first.child("Method").child("HRESULT").attribute("Message").value()).find("ZPV4870: "),
              std::string::npos);
    EXPECT_STREQ(first.child("Method").child("Parameter").attribute("Name").value(), "ResourceName");

    ASSERT_EQ(Open(), S_OK) << LastError();
    Phase<IIviACPwrOutputPhase>();
    ASSERT_EQ(driver->Close(), S_OK);
    EXPECT_EQ(Names(Records()), (std::vector<std::string>{"Initialize", "get_OutputPhases", "get_Item", "Close"}));
}

TEST_F(TracedSession, TwoSessionsOfOneTraceNameWriteTwoFiles) {
    ASSERT_EQ(Open(), S_OK) << LastError();
    CComPtr<IIviDriver> second;
    ASSERT_EQ(CoCreateInstance(CLSID_ZPV4870, nullptr, CLSCTX_INPROC_SERVER, IID_IIviDriver,
                               reinterpret_cast<void**>(&second)), S_OK);
    const std::string options = "Simulate=true, DriverSetup=Trace=true, TraceName=" + path.string();
    ASSERT_EQ(second->Initialize(CComBSTR(L""), VARIANT_FALSE, VARIANT_FALSE, CComBSTR(com::WideFromUtf8(options).c_str())), S_OK);
    auto phase = Phase<IIviACPwrOutputPhase>();
    for (int i = 0; i < 20; ++i) {
        phase->put_VoltageLevel(100.0 + i);
        VARIANT_BOOL on;
        second->get_Initialized(&on);
    }
    ASSERT_EQ(second->Close(), S_OK);
    ASSERT_EQ(driver->Close(), S_OK);
    const fs::path other = path.parent_path() / (path.stem().string() + "-2.xml");
    EXPECT_EQ(Names(Records()).size(), 1u + 2 + 20 + 1);
    pugi::xml_document secondDocument;
    ASSERT_TRUE(secondDocument.load_file(other.c_str())) << "the second trace is not well-formed";
    EXPECT_EQ(Names(secondDocument.child("TraceRecords")).size(), 1u + 20 + 1);
    fs::remove(other);
}

TEST_F(TracedSession, AFullDiskStopsTracingAfterTheLastWholeRecordAndSaysSo) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A file may not grow beyond 8 kB in this process: writes fail as on a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8192, 8192};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        if (Open() != S_OK) std::_Exit(2);
        auto phase = Phase<IIviACPwrOutputPhase>();
        HRESULT failed = S_OK;
        for (int i = 0; i < 200 && failed == S_OK; ++i) failed = phase->put_VoltageLevel(100.0 + i);
        if (failed != Hr(0x8007001B)) std::_Exit(3);                              // EFBIG, reported once
        if (LastError().find("tracing stopped") == std::string::npos) std::_Exit(4);
        if (phase->put_VoltageLevel(1.0) != S_OK) std::_Exit(5);                    // the calls go on
        std::_Exit(driver->Close() == S_OK ? 0 : 6);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    ASSERT_EQ(WEXITSTATUS(status), 0);
    const auto names = Names(Records());
    ASSERT_GT(names.size(), 5u);
    EXPECT_LE(fs::file_size(path), 8192u);
}

TEST_F(TracedSession, ConcurrentThreadsWriteWholeRecords) {
    ASSERT_EQ(Open(), S_OK) << LastError();
    auto phase = Phase<IIviACPwrOutputPhase>();
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 25; ++i) {
                double level = 0;
                phase->put_VoltageLevel(100.0 + t);
                phase->get_VoltageLevel(&level);
            }
        });
    for (auto& t : threads) t.join();
    ASSERT_EQ(driver->Close(), S_OK);
    const auto names = Names(Records());
    EXPECT_EQ(names.size(), 1u + 2 + 8 * 25 * 2 + 1);
    EXPECT_EQ(names.back(), "Close");
}

TEST_F(TracedSession, AProgramThatDiesMidRunLeavesEveryRecordItFinished) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (Open() != S_OK) std::_Exit(2);
        auto phase = Phase<IIviACPwrOutputPhase>();
        for (int i = 0; i < 10; ++i) phase->put_VoltageLevel(100.0 + i);
        std::_Exit(0);  // no Close, no destructors: as a crash would end it
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // The root element was never closed; every record before that is whole.
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text += "</TraceRecords>\r\n";
    ASSERT_TRUE(document.load_string(text.c_str()));
    EXPECT_EQ(Names(document.child("TraceRecords")).size(), 1u + 2 + 10);
}

class CountingSink final : public IZPV4870TraceEventSink {
public:
    explicit CountingSink(HRESULT answer) : answer_(answer) {}
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (riid != IID_IUnknown && riid != IID_IZPV4870TraceEventSink) return E_NOINTERFACE;
        *ppv = static_cast<IZPV4870TraceEventSink*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override { return --references_; }
    HRESULT OnTraceEvent(BSTR record) override {
        const std::string text = com::Utf8FromBstr(record);
        if (text.rfind("<Method ", 0) == 0 && text.ends_with("</Method>\r\n")) ++records;
        else ++malformed;
        return answer_;
    }
    std::atomic<int> records{0}, malformed{0};

private:
    HRESULT answer_;
    std::atomic<ULONG> references_{1};
};

TEST_F(TracedSession, SinksFromAnyThreadReceiveEachRecordAndTheirFailuresChangeNothing) {
    ASSERT_EQ(Open(), S_OK) << LastError();
    CComPtr<IZPV4870TraceEvents> events;
    ASSERT_EQ(driver->QueryInterface(&events), S_OK);
    CountingSink good(S_OK), failing(E_FAIL);
    DWORD goodCookie = 0, failingCookie = 0;
    ASSERT_EQ(events->Advise(&good, &goodCookie), S_OK);
    auto phase = Phase<IIviACPwrOutputPhase>();  // 2 records
    // Registered from another thread while calls run.
    std::thread late([&] { events->Advise(&failing, &failingCookie); });
    for (int i = 0; i < 20; ++i) EXPECT_EQ(phase->put_VoltageLevel(50.0 + i), S_OK);
    late.join();
    EXPECT_EQ(phase->put_VoltageLevel(1.0), S_OK);
    EXPECT_EQ(events->Unadvise(goodCookie), S_OK);
    EXPECT_EQ(phase->put_VoltageLevel(2.0), S_OK);
    EXPECT_EQ(events->Unadvise(failingCookie), S_OK);
    EXPECT_EQ(events->Unadvise(failingCookie), E_INVALIDARG);
    EXPECT_EQ(good.records, 2 + 20 + 1);
    EXPECT_GE(failing.records, 2);
    EXPECT_EQ(good.malformed + failing.malformed, 0);
    ASSERT_EQ(driver->Close(), S_OK);
}

}  // namespace
}  // namespace zpv::driver::test
