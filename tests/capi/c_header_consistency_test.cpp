// The public C header against what the library does: every attribute macro names a row of the
// attribute table with the type and access the header's comment promises, and every enumeration
// value macro equals the object interface's value.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <regex>
#include <sstream>
#include <string>

#include "ZPV4870.h"
#include "capi/attribute_table.h"
#include "capi/status_translation.h"
#include "zpv4870.h"

namespace zpv::capi {
namespace {

std::string HeaderText() {
    std::ifstream in(ZPV4870_SOURCE_DIR "/include/zpv4870.h");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const char* TypeName(ValueType type) {
    switch (type) {
        case ValueType::Int32: return "ViInt32";
        case ValueType::Real64: return "ViReal64";
        case ValueType::Boolean: return "ViBoolean";
        case ValueType::Session: return "ViSession";
        case ValueType::String: return "ViString";
    }
    return "?";
}

TEST(CHeaderConsistency, EveryAttributeMacroIsARowOfTheTableAsDescribed) {
    const std::string header = HeaderText();
    const std::regex line(R"(#define (ZPV4870_ATTR_\w+)\s+(\d+)L /\* (\w+), (?:(\w+Enum), )?(read-only|read/write) \*/)");
    const std::regex enumGroup(R"(/\* (\w+Enum) \*/\n#define ZPV4870_VAL_)");
    std::set<std::string> enumsWithValues;
    for (auto it = std::sregex_iterator(header.begin(), header.end(), enumGroup); it != std::sregex_iterator(); ++it)
        enumsWithValues.insert((*it)[1].str());
    std::map<std::string, std::smatch> described;
    for (auto it = std::sregex_iterator(header.begin(), header.end(), line); it != std::sregex_iterator(); ++it)
        described.emplace((*it)[1].str(), *it);
    ASSERT_EQ(described.size(), 178u);
    ASSERT_EQ(AllAttributes().size(), 178u);

    std::map<ViAttr, int> seen;
    for (const AttributeEntry& entry : AllAttributes()) {
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(++seen[entry.id], 1) << "identifier used twice";
        EXPECT_EQ(FindAttribute(entry.id), &entry);
        auto it = described.find(entry.name);
        ASSERT_NE(it, described.end()) << "no macro in the header";
        const std::smatch& m = it->second;
        EXPECT_EQ(std::stoul(m[2].str()), entry.id);
        EXPECT_EQ(m[3].str(), TypeName(entry.type));
        EXPECT_EQ(m[4].str(), entry.enumName);
        if (!entry.enumName.empty()) {
            EXPECT_TRUE(enumsWithValues.contains(m[4].str())) << "no values for " << m[4];
        }
        EXPECT_EQ(m[5].str(), entry.write ? "read/write" : "read-only");
        EXPECT_NE(entry.type, ValueType::Session);
    }
    EXPECT_EQ(FindAttribute(1250034), nullptr);  // a gap among the class identifiers
}

#define ZPV_SAME(cValue, objectValue) \
    static_assert(cValue == objectValue, #cValue " differs from the object interface's " #objectValue);
ZPV_SAME(ZPV4870_VAL_OUTPUT_ON, ZPV4870OutputON)
ZPV_SAME(ZPV4870_VAL_OUTPUT_OFF, ZPV4870OutputOFF)
ZPV_SAME(ZPV4870_VAL_OPERATION_MODE_MANUAL, ZPV4870OperationModeManual)
ZPV_SAME(ZPV4870_VAL_OPERATION_MODE_LIST, ZPV4870OperationModeList)
ZPV_SAME(ZPV4870_VAL_OPERATION_MODE_PULSE, ZPV4870OperationModePulse)
ZPV_SAME(ZPV4870_VAL_OPERATION_MODE_STEP, ZPV4870OperationModeStep)
ZPV_SAME(ZPV4870_VAL_BASE_TIME, ZPV4870BaseTime)
ZPV_SAME(ZPV4870_VAL_BASE_CYCLE, ZPV4870BaseCycle)
ZPV_SAME(ZPV4870_VAL_RANGE_AUTO, ZPV4870RangeAuto)
ZPV_SAME(ZPV4870_VAL_RANGE_HIGH, ZPV4870RangeHigh)
ZPV_SAME(ZPV4870_VAL_RANGE_LOW, ZPV4870RangeLow)
ZPV_SAME(ZPV4870_VAL_TRIGGER_AUTO, ZPV4870TriggerAUTO)
ZPV_SAME(ZPV4870_VAL_TRIGGER_MANUAL, ZPV4870TriggerManual)
ZPV_SAME(ZPV4870_VAL_ENABLE_OFF, ZPV4870EnableOFF)
ZPV_SAME(ZPV4870_VAL_ENABLE_ON, ZPV4870EnableON)
ZPV_SAME(ZPV4870_VAL_WAVEFORM_SINE, ZPV4870WaveformSINE)
ZPV_SAME(ZPV4870_VAL_WAVEFORM_TRIANGLE, ZPV4870WaveformTRIANGLE)
ZPV_SAME(ZPV4870_VAL_WAVEFORM_SQUARE, ZPV4870WaveformSQUARE)
ZPV_SAME(ZPV4870_VAL_WAVEFORM_CLIPPED, ZPV4870WaveformCLIPPED)
ZPV_SAME(ZPV4870_VAL_TIME_UNIT_MILLISECOND, ZPV4870TimeUnitMillisecond)
ZPV_SAME(ZPV4870_VAL_TIME_UNIT_SECOND, ZPV4870TimeUnitSecond)
ZPV_SAME(ZPV4870_VAL_TIME_UNIT_MINUTE, ZPV4870TimeUnitMinute)
ZPV_SAME(ZPV4870_VAL_TIME_UNIT_HOUR, ZPV4870TimeUnitHour)
ZPV_SAME(ZPV4870_VAL_COUPLE_AC, ZPV4870CoupleAC)
ZPV_SAME(ZPV4870_VAL_COUPLE_DC, ZPV4870CoupleDC)
ZPV_SAME(ZPV4870_VAL_COUPLE_ACDC, ZPV4870CoupleACDC)
ZPV_SAME(ZPV4870_VAL_DC_GENERATION_MODE_AC_ONLY, ZPV4870DCGenerationModeACOnly)
ZPV_SAME(ZPV4870_VAL_DC_GENERATION_MODE_DC_ONLY, ZPV4870DCGenerationModeDCOnly)
ZPV_SAME(ZPV4870_VAL_DC_GENERATION_MODE_AC_PLUS_DC, ZPV4870DCGenerationModeACPlusDC)
ZPV_SAME(ZPV4870_VAL_ANALOG_OFF, ZPV4870AnalogOFF)
ZPV_SAME(ZPV4870_VAL_ANALOG_5V, ZPV4870Analog5V)
ZPV_SAME(ZPV4870_VAL_ANALOG_10V, ZPV4870Analog10V)
ZPV_SAME(ZPV4870_VAL_METER_FREQUENCY, ZPV4870MeterFrequency)
ZPV_SAME(ZPV4870_VAL_METER_CURRENT, ZPV4870MeterCurrent)
ZPV_SAME(ZPV4870_VAL_METER_POWER, ZPV4870MeterPower)
ZPV_SAME(ZPV4870_VAL_METER_POWER_FACTOR, ZPV4870MeterPowerFactor)
ZPV_SAME(ZPV4870_VAL_METER_CURRENT_PEAK, ZPV4870MeterCurrentPeak)
ZPV_SAME(ZPV4870_VAL_METER_REACTIVE_POWER, ZPV4870MeterReactivePower)
ZPV_SAME(ZPV4870_VAL_METER_CREST_FACTOR, ZPV4870MeterCrestFactor)
ZPV_SAME(ZPV4870_VAL_METER_APPARENT_POWER, ZPV4870MeterApparentPower)
ZPV_SAME(ZPV4870_VAL_METER_VOLTAGE_AC, ZPV4870MeterVoltageAC)
ZPV_SAME(ZPV4870_VAL_METER_CURRENT_AC, ZPV4870MeterCurrentAC)
ZPV_SAME(ZPV4870_VAL_METER_VOLTAGE_DC, ZPV4870MeterVoltageDC)
ZPV_SAME(ZPV4870_VAL_METER_CURRENT_DC, ZPV4870MeterCurrentDC)
ZPV_SAME(ZPV4870_VAL_POWER_UP_OFF, ZPV4870PowerUpOFF)
ZPV_SAME(ZPV4870_VAL_POWER_UP_ON, ZPV4870PowerUpON)
ZPV_SAME(ZPV4870_VAL_POWER_UP_LAST, ZPV4870PowerUpLast)
ZPV_SAME(ZPV4870_VAL_REMOTE_OFF, ZPV4870RemoteOFF)
ZPV_SAME(ZPV4870_VAL_REMOTE_ON, ZPV4870RemoteON)
ZPV_SAME(ZPV4870_VAL_SYCHRONOUS_SIGNAL_OFF, ZPV4870SychronousSignalOff)
ZPV_SAME(ZPV4870_VAL_SYCHRONOUS_SIGNAL_ON, ZPV4870SychronousSignalOn)
ZPV_SAME(ZPV4870_VAL_SYCHRONOUS_SIGNAL_START, ZPV4870SychronousSignalStart)
ZPV_SAME(ZPV4870_VAL_SYCHRONOUS_SIGNAL_END, ZPV4870SychronousSignalEnd)
ZPV_SAME(ZPV4870_VAL_SYCHRONOUS_SIGNAL_BOTH, ZPV4870SychronousSignalBoth)
ZPV_SAME(ZPV4870_VAL_SYCHRONOUS_SIGNAL_EVENT, ZPV4870SychronousSignalEvent)
ZPV_SAME(ZPV4870_VAL_VOLTAGE_SENSE_INTERNAL, ZPV4870VoltageSenseINTERNAL)
ZPV_SAME(ZPV4870_VAL_VOLTAGE_SENSE_EXTERNAL, ZPV4870VoltageSenseEXTERNAL)
ZPV_SAME(ZPV4870_VAL_DC_GENERATION_AC_ONLY, IviACPwrDCGenerationACOnly)
ZPV_SAME(ZPV4870_VAL_DC_GENERATION_DC_ONLY, IviACPwrDCGenerationDCOnly)
ZPV_SAME(ZPV4870_VAL_DC_GENERATION_AC_PLUS_DC, IviACPwrDCGenerationACPlusDC)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_TYPE_VOLTAGE_RMS, IviACPwrMeasurementTypeVoltageRMS)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_TYPE_VOLTAGE_DC, IviACPwrMeasurementTypeVoltageDC)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_TYPE_CURRENT_RMS, IviACPwrMeasurementTypeCurrentRMS)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_TYPE_CURRENT_DC, IviACPwrMeasurementTypeCurrentDC)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_TYPE_FREQUENCY, IviACPwrMeasurementTypeFrequency)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_TYPE_POWER, IviACPwrMeasurementTypePower)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_TYPE_POWER_FACTOR, IviACPwrMeasurementTypePowerFactor)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_TYPE_CURRENT_PEAK, IviACPwrMeasurementTypeCurrentPeak)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_TYPE_CREST_FACTOR, IviACPwrMeasurementTypeCrestFactor)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_TYPE_APPARENT_POWER, IviACPwrMeasurementTypeApparentPower)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_GROUP_ALL, IviACPwrMeasurementGroupAll)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_GROUP_VOLTAGE, IviACPwrMeasurementGroupVoltage)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_GROUP_CURRENT, IviACPwrMeasurementGroupCurrent)
ZPV_SAME(ZPV4870_VAL_MEASUREMENT_GROUP_POWER, IviACPwrMeasurementGroupPower)
ZPV_SAME(ZPV4870_VAL_WAVEFORM_CATALOG_ALL, IviACPwrWaveformCatalogAll)
ZPV_SAME(ZPV4870_VAL_WAVEFORM_CATALOG_FIXED, IviACPwrWaveformCatalogFixed)
ZPV_SAME(ZPV4870_VAL_WAVEFORM_CATALOG_USER, IviACPwrWaveformCatalogUser)

TEST(CHeaderConsistency, StatusesTranslateAsTheHeaderNamesThem) {
    // Two class codes share one C status; warnings stay warnings.
    EXPECT_EQ(TranslateStatus(static_cast<HRESULT>(0x80042006)), ZPV4870_ERROR_CANNOT_APPLY_TO_ALL_PHASES);
    EXPECT_EQ(TranslateStatus(static_cast<HRESULT>(0x80042001)), ZPV4870_ERROR_CANNOT_APPLY_TO_ALL_PHASES);
    EXPECT_EQ(TranslateStatus(static_cast<HRESULT>(0x80042003)), ZPV4870_ERROR_CURRENT_PROTECTION_TRIPPED);
    EXPECT_EQ(TranslateStatus(static_cast<HRESULT>(0x00047065)), ZPV4870_WARN_NSUP_ID_QUERY);
    EXPECT_EQ(TranslateStatus(static_cast<HRESULT>(0x00047069)), ZPV4870_WARN_NSUP_REV_QUERY);
    EXPECT_EQ(TranslateStatus(static_cast<HRESULT>(0x80047067)), ZPV4870_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER);
    EXPECT_EQ(TranslateStatus(static_cast<HRESULT>(0x80044215)), ZPV4870_ERROR_IO_TIMEOUT);
    // Codes without a translation pass through.
    EXPECT_EQ(TranslateStatus(E_NOTIMPL), static_cast<ViStatus>(E_NOTIMPL));
    EXPECT_EQ(TranslateStatus(static_cast<HRESULT>(0x80047005)), static_cast<ViStatus>(0x80047005));
}

}  // namespace
}  // namespace zpv::capi
