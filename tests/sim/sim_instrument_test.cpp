#include "zpv4870sim/instrument.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "sim/sim_test_support.h"
#include "zpv4870sim/command_table.h"

namespace zpv::sim {
namespace {

using testing::Ask;
using testing::DrainErrors;

constexpr const char* kUndefinedHeader = "-113,\"Undefined header\"";
constexpr const char* kIllegalValue = "-224,\"Illegal parameter value\"";

Instrument Make(std::string model) {
    InstrumentOptions options;
    options.model = std::move(model);
    return Instrument(options);
}

TEST(SimInstrument, IdentifiesItselfAndAnswersTheCommonQueries) {
    InstrumentOptions options;
    options.model = "ZPV-4832-Standard";
    options.serial = "SN42";
    options.firmware = "2.10";
    Instrument instrument(options);
    EXPECT_EQ(Ask(instrument, "*IDN?"), "Kaltrix,ZPV-4832-Standard,SN42,2.10");
    EXPECT_EQ(Ask(instrument, "*RST;*OPC?"), "1");
    EXPECT_EQ(Ask(instrument, "*TST?"), "0");
    EXPECT_EQ(Ask(instrument, "*idn?"), Ask(instrument, "*IDN?"));
    Instrument byDefault;
    EXPECT_EQ(Ask(byDefault, "*IDN?"), "Kaltrix,ZPV-4803-Advanced,SIM000001,1.00");
}

TEST(SimInstrument, AcceptsExactlyTheTwelveModels) {
    for (const ModelInfo& model : Models()) EXPECT_EQ(Make(std::string(model.name)).Model(), model.name);
    EXPECT_EQ(Models().size(), 12u);
    EXPECT_THROW(Make("ZPV-4803-advanced"), std::invalid_argument);
    EXPECT_THROW(Make("ZPV-4800-Advanced"), std::invalid_argument);
}

// Every stored setting answers its default in long form after *RST and takes that answer back.
TEST(SimInstrument, EveryStoredSettingRoundTripsItsDefault) {
    Instrument advanced = Make("ZPV-4803-Advanced");
    Instrument standard = Make("ZPV-4803-Standard");
    size_t checked = 0;
    for (const CommandRow& row : CommandTable::Instance().Rows()) {
        if (!row.type) continue;
        Instrument& instrument = row.availability == Availability::StandardOnly ? standard : advanced;
        ASSERT_EQ(Ask(instrument, row.header + "?"), row.defaultValue) << row.header;
        ASSERT_EQ(Ask(instrument, row.header + " " + row.defaultValue + ";*OPC?"), "1") << row.header;
        EXPECT_EQ(Ask(instrument, row.header + "?"), row.defaultValue) << row.header;
        ++checked;
    }
    EXPECT_GT(checked, 100u);
    EXPECT_TRUE(DrainErrors(advanced).empty());
    EXPECT_TRUE(DrainErrors(standard).empty());
}

TEST(SimInstrument, StoresSettingsAndAnswersTheKeywordsTheDriverReads) {
    Instrument instrument;
    const std::pair<const char*, const char*> cases[] = {
        {"OUTP:FREQ 59.999999999999", "59.999999999999"},
        {"OUTP:FREQ +5.0E1", "50"},
        {"OUTP:MODE MAN", "MANUAL"},       // written short, read back long
        {"SYST:ANAL 0-10V", "10"},
        {"MAN:WAVE Sine", "SINE"},         // keywords ignore letter case
        {"MAN:WAVE tri", "TRIANGLE"},
        {"STEP:TIME:UNIT SEC", "SECOND"},
        {"OUTP 1", "ON"},
        {"SYST:SENS EXTERNAL", "EXTERNAL"},
        {"LIST:SEQ:ANGL 90", "90"},
        {"MAN:CURR:HIGH ON", "ON"},        // the current limit is switched or given a value
        {"MAN:CURR:HIGH 7.5", "7.5"},
    };
    for (const auto& [command, answer] : cases) {
        const std::string header(command, std::string_view(command).find(' '));
        EXPECT_EQ(Ask(instrument, std::string(command) + ";:" + header + "?"), answer) << command;
    }
    // Headers in long form and any letter case reach the same settings.
    Ask(instrument, "output:voltage:ac 120.5");
    EXPECT_EQ(Ask(instrument, "OUTP:VOLT:AC?"), "120.5");
    EXPECT_TRUE(DrainErrors(instrument).empty());
}

TEST(SimInstrument, AppliesTheHeaderPathRuleAndJoinsAnswers) {
    Instrument instrument;
    Ask(instrument, "MAN:CURR:HIGH 5;DEL 0.5");
    Ask(instrument, "MAN:COUP ACDC;VOLT:DC 10");
    EXPECT_EQ(Ask(instrument, "MAN:CURR:HIGH?;DEL?;:MAN:COUP?;VOLT:DC?"), "5;0.5;ACDC;10");
    EXPECT_EQ(Ask(instrument, "OUTP:VOLT:DC?"), "100");  // the running output is a different setting
    EXPECT_EQ(Ask(instrument, "MAN:VOLT:AC 5"), "<none>");
}

// Answers joined from many queries of one message stop growing at the answer limit: the answer is
// dropped with error -225, every command of the message still runs.
TEST(SimInstrument, JoinedAnswersAreBoundedByTheAnswerLimit) {
    InstrumentOptions options;
    options.limits.maxAnswerBytes = 1000;
    Instrument instrument(options);
    std::string message;
    for (int i = 0; i < 300; ++i) message += "*IDN?;";
    message += ":OUTP:FREQ 55";
    EXPECT_EQ(Ask(instrument, message), "<none>");
    EXPECT_EQ(Ask(instrument, "SYST:ERR?"), "-225,\"Out of memory\"");
    EXPECT_EQ(Ask(instrument, "OUTP:FREQ?"), "55") << "the commands after the overflow ran";
    EXPECT_NE(Ask(instrument, "*IDN?;*IDN?").find(';'), std::string::npos) << "short joined answers still come";
}

TEST(SimInstrument, ReportsErrorsThroughTheEventStatusRegisterAndQueue) {
    Instrument instrument;
    EXPECT_EQ(Ask(instrument, "*ESR?"), "0");
    EXPECT_EQ(Ask(instrument, ":SYST:ERR?"), "+0,\"No error\"");

    Ask(instrument, "OUTP:FOO 1");
    EXPECT_EQ(Ask(instrument, "*ESR?"), "32");
    EXPECT_EQ(Ask(instrument, "*ESR?"), "0");  // reading clears the register, not the queue
    Ask(instrument, "OUTP:FREQ 5000");
    Ask(instrument, "OUTP:MODE SOMETIMES");
    EXPECT_EQ(Ask(instrument, "*ESR?"), "16");
    EXPECT_EQ(DrainErrors(instrument), (std::vector<std::string>{kUndefinedHeader, kIllegalValue, kIllegalValue}));
    EXPECT_EQ(Ask(instrument, "OUTP:FREQ?"), "60");  // a refused value changes nothing

    Ask(instrument, "*RST 1;OUTP:FREQ;OUTP:PROT:CLE?;MEAS:FREQ 5");
    EXPECT_EQ(Ask(instrument, "*ESR?"), "32");
    // A command error abandons the rest of its message, so only the first unit was reported.
    EXPECT_EQ(DrainErrors(instrument), std::vector<std::string>{"-108,\"Parameter not allowed\""});
    Ask(instrument, "OUTP:FREQ");
    Ask(instrument, "OUTP:PROT:CLE?");
    Ask(instrument, "STEP:COUN 2.5");
    EXPECT_EQ(Ask(instrument, "*ESR?"), "48");
    EXPECT_EQ(DrainErrors(instrument),
              (std::vector<std::string>{"-109,\"Missing parameter\"", kUndefinedHeader, kIllegalValue}));

    // An execution error does not stop the message.
    Ask(instrument, "OUTP:FREQ 1;:OUTP:VOLT:AC 50");
    EXPECT_EQ(Ask(instrument, "OUTP:VOLT:AC?"), "50");
    Ask(instrument, "FOO;:OUTP:VOLT:AC 70");
    EXPECT_EQ(Ask(instrument, "OUTP:VOLT:AC?"), "50");
}

TEST(SimInstrument, KeepsTenErrorsThenReportsOverflowAndClearsOnCls) {
    Instrument instrument;
    for (int i = 0; i < 12; ++i) Ask(instrument, "NOPE");
    const auto errors = DrainErrors(instrument);
    ASSERT_EQ(errors.size(), 10u);
    EXPECT_EQ(errors.front(), kUndefinedHeader);
    EXPECT_EQ(errors.back(), "-350,\"Queue overflow\"");

    Ask(instrument, "NOPE");
    Ask(instrument, "SIM:ESR 129");  // bits outside 0x3C, as a power-on would raise
    Ask(instrument, "*CLS");
    EXPECT_EQ(Ask(instrument, "*ESR?;:SYST:ERR?"), "0;+0,\"No error\"");
}

TEST(SimInstrument, SummarisesStatusInTheStatusByte) {
    Instrument instrument;
    EXPECT_EQ(Ask(instrument, "*STB?"), "0");
    Ask(instrument, "*ESE 16;*SRE 32");
    EXPECT_EQ(Ask(instrument, "*ESE?;*SRE?"), "16;32");
    Ask(instrument, "NOPE");  // command error: queued, but not enabled in *ESE
    EXPECT_EQ(Ask(instrument, "*STB?"), "4");
    Ask(instrument, "OUTP:FREQ 0");
    EXPECT_EQ(Ask(instrument, "*STB?"), "100");  // queue + event summary + master summary
}

TEST(SimInstrument, RejectsHeadersTheModelFamilyLacks) {
    Instrument standard = Make("ZPV-4816-Standard");
    Instrument advanced = Make("ZPV-4816-Advanced");
    for (const char* advancedOnly : {"STEP:COUN 3", "PULS:DUTY 20", "MAN:THD 5", "MAN:CURR:LOW 1", "LIST:SEQ:WAVE SINE",
                                     "LIST:PROG:VOLT:DC 5", "STEP:FILE:ADD \"X\"", "PULS:FILE:TOT?"}) {
        Ask(standard, advancedOnly);
        EXPECT_EQ(DrainErrors(standard), std::vector<std::string>{kUndefinedHeader}) << advancedOnly;
        Ask(advanced, advancedOnly);
        EXPECT_TRUE(DrainErrors(advanced).empty()) << advancedOnly;
    }
    for (const char* standardOnly : {"LIST:SEQ:FREQ 50", "LIST:SEQ:VOLT:AC 100"}) {
        Ask(advanced, standardOnly);
        EXPECT_EQ(DrainErrors(advanced), std::vector<std::string>{kUndefinedHeader}) << standardOnly;
        Ask(standard, standardOnly);
        EXPECT_TRUE(DrainErrors(standard).empty()) << standardOnly;
    }
    // The driver's phase object sets the waveform on every model.
    EXPECT_EQ(Ask(standard, "MAN:WAVE SQU;WAVE?"), "SQUARE");
}

TEST(SimInstrument, ResetRestoresSettingsButKeepsTheErrorQueue) {
    Instrument instrument;
    Ask(instrument, "OUTP:FREQ 50;:MAN:VOLT:AC 20;:LIST:SEQ:ADD;:MAN:FILE:ADD \"B\";:NOPE");
    Ask(instrument, "*RST");
    EXPECT_EQ(Ask(instrument, "OUTP:FREQ?;:MAN:VOLT:AC?;:LIST:SEQ:TOT?;:MAN:FILE:TOT?"), "60;0;1;1");
    EXPECT_EQ(DrainErrors(instrument), std::vector<std::string>{kUndefinedHeader});
}

}  // namespace
}  // namespace zpv::sim
