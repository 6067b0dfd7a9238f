#include "keywords/enum_command_maps.h"

#include <gtest/gtest.h>

#include "ZPV4870.h"

namespace zpv::keywords {
namespace {

constexpr std::string_view kModel = "ZPV-4816-Advanced";

const IEnumCommandConverter* Resolve(std::string_view name, std::string_view context) {
    return CEnumCommandMaps::Instance().Resolve(name, context);
}

std::string Sent(std::string_view name, std::string_view context, LONG value) {
    const IEnumCommandConverter* converter = Resolve(name, context);
    std::string_view keyword;
    if (!converter || !converter->ToCommand(kModel, value, &keyword)) return "<none>";
    return std::string(keyword);
}

// The value a response keyword reads as, or -99 when it is not accepted.
LONG Read(std::string_view name, std::string_view context, std::string_view response) {
    const IEnumCommandConverter* converter = Resolve(name, context);
    LONG value = -99;
    if (!converter || !converter->FromCommand(kModel, response, &value)) return -99;
    return value;
}

TEST(EnumCommandMapsTest, ResponsesIgnoreSurroundingSpaceButNotLetterCase) {
    EXPECT_EQ(Read("ZPV4870RangeEnum", "IZPV4870ManualMode.Range", " HIGH\r\n"), ZPV4870RangeHigh);
    EXPECT_EQ(Read("ZPV4870RangeEnum", "IZPV4870ManualMode.Range", "high"), -99);
    EXPECT_EQ(Read("ZPV4870RangeEnum", "IZPV4870ManualMode.Range", "HIGH X"), -99);
}

TEST(EnumCommandMapsTest, KeywordsAreNotNumbers) {
    EXPECT_EQ(Sent("Output", "", ZPV4870OutputOFF), "OFF");
    EXPECT_EQ(Read("Output", "", "ON"), ZPV4870OutputON);
    EXPECT_EQ(Sent("Analog", "IZPV4870System.Analog", ZPV4870Analog10V), "10");
    EXPECT_EQ(Read("Analog", "IZPV4870System.Analog", "10"), ZPV4870Analog10V);
    EXPECT_EQ(Read("Analog", "IZPV4870System.Analog", "0-10V"), ZPV4870Analog10V);
    EXPECT_EQ(Resolve("Analog", "")->MaxLength(), 5u);
    EXPECT_EQ(Sent("Meter", "", 12), "<none>");
}

TEST(EnumCommandMapsTest, OperationModeDiffersByDirection) {
    EXPECT_EQ(Sent("OperationMode", "IZPV4870Execution.SetOperationMode", ZPV4870OperationModeManual), "MAN");
    EXPECT_EQ(Sent("OperationMode", "", ZPV4870OperationModeManual), "MAN");
    EXPECT_EQ(Read("OperationMode", "IZPV4870Execution.GetOperationMode", "MANUAL"), ZPV4870OperationModeManual);
    EXPECT_EQ(Read("OperationMode", "IZPV4870Execution.GetOperationMode", "MAN"), -99);
    EXPECT_EQ(Read("OperationMode", "izpv4870execution.getoperationmode", "STEP"), ZPV4870OperationModeStep);
}

TEST(EnumCommandMapsTest, BooleanKeywordsDependOnTheContext) {
    EXPECT_EQ(Sent("VARIANT_BOOL", "IZPV4870OutputPhaseCurrentProtection.Configure", VARIANT_TRUE), "1");
    EXPECT_EQ(Sent("VARIANT_BOOL", "IZPV4870OutputPhaseCurrentProtection.Configure", VARIANT_FALSE), "0");
    EXPECT_EQ(Sent("VARIANT_BOOL", "IZPV4870OutputPhase.Enabled", VARIANT_TRUE), "ON");
    EXPECT_EQ(Sent("VARIANT_BOOL", "IZPV4870System.OCFold", 1), "ON");
    EXPECT_EQ(Sent("VARIANT_BOOL", "", VARIANT_FALSE), "OFF");
    EXPECT_EQ(Sent("VARIANT_BOOL", "IZPV4870Measure.Anything", VARIANT_TRUE), "1");
    EXPECT_EQ(Read("VARIANT_BOOL", "IZPV4870System.Lock", "ON"), VARIANT_TRUE);
    EXPECT_EQ(Read("VARIANT_BOOL", "IZPV4870Measure.Anything", "0"), VARIANT_FALSE);
}

TEST(EnumCommandMapsTest, NamesAndContextsSelectConverters) {
    const IEnumCommandConverter* range = Resolve("ZPV4870RangeEnum", "IZPV4870StepMode.Range");
    ASSERT_NE(range, nullptr);
    for (const char* name : {"zpv4870rangeenum", "Range", "RangeEnum", "ZPV4870Range"})
        EXPECT_EQ(Resolve(name, "IZPV4870StepMode.Range"), range) << name;
    EXPECT_EQ(Resolve("ZPV4870TriggerEnum", "IZPV4870ManualMode.Range"), nullptr);
    EXPECT_EQ(Resolve("IviACPwrMeasurementTypeEnum", ""), nullptr);
    EXPECT_EQ(Resolve("AccessMode", ""), nullptr);
    EXPECT_EQ(Sent("DCGeneration", "IZPV4870OutputPhaseDCGeneration.Mode", ZPV4870DCGenerationModeACPlusDC), "ACDC");
    EXPECT_EQ(Sent("PowerUp", "IZPV4870System.PowreUp", ZPV4870PowerUpLast), "LAST");
}

TEST(EnumCommandMapsTest, EveryModelUsesTheTablesDeclaredForAll) {
    const IEnumCommandConverter* converter = Resolve("Waveform", "");
    std::string_view keyword;
    for (std::string_view model : {"ZPV-4803-Standard", "ZPV-4848-Advanced", "", "unknown"}) {
        ASSERT_TRUE(converter->ToCommand(model, ZPV4870WaveformSQUARE, &keyword)) << model;
        EXPECT_EQ(keyword, "SQUARE");
    }
}

}  // namespace
}  // namespace zpv::keywords
