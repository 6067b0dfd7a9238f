// List programs, setting files, live measurements and logged results.
#include <gtest/gtest.h>

#include "sim/sim_test_support.h"
#include "zpv4870sim/instrument.h"

namespace zpv::sim {
namespace {

using testing::Ask;
using testing::DrainErrors;
using testing::Numbers;

TEST(SimListProgram, ManagesSequencesAndKeepsSettingsPerSequence) {
    Instrument instrument;
    EXPECT_EQ(Ask(instrument, "LIST:SEQ:TOT?;EDIT?"), "1;1");
    Ask(instrument, "LIST:SEQ:TIME 2;:LIST:SEQ:ADD;:LIST:SEQ:TIME 3;:LIST:SEQ:ADD;:LIST:SEQ:TIME 4");
    EXPECT_EQ(Ask(instrument, "LIST:SEQ:TOT?;EDIT?;TIME?"), "3;3;4");  // an added sequence is edited next
    EXPECT_EQ(Ask(instrument, "LIST:SEQ:EDIT 1;TIME?"), "2");

    Ask(instrument, "LIST:SEQ:COPY 2");  // into the sequence being edited
    EXPECT_EQ(Ask(instrument, "LIST:SEQ:TIME?"), "3");

    // Deleting renumbers; the selection stays with its sequence or takes the next one's place.
    Ask(instrument, "LIST:SEQ:EDIT 3;DEL 1");
    EXPECT_EQ(Ask(instrument, "LIST:SEQ:TOT?;EDIT?;TIME?"), "2;2;4");
    Ask(instrument, "LIST:SEQ:DEL 2");
    EXPECT_EQ(Ask(instrument, "LIST:SEQ:TOT?;EDIT?;TIME?"), "1;1;3");
    EXPECT_TRUE(DrainErrors(instrument).empty());

    Ask(instrument, "LIST:SEQ:EDIT 2");
    Ask(instrument, "LIST:SEQ:DEL 0");
    EXPECT_EQ(DrainErrors(instrument), std::vector<std::string>(2, "-224,\"Illegal parameter value\""));
    // Without sequences their settings conflict and queries stay unanswered.
    Ask(instrument, "LIST:SEQ:DEL 1");
    EXPECT_EQ(Ask(instrument, "LIST:SEQ:TOT?;EDIT?"), "0;0");
    EXPECT_EQ(Ask(instrument, "LIST:SEQ:TIME?"), "<none>");
    Ask(instrument, "LIST:SEQ:COPY 1");
    EXPECT_EQ(DrainErrors(instrument), std::vector<std::string>(2, "-221,\"Settings conflict\""));
}

TEST(SimFileStore, KeepsOneStorePerModeAndEditsTheSelectedFile) {
    Instrument instrument;
    Ask(instrument, "MAN:VOLT:AC 10;:MAN:FILE:ADD \"B\";:MAN:FILE:COPY \"DEFAULT\",\"C\"");
    EXPECT_EQ(Ask(instrument, "MAN:FILE:NAME?;TOT?;EDIT?;LOAD?;IND?"), "DEFAULT,B,C;3;DEFAULT;DEFAULT;1");
    EXPECT_EQ(Ask(instrument, "LIST:FILE:NAME?;:STEP:FILE:TOT?"), "DEFAULT;1");

    // The mode's settings are those of the file being edited; a copy carries them, a new file starts fresh.
    EXPECT_EQ(Ask(instrument, "MAN:FILE:EDIT \"B\";:MAN:VOLT:AC?"), "0");
    EXPECT_EQ(Ask(instrument, "MAN:FILE:IND 3;:MAN:VOLT:AC?;:MAN:FILE:EDIT?"), "10;C");
    Ask(instrument, "MAN:FILE:LOAD \"B\"");
    Ask(instrument, "MAN:FILE:DEL \"C\"");  // the edited file: editing falls back to the first
    EXPECT_EQ(Ask(instrument, "MAN:FILE:NAME?;EDIT?;LOAD?"), "DEFAULT,B;DEFAULT;B");
    Ask(instrument, "MAN:FILE:DEL \"DEFAULT\"");  // the loaded file moves down with its place
    EXPECT_EQ(Ask(instrument, "MAN:FILE:NAME?;EDIT?;LOAD?;IND?"), "B;B;B;1");
    EXPECT_TRUE(DrainErrors(instrument).empty());

    for (const char* refused : {"MAN:FILE:DEL \"B\"", "MAN:FILE:ADD \"B\"", "MAN:FILE:ADD \"two words\"",
                                "MAN:FILE:COPY \"X\",\"Y\"", "MAN:FILE:EDIT \"X\"", "MAN:FILE:LOAD \"X\"",
                                "MAN:FILE:IND 2", "MAN:FILE:IND 1.5"}) {
        Ask(instrument, refused);
        EXPECT_EQ(DrainErrors(instrument), std::vector<std::string>{"-224,\"Illegal parameter value\""}) << refused;
    }
}

TEST(SimFileStore, ListFilesCarryTheirProgramAndSequences) {
    Instrument instrument;
    Ask(instrument, "LIST:PROG:COUN 4;:LIST:SEQ:ADD;:LIST:SEQ:CYCL 9");
    Ask(instrument, "LIST:FILE:COPY \"DEFAULT\", \"P2\";:LIST:FILE:ADD \"P3\"");
    EXPECT_EQ(Ask(instrument, "LIST:FILE:EDIT \"P2\";:LIST:PROG:COUN?;:LIST:SEQ:TOT?;EDIT?;CYCL?"), "4;2;2;9");
    EXPECT_EQ(Ask(instrument, "LIST:FILE:EDIT \"P3\";:LIST:PROG:COUN?;:LIST:SEQ:TOT?"), "0;1");
    EXPECT_TRUE(DrainErrors(instrument).empty());
}

TEST(SimMeasure, ComputesTheThirteenValuesFromTheOutputAndTheLoad) {
    Instrument instrument;
    EXPECT_EQ(Ask(instrument, "MEAS:ALL?"), "0,0,0,0,0,0,0,0,0,0,0,0,0");
    EXPECT_EQ(Ask(instrument, "MEAS:STAT?"), "STOP");

    // 100 V AC at 60 Hz into 100 ohms at power factor 0.8.
    instrument.SetLoad({100.0, 0.8});
    Ask(instrument, "OUTP ON");
    const std::vector<double> all = Numbers(Ask(instrument, "MEAS:ALL?"));
    ASSERT_EQ(all.size(), 13u);
    const std::vector<double> expected = {100, 0, 100, 1, 0, 1, 60, 80, 0.8, 1.41421, 60, 1.41421, 100};
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(all[i], expected[i], 1e-4) << "value " << i;

    // Each single query is the same value as its place in the combined answer.
    const char* singles[] = {"VOLT:AC", "VOLT:DC", "VOLT", "CURR:AC", "CURR:DC", "CURR", "FREQ",
                             "POW",     "PFAC",    "APEAK", "REAC",   "CRES",    "APP"};
    for (size_t i = 0; i < 13; ++i)
        EXPECT_DOUBLE_EQ(std::stod(Ask(instrument, std::string("MEAS:") + singles[i] + "?")), all[i]) << singles[i];
    EXPECT_EQ(Ask(instrument, "MEAS:STAT?"), "RUN");

    // Coupling selects which part of the output reaches the load.
    Ask(instrument, "MAN:COUP DC;:OUTP:VOLT:DC 40");
    EXPECT_EQ(Ask(instrument, "MEAS:VOLT:AC?;:MEAS:VOLT:DC?;:MEAS:FREQ?;:MEAS:CURR:DC?"), "0;40;0;0.5");
}

TEST(SimMeasure, OverCurrentTripsTheOutputUntilProtectionsAreCleared) {
    Instrument instrument;
    Ask(instrument, "OUTP ON;:OUTP:VOLT:AC 300");  // 3 A into the default load: below the 5 A limit
    EXPECT_EQ(Ask(instrument, "OUTP?;:OUTP:PROT:STAT?"), "ON;NONE");
    instrument.SetLoad({10.0, 1.0});
    Ask(instrument, "*OPC");
    EXPECT_EQ(Ask(instrument, "OUTP?;:OUTP:PROT:STAT?;:MEAS:CURR?"), "OFF;OC;0");
    Ask(instrument, "OUTP:PROT:CLE");
    EXPECT_EQ(Ask(instrument, "OUTP:PROT:STAT?"), "NONE");
}

TEST(SimResult, ListRunLogsOneResultPerSequence) {
    InstrumentOptions options;
    options.model = "ZPV-4809-Standard";
    Instrument instrument(options);
    EXPECT_EQ(Ask(instrument, "RES:TOT?;ALL?"), "0;0,0,0,0,0,0,0,0,0,0,0,0,0");
    Ask(instrument, "LIST:SEQ:VOLT:AC 100;:LIST:SEQ:FREQ 50;:LIST:SEQ:ADD;:LIST:SEQ:VOLT:AC 200");
    Ask(instrument, "OUTP:MODE LIST;:OUTP ON");
    EXPECT_EQ(Ask(instrument, "RES:TOT?;SEQ?;VOLT:AC?;:RES:FREQ?;:RES:CURR:AC?"), "2;1;100;50;1");
    EXPECT_EQ(Ask(instrument, "RES:SEQ 2;VOLT:AC?;:RES:FREQ?;:RES:POW?"), "200;60;400");
    EXPECT_EQ(Numbers(Ask(instrument, "RES:ALL?")).size(), 13u);
    EXPECT_EQ(Ask(instrument, "MEAS:SEQ?;COUN?"), "2;1");
    // A sequence without a result reads as zeros.
    EXPECT_EQ(Ask(instrument, "RES:SEQ 3;VOLT:AC?"), "0");
}

}  // namespace
}  // namespace zpv::sim
