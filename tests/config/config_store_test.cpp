// Logical names and the configuration store: the store file read (and refused with its place
// when it is wrong), and sessions initialized from it, in simulation and over TCP.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "integration/simulator_fixture.h"
#include "platform/com/text_conversion.h"
#include "platform/config/config_store.h"

namespace zpv::driver::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kModule = R"(
  <SoftwareModule name="ZPV4870" prefix="ZPV4870" modulePath="libzpv4870.so.1" progId="ZPV4870.ZPV4870">
    <PhysicalNames repCap="OutputPhase"><Name>OutputPhase1</Name></PhysicalNames>
    <Structure name="Configurable Initial Settings">
      <Item name="Model" type="String" value="ZPV-4809-Advanced"/>
      <Item name="Retries" type="Integer" value="3"/>
    </Structure>
  </SoftwareModule>)";

TEST(ConfigStore, AStoreReadsBackAsWritten) {
    const std::string text = std::string("<IviConfigurationStore>") + kModule + R"(
  <HardwareAsset name="Bench" resourceDescriptor="TCPIP0::10.0.0.5::5025::SOCKET"/>
  <DriverSession name="S" softwareModule="ZPV4870" hardwareAsset="Bench" simulate="true" rangeCheck="false" driverSetup="Trace=false">
    <VirtualName name="Phase" mapTo="OutputPhase"><Range min="1" max="2" startingPhysicalIndex="1"/></VirtualName>
  </DriverSession>
  <LogicalName name="PowerSource" session="S"/>
</IviConfigurationStore>)";
    const auto first = config::ParseStore(text, "store.xml");
    ASSERT_TRUE(first.error.empty()) << first.error;
    const auto second = config::ParseStore(config::SerializeStore(first.store), "again.xml");
    ASSERT_TRUE(second.error.empty()) << second.error;
    EXPECT_EQ(config::SerializeStore(second.store), config::SerializeStore(first.store));
    const config::DriverSession* s = second.store.FindSession("powersource");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->name, "S");
    EXPECT_TRUE(s->simulate);
    EXPECT_FALSE(s->rangeCheck);
    EXPECT_EQ(s->virtualNames.at(0).ranges.at(0).max, 2);
    EXPECT_EQ(second.store.FindModule("ZPV4870")->physicalNames.at(0).second.at(0), "OutputPhase1");
}

TEST(ConfigStore, MistakesAreReportedWithTheirPlace) {
    const std::pair<const char*, const char*> cases[] = {
        {"<IviConfigurationStore>\n<DriverSession name=\"S\"\n", "store.xml:2: not well-formed XML"},
        {"<IviConfigurationStore>\n<Gadget/>\n</IviConfigurationStore>", "store.xml:2: <Gadget> is not part of"},
        {"<IviConfigurationStore>\n\n<DriverSession name=\"S\" simulate=\"maybe\"/>\n</IviConfigurationStore>",
         "store.xml:3: \"simulate\" of <DriverSession> is \"maybe\", not true or false"},
        {"<IviConfigurationStore>\n<HardwareAsset resourceDescriptor=\"x\"/>\n</IviConfigurationStore>",
         "store.xml:2: <HardwareAsset> needs a \"name\" attribute"},
        {"<IviConfigurationStore>\n<DriverSession name=\"S\" hardwareAsset=\"Nowhere\"/>\n</IviConfigurationStore>",
         "unknown hardware asset \"Nowhere\""},
        {"<IviConfigurationStore><LogicalName name=\"L\" session=\"None\"/></IviConfigurationStore>",
         "unknown session \"None\""},
        {"<Other/>", "store.xml:1: the root element is <Other>"},
        // Numbers beyond 64 bits, ranges that run backwards or whose physical end overflows.
        {"<IviConfigurationStore>\n<DriverSession name=\"S\"><VirtualName name=\"P\" mapTo=\"OutputPhase\">\n"
         "<Range min=\"1\" max=\"99999999999999999999\" startingPhysicalIndex=\"1\"/></VirtualName></DriverSession>"
         "</IviConfigurationStore>",
         "store.xml:3: \"max\" is \"99999999999999999999\", not a whole number"},
        {"<IviConfigurationStore><DriverSession name=\"S\"><VirtualName name=\"P\" mapTo=\"OutputPhase\">"
         "<Range min=\"5\" max=\"1\" startingPhysicalIndex=\"1\"/></VirtualName></DriverSession></IviConfigurationStore>",
         "the range runs from 5 down to 1"},
        {"<IviConfigurationStore><DriverSession name=\"S\"><VirtualName name=\"P\" mapTo=\"OutputPhase\">"
         "<Range min=\"-9223372036854775808\" max=\"9223372036854775807\" startingPhysicalIndex=\"1\"/>"
         "</VirtualName></DriverSession></IviConfigurationStore>",
         "the range's last physical index is beyond 9223372036854775807"},
        // Values of a type they do not have; text XML does not allow.
        {"<IviConfigurationStore><DriverSession name=\"S\"><Structure name=\"Configurable Initial Settings\">"
         "<Item name=\"N\" type=\"Integer\" value=\"4294967296\"/></Structure></DriverSession></IviConfigurationStore>",
         "the Integer item \"N\" has the value \"4294967296\""},
        {"<IviConfigurationStore>\n<HardwareAsset name=\"A&#0;B\" resourceDescriptor=\"x\"/></IviConfigurationStore>",
         "store.xml:2: the character reference &#0; names a character XML does not allow"},
        {"<!DOCTYPE s [<!ENTITY lol \"lol\">]>\n<IviConfigurationStore>\n<HardwareAsset name=\"&lol;\" "
         "resourceDescriptor=\"x\"/></IviConfigurationStore>",
         "store.xml:3: the entity reference &lol; is not one of XML's own"},
        {"<IviConfigurationStore><HardwareAsset name=\"\x01\" resourceDescriptor=\"x\"/></IviConfigurationStore>",
         "the control character 0x01 is not allowed"},
        {"<IviConfigurationStore><HardwareAsset name=\"\xff\xfe\" resourceDescriptor=\"x\"/></IviConfigurationStore>",
         "the byte 0xFF does not begin a UTF-8 character"},
        // A reference is a reference wherever it stands, even behind text that looks like markup.
        {"<IviConfigurationStore>\n<HardwareAsset name=\"&lt;!DOCTYPE &#x1D;\" resourceDescriptor=\"x\"/>"
         "</IviConfigurationStore>", "store.xml:2: the character reference &#x1D; names a character XML does not allow"},
        // Bytes in a processing instruction or a comment are checked as well.
        {"<?\x88\x92 x?>\n<IviConfigurationStore/>", "store.xml:1: the byte 0x88 does not begin"},
        {"<IviConfigurationStore>\n<!-- \x01 -->\n</IviConfigurationStore>", "store.xml:2: the control character 0x01"},
    };
    for (const auto& [text, expected] : cases) {
        const auto result = config::ParseStore(text, "store.xml");
        EXPECT_NE(result.error.find(expected), std::string::npos) << text << "\n-> " << result.error;
    }
}

TEST(ConfigStore, DeepStructuresAreRefusedWithTheirPlace) {
    std::string text = "<IviConfigurationStore><DriverSession name=\"S\">\n";
    for (int i = 0; i < 30000; ++i) text += "<Structure name=\"s\">";
    for (int i = 0; i < 30000; ++i) text += "</Structure>";
    text += "</DriverSession></IviConfigurationStore>";
    const auto result = config::ParseStore(text, "deep.xml");
    EXPECT_NE(result.error.find("deep.xml:2: structures are nested more than 32 deep"), std::string::npos) << result.error;
}

class StoreSession : public SimulatorTest {
protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        setenv("ZPV4870_CONFIG_STORE", path.c_str(), 1);
    }
    void TearDown() override {
        SimulatorTest::TearDown();
        unsetenv("ZPV4870_CONFIG_STORE");
        fs::remove(path);
    }
    void Write(const std::string& body, bool withModule = true) {
        std::ofstream(path) << "<IviConfigurationStore>" << (withModule ? kModule : "") << body
                            << "</IviConfigurationStore>\n";
    }
    HRESULT Open(const std::string& name, const std::string& options = "") {
        return Init(com::WideFromUtf8(options).c_str(), false, false, com::WideFromUtf8(name).c_str());
    }
    std::string Operation(HRESULT (IIviDriverOperation::*getter)(BSTR*)) {
        CComBSTR value;
        EXPECT_EQ((operation.Get()->*getter)(&value), S_OK);
        return com::Utf8FromBstr(value);
    }

    fs::path path = fs::temp_directory_path() / ("zpv-store-" + std::to_string(::getpid()) + ".xml");
};

TEST_F(StoreSession, ALogicalNameOpensASimulatedSessionWithItsInitialSettings) {
    Write(R"(<DriverSession name="Sim" softwareModule="ZPV4870" simulate="true">
               <VirtualName name="Main" mapTo="OutputPhase1"/>
               <VirtualName name="Phase" mapTo="OutputPhase"><Range min="1" max="1" startingPhysicalIndex="1"/></VirtualName>
             </DriverSession>
             <LogicalName name="PowerSource" session="Sim"/>)");
    ASSERT_EQ(Open("PowerSource"), S_OK) << LastError();
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), "ZPV-4809-Advanced");
    EXPECT_EQ(Operation(&IIviDriverOperation::get_LogicalName), "PowerSource");
    EXPECT_EQ(Operation(&IIviDriverOperation::get_IoResourceDescriptor), "");
    LONG retries = 0;
    EXPECT_TRUE(Framework().InitialSetting("RETRIES", retries));
    EXPECT_EQ(retries, 3);
    // Virtual names reach the phase, with and without a range.
    CComPtr<IIviACPwr> root;
    driver->QueryInterface(&root);
    CComPtr<IIviACPwrOutputPhases> phases;
    root->get_OutputPhases(&phases);
    for (const wchar_t* name : {L"Main", L"phase1", L"OutputPhase1"}) {
        CComPtr<IIviACPwrOutputPhase> phase;
        EXPECT_EQ(phases->get_Item(CComBSTR(name), &phase), S_OK) << LastError();
    }
    CComPtr<IIviACPwrOutputPhase> none;
    EXPECT_NE(phases->get_Item(CComBSTR(L"Phase2"), &none), S_OK);
    // The index shows the first virtual name of the phase, as the store spells it.
    CComBSTR shown;
    EXPECT_EQ(phases->get_Name(1, &shown), S_OK);
    EXPECT_EQ(com::Utf8FromBstr(shown), "Main");
    // DriverSetup's Model, read after the initial settings, wins.
    ASSERT_EQ(driver->Close(), S_OK);
    ASSERT_EQ(Open("PowerSource", "DriverSetup=Model=ZPV-4848-Standard"), S_OK) << LastError();
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), "ZPV-4848-Standard");
}

TEST_F(StoreSession, RangesAtTheLimitsOfSixtyFourBitsResolveWithoutExpanding) {
    Write(R"(<DriverSession name="Sim" softwareModule="ZPV4870" simulate="true">
               <VirtualName name="Far" mapTo="OutputPhase!!OutputPhase">
                 <Range min="-9223372036854775808" max="9223372036854775807"
                        startingPhysicalIndex="-9223372036854775808"/></VirtualName>
             </DriverSession>)");
    ASSERT_EQ(Open("Sim"), S_OK) << LastError();
    CComPtr<IIviACPwr> root;
    driver->QueryInterface(&root);
    CComPtr<IIviACPwrOutputPhases> phases;
    root->get_OutputPhases(&phases);
    CComPtr<IIviACPwrOutputPhase> phase;
    EXPECT_EQ(phases->get_Item(CComBSTR(L"far1"), &phase), S_OK) << LastError();
    phase.Release();
    for (const wchar_t* other : {L"Far2", L"Far-9223372036854775808", L"Far9223372036854775807", L"Far01", L"Far+1"})
        EXPECT_NE(phases->get_Item(CComBSTR(other), &phase), S_OK);
    CComBSTR shown;
    EXPECT_EQ(phases->get_Name(1, &shown), S_OK);
    EXPECT_EQ(com::Utf8FromBstr(shown), "Far1");
}

TEST_F(StoreSession, ASessionOnAHardwareAssetTalksToTheInstrument) {
    StartSimulator("ZPV-4832-Advanced");
    const std::string resource = com::Utf8FromWide(this->resource);
    Write("<HardwareAsset name=\"Bench\" resourceDescriptor=\"" + resource + R"("/>
           <DriverSession name="Real" softwareModule="ZPV4870" hardwareAsset="Bench" simulate="true"/>
           <LogicalName name="PowerSource" session="Real"/>)");
    // The option string overrides the session's Simulate.
    ASSERT_EQ(Open("PowerSource", "Simulate=false"), S_OK) << LastError();
    EXPECT_EQ(Text(&IIviDriverIdentity::get_InstrumentModel), "ZPV-4832-Advanced");
    EXPECT_EQ(Operation(&IIviDriverOperation::get_IoResourceDescriptor), resource);
    VARIANT_BOOL simulating = VARIANT_TRUE;
    operation->get_Simulate(&simulating);
    EXPECT_EQ(simulating, VARIANT_FALSE);
}

TEST_F(StoreSession, ADescriptorNeedsTheSoftwareModuleInAStore) {
    Write("", false);
    EXPECT_EQ(Open("", "Simulate=true"), Hr(0x80047000));
    EXPECT_NE(LastError().find("Software module could not be loaded from the IVI Configuration Store."), std::string::npos);
    Write("");
    EXPECT_EQ(Open("", "Simulate=true"), S_OK) << LastError();
}

TEST_F(StoreSession, AMalformedStoreFailsInitializeNamingTheFileAndLine) {
    std::ofstream(path) << "<IviConfigurationStore>\n<DriverSession name=\"S\" cache=\"often\"/>\n</IviConfigurationStore>";
    EXPECT_EQ(Open("S"), Hr(0x80047000));
    const std::string error = LastError();
    EXPECT_NE(error.find(path.string() + ":2: \"cache\" of <DriverSession> is \"often\""), std::string::npos) << error;
}

}  // namespace
}  // namespace zpv::driver::test
