#include "keywords/enum_keyword_tables.h"

#include "ZPV4870.h"

namespace zpv::keywords {

namespace {

using Contexts = const char* const[];

// VARIANT_BOOL: VARIANT_TRUE and 1 both send the "true" keyword, which reads back as VARIANT_TRUE.
constexpr KeywordRow kOnOffBoolean[] = {{1, "ON"}, {VARIANT_TRUE, "ON"}, {VARIANT_FALSE, "OFF"}};
constexpr KeywordRow kNumericBoolean[] = {{1, "1"}, {VARIANT_TRUE, "1"}, {VARIANT_FALSE, "0"}};
constexpr Contexts kOnOffBooleanContexts = {"IZPV4870OutputPhase.Enabled", "IZPV4870System.Lock",
                                            "IZPV4870System.OCFold", "IZPV4870OutputPhaseCurrentProtection.Enabled"};
constexpr Contexts kNumericBooleanContexts = {"IZPV4870OutputPhaseCurrentProtection.Configure"};
constexpr ContextGroup kBooleanGroups[] = {{kOnOffBooleanContexts, kOnOffBoolean},
                                           {kNumericBooleanContexts, kNumericBoolean}};

constexpr KeywordRow kOutput[] = {{ZPV4870OutputON, "ON"}, {ZPV4870OutputOFF, "OFF"}};
constexpr Contexts kOutputContexts = {"IZPV4870Execution.GetOutputEnable", "IZPV4870Execution.SetOutputEnable"};
constexpr ContextGroup kOutputGroups[] = {{kOutputContexts, kOutput}};

// Manual mode is sent as "MAN" but reported as "MANUAL".
constexpr KeywordRow kOperationModeSent[] = {{ZPV4870OperationModeManual, "MAN"},
                                             {ZPV4870OperationModeList, "LIST"},
                                             {ZPV4870OperationModePulse, "PULSE"},
                                             {ZPV4870OperationModeStep, "STEP"}};
constexpr KeywordRow kOperationModeRead[] = {{ZPV4870OperationModeManual, "MANUAL"},
                                             {ZPV4870OperationModeList, "LIST"},
                                             {ZPV4870OperationModePulse, "PULSE"},
                                             {ZPV4870OperationModeStep, "STEP"}};
constexpr Contexts kSetOperationMode = {"IZPV4870Execution.SetOperationMode"};
constexpr Contexts kGetOperationMode = {"IZPV4870Execution.GetOperationMode"};
constexpr ContextGroup kOperationModeGroups[] = {{kSetOperationMode, kOperationModeSent},
                                                 {kGetOperationMode, kOperationModeRead}};

constexpr KeywordRow kBase[] = {{ZPV4870BaseTime, "TIME"}, {ZPV4870BaseCycle, "CYCLE"}};
constexpr Contexts kBaseContexts = {"IZPV4870ListModeProgram.Base", "IZPV4870StepMode.Base"};
constexpr ContextGroup kBaseGroups[] = {{kBaseContexts, kBase}};

constexpr KeywordRow kRange[] = {{ZPV4870RangeAuto, "AUTO"}, {ZPV4870RangeHigh, "HIGH"}, {ZPV4870RangeLow, "LOW"}};
constexpr Contexts kRangeContexts = {
    "IZPV4870OutputPhase.VoltageRange", "IZPV4870ListModeProgram.Range",
    "IZPV4870ManualMode.Range",         "IZPV4870OutputPhaseDCGeneration.ConfigureRange",
    "IZPV4870PulseMode.Range",          "IZPV4870StepMode.Range"};
constexpr ContextGroup kRangeGroups[] = {{kRangeContexts, kRange}};

constexpr KeywordRow kTrigger[] = {{ZPV4870TriggerAUTO, "AUTO"}, {ZPV4870TriggerManual, "MANUAL"}};
constexpr Contexts kTriggerContexts = {"IZPV4870ListModeProgram.Trigger", "IZPV4870PulseMode.Trigger",
                                       "IZPV4870StepMode.Trigger"};
constexpr ContextGroup kTriggerGroups[] = {{kTriggerContexts, kTrigger}};

constexpr KeywordRow kEnable[] = {{ZPV4870EnableOFF, "OFF"}, {ZPV4870EnableON, "ON"}};
constexpr Contexts kEnableContexts = {"IZPV4870ListModeProgram.AngleConnect", "IZPV4870ListModeProgram.FailStop"};
constexpr ContextGroup kEnableGroups[] = {{kEnableContexts, kEnable}};

constexpr KeywordRow kWaveform[] = {{ZPV4870WaveformSINE, "SINE"},
                                    {ZPV4870WaveformTRIANGLE, "TRIANGLE"},
                                    {ZPV4870WaveformSQUARE, "SQUARE"},
                                    {ZPV4870WaveformCLIPPED, "CLIPPED"}};
constexpr Contexts kWaveformContexts = {"IZPV4870ListModeSequence.Waveform", "IZPV4870ManualMode.Waveform",
                                        "IZPV4870StepMode.Waveform"};
constexpr ContextGroup kWaveformGroups[] = {{kWaveformContexts, kWaveform}};

constexpr KeywordRow kTimeUnit[] = {{ZPV4870TimeUnitMillisecond, "MS"},
                                    {ZPV4870TimeUnitSecond, "SECOND"},
                                    {ZPV4870TimeUnitMinute, "MINUTE"},
                                    {ZPV4870TimeUnitHour, "HOUR"}};
constexpr Contexts kTimeUnitContexts = {"IZPV4870ListModeSequence.TimeUnit", "IZPV4870StepMode.TimeUnit"};
constexpr ContextGroup kTimeUnitGroups[] = {{kTimeUnitContexts, kTimeUnit}};

constexpr KeywordRow kCouple[] = {{ZPV4870CoupleAC, "AC"}, {ZPV4870CoupleDC, "DC"}, {ZPV4870CoupleACDC, "ACDC"}};
constexpr Contexts kCoupleContexts = {"IZPV4870ManualMode.Couple"};
constexpr ContextGroup kCoupleGroups[] = {{kCoupleContexts, kCouple}};

constexpr KeywordRow kDCGeneration[] = {{ZPV4870DCGenerationModeACOnly, "AC"},
                                        {ZPV4870DCGenerationModeDCOnly, "DC"},
                                        {ZPV4870DCGenerationModeACPlusDC, "ACDC"}};
constexpr Contexts kDCGenerationContexts = {"IZPV4870OutputPhaseDCGeneration.Configure",
                                            "IZPV4870OutputPhaseDCGeneration.Mode"};
constexpr ContextGroup kDCGenerationGroups[] = {{kDCGenerationContexts, kDCGeneration}};

constexpr KeywordRow kAnalog[] = {
    {ZPV4870AnalogOFF, "OFF"}, {ZPV4870Analog5V, "5", "0-5V"}, {ZPV4870Analog10V, "10", "0-10V"}};
constexpr Contexts kAnalogContexts = {"IZPV4870System.Analog"};
constexpr ContextGroup kAnalogGroups[] = {{kAnalogContexts, kAnalog}};

constexpr KeywordRow kMeter[] = {{ZPV4870MeterFrequency, "FREQUENCY"},
                                 {ZPV4870MeterCurrent, "CURRENT"},
                                 {ZPV4870MeterPower, "POWER"},
                                 {ZPV4870MeterPowerFactor, "PFACTOR"},
                                 {ZPV4870MeterCurrentPeak, "APEAK"},
                                 {ZPV4870MeterReactivePower, "REACTIVE"},
                                 {ZPV4870MeterCrestFactor, "CRESTFACTOR"},
                                 {ZPV4870MeterApparentPower, "APPARENT"},
                                 {ZPV4870MeterVoltageAC, "VAC"},
                                 {ZPV4870MeterCurrentAC, "AAC"},
                                 {ZPV4870MeterVoltageDC, "VDC"},
                                 {ZPV4870MeterCurrentDC, "ADC"}};
constexpr Contexts kMeterContexts = {"IZPV4870System.MeterDisplay"};
constexpr ContextGroup kMeterGroups[] = {{kMeterContexts, kMeter}};

constexpr KeywordRow kPowerUp[] = {{ZPV4870PowerUpOFF, "OFF"}, {ZPV4870PowerUpON, "ON"}, {ZPV4870PowerUpLast, "LAST"}};
constexpr Contexts kPowerUpContexts = {"IZPV4870System.PowreUp"};  // the property's name, as published
constexpr ContextGroup kPowerUpGroups[] = {{kPowerUpContexts, kPowerUp}};

constexpr KeywordRow kRemote[] = {{ZPV4870RemoteOFF, "OFF"}, {ZPV4870RemoteON, "ON"}};
constexpr Contexts kRemoteContexts = {"IZPV4870System.Remote"};
constexpr ContextGroup kRemoteGroups[] = {{kRemoteContexts, kRemote}};

constexpr KeywordRow kSychronousSignal[] = {
    {ZPV4870SychronousSignalOff, "OFF"},     {ZPV4870SychronousSignalOn, "ON"},
    {ZPV4870SychronousSignalStart, "START"}, {ZPV4870SychronousSignalEnd, "END"},
    {ZPV4870SychronousSignalBoth, "BOTH"},   {ZPV4870SychronousSignalEvent, "EVENT"}};
constexpr Contexts kSychronousSignalContexts = {"IZPV4870System.SychronousSignal"};
constexpr ContextGroup kSychronousSignalGroups[] = {{kSychronousSignalContexts, kSychronousSignal}};

constexpr KeywordRow kVoltageSense[] = {{ZPV4870VoltageSenseINTERNAL, "INTERNAL"},
                                        {ZPV4870VoltageSenseEXTERNAL, "EXTERNAL"}};
constexpr Contexts kVoltageSenseContexts = {"IZPV4870System.VoltageSense"};
constexpr ContextGroup kVoltageSenseGroups[] = {{kVoltageSenseContexts, kVoltageSense}};

constexpr EnumTable kEnumTables[] = {
    {"VARIANT_BOOL", false, kBooleanGroups, kNumericBoolean},
    {"Output", true, kOutputGroups, {}},
    {"OperationMode", true, kOperationModeGroups, {}},
    {"Base", true, kBaseGroups, {}},
    {"Range", true, kRangeGroups, {}},
    {"Trigger", true, kTriggerGroups, {}},
    {"Enable", true, kEnableGroups, {}},
    {"Waveform", true, kWaveformGroups, {}},
    {"TimeUnit", true, kTimeUnitGroups, {}},
    {"Couple", true, kCoupleGroups, {}},
    {"DCGeneration", true, kDCGenerationGroups, {}},
    {"Analog", true, kAnalogGroups, {}},
    {"Meter", true, kMeterGroups, {}},
    {"PowerUp", true, kPowerUpGroups, {}},
    {"Remote", true, kRemoteGroups, {}},
    {"SychronousSignal", true, kSychronousSignalGroups, {}},
    {"VoltageSense", true, kVoltageSenseGroups, {}},
};

}  // namespace

std::span<const EnumTable> EnumTables() { return kEnumTables; }

}  // namespace zpv::keywords
