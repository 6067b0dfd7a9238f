// ZPV4870.h - object interface of the ZPV4870 AC power source driver.
//
// The driver object (ProgID "ZPV4870.ZPV4870", CLSID_ZPV4870) is created with CoCreateInstance after
// the thread has entered an apartment with CoInitializeEx; every member returns an HRESULT and
// publishes a "ZPV4870: ..." description as the thread's error information on failure
// (GetErrorInfo). Strings are BSTRs owned by the caller; booleans are VARIANT_BOOL.
#ifndef ZPV4870_H
#define ZPV4870_H

#include "zpv4870_runtime.h"

// Classes and type library.
inline constexpr CLSID CLSID_ZPV4870 = {0xB6FC55D8, 0x7152, 0x4F6D, {0xBF, 0xC7, 0x57, 0xC3, 0x8E, 0xD9, 0x1E, 0xA9}};
inline constexpr CLSID CLSID_ZPV4870OutputPhase = {0x978A0CE7, 0xC74C, 0x4C18, {0x95, 0xBC, 0x49, 0xC8, 0xE9, 0x68, 0x6E, 0x27}};
inline constexpr GUID LIBID_ZPV4870Lib = {0x82F39A57, 0xAAEB, 0x43C7, {0x9C, 0x6E, 0xD2, 0x10, 0x35, 0x44, 0xD6, 0xBB}};

// Interface identifiers.
ZPV_DEFINE_IID(IZPV4870, 0x13214469, 0x3AB6, 0x4797,
               0x98, 0x4E, 0x7F, 0x12, 0x4F, 0x76, 0xAB, 0xE8);
ZPV_DEFINE_IID(IIviDriver, 0x5F3610CD, 0x9722, 0x461C,
               0xBB, 0x33, 0x32, 0xCD, 0xA4, 0xB4, 0x69, 0x12);
ZPV_DEFINE_IID(IIviDriverOperation, 0xB4D62E67, 0x054B, 0x45F1,
               0x80, 0x86, 0x42, 0xC8, 0xA0, 0x37, 0xE5, 0xD1);
ZPV_DEFINE_IID(IIviDriverIdentity, 0xDF06F768, 0x0E05, 0x4C61,
               0xB6, 0x6F, 0x6D, 0x68, 0xA4, 0x10, 0x01, 0x9E);
ZPV_DEFINE_IID(IIviComponentIdentity, 0xF0641DDD, 0x287B, 0x4403,
               0x92, 0x20, 0x91, 0x8A, 0x8F, 0x1F, 0xC6, 0x4B);
ZPV_DEFINE_IID(IIviDriverUtility, 0x04F03491, 0xA1B1, 0x4FCF,
               0xB8, 0x70, 0xED, 0x0F, 0x60, 0x7E, 0xCF, 0x2E);
ZPV_DEFINE_IID(IZPV4870OutputPhases, 0x37BF1864, 0xD144, 0x442F,
               0x99, 0x51, 0x51, 0x2B, 0x81, 0x65, 0xB8, 0xDE);
ZPV_DEFINE_IID(IIviACPwr, 0xE7E23FA2, 0x1E47, 0x4B71,
               0x8A, 0x27, 0xD5, 0xCE, 0xC8, 0x22, 0x6A, 0x58);
ZPV_DEFINE_IID(IIviACPwrOutputPhases, 0xC261621A, 0x8D90, 0x4F92,
               0xB7, 0x5D, 0xAC, 0x2C, 0xCD, 0xB4, 0x7A, 0xB6);
ZPV_DEFINE_IID(IIviACPwrArbWaveform, 0x507EF61A, 0x9111, 0x4677,
               0xA4, 0x3B, 0x95, 0x4B, 0x61, 0x58, 0x2A, 0xA3);
ZPV_DEFINE_IID(IIviACPwrExternalSync, 0x5BD9CA67, 0xE9ED, 0x4923,
               0x96, 0x75, 0x0D, 0x94, 0x89, 0x49, 0xD7, 0xDF);
ZPV_DEFINE_IID(IZPV4870System, 0x7ED1ABF8, 0xD06E, 0x4A1F,
               0x91, 0x58, 0x37, 0xBE, 0x12, 0x2B, 0xE3, 0xA5);
ZPV_DEFINE_IID(IZPV4870ExecutionConfigurations, 0xDC1ED435, 0x6110, 0x487D,
               0xA9, 0x8F, 0x68, 0xCB, 0xDC, 0x4A, 0x52, 0x79);
ZPV_DEFINE_IID(IZPV4870Execution, 0x8DF39F40, 0x3610, 0x4488,
               0x8D, 0x32, 0x0F, 0x9C, 0xD8, 0xF8, 0x3C, 0xE3);
ZPV_DEFINE_IID(IZPV4870ListModeFile, 0x3ACF90A1, 0xF125, 0x442C,
               0x81, 0x93, 0x95, 0x2A, 0x60, 0x3D, 0x0D, 0x51);
ZPV_DEFINE_IID(IZPV4870ListModeProgram, 0xC608B63D, 0xCD2E, 0x4D6E,
               0xA4, 0x27, 0xC6, 0x06, 0xC1, 0xFD, 0x9D, 0x14);
ZPV_DEFINE_IID(IZPV4870ListModeSequence, 0xB6E6C24F, 0xCC9D, 0x4803,
               0x85, 0xE4, 0x70, 0xA8, 0x31, 0x13, 0xF9, 0xDB);
ZPV_DEFINE_IID(IZPV4870ListMode, 0x2D726345, 0xE0EF, 0x48AF,
               0x99, 0xD6, 0xC5, 0x40, 0x90, 0x21, 0x12, 0xE9);
ZPV_DEFINE_IID(IZPV4870ManualModeFile, 0x41344F69, 0x5B6D, 0x411F,
               0xA5, 0xCD, 0xC0, 0x99, 0x96, 0x3A, 0x16, 0xAC);
ZPV_DEFINE_IID(IZPV4870ManualMode, 0x9290326F, 0x7459, 0x4E46,
               0xA1, 0xF1, 0xC1, 0xD6, 0x22, 0x6D, 0x1B, 0x53);
ZPV_DEFINE_IID(IZPV4870Measure, 0xA1729D78, 0x2EA9, 0x4154,
               0x8B, 0x0C, 0xA8, 0x32, 0x34, 0xE3, 0x4F, 0x4C);
ZPV_DEFINE_IID(IZPV4870PulseModeFile, 0xEA0F935C, 0x52F5, 0x43F2,
               0x90, 0x0A, 0x3D, 0x7D, 0x7B, 0x13, 0x44, 0xE2);
ZPV_DEFINE_IID(IZPV4870PulseMode, 0x3B00E91D, 0x6444, 0x4750,
               0x87, 0xA5, 0x6F, 0x32, 0xC6, 0x91, 0x5F, 0x43);
ZPV_DEFINE_IID(IZPV4870Result, 0x8F6B692C, 0x5656, 0x48AC,
               0x82, 0x17, 0xB6, 0xCA, 0x8E, 0x79, 0xBE, 0x23);
ZPV_DEFINE_IID(IZPV4870StepModeFile, 0x6525A15B, 0x10C8, 0x4216,
               0xAE, 0x7C, 0x0B, 0x12, 0xF3, 0xB8, 0xF6, 0xD4);
ZPV_DEFINE_IID(IZPV4870StepMode, 0xDA0A732A, 0x2D67, 0x4BF7,
               0x9C, 0x7F, 0xA3, 0xC6, 0x1F, 0x0D, 0x5B, 0xE1);
ZPV_DEFINE_IID(IZPV4870OutputPhase, 0xA80707FA, 0xE2D0, 0x4AD9,
               0x89, 0xA4, 0xF9, 0x9D, 0x21, 0xD5, 0x09, 0xCF);
ZPV_DEFINE_IID(IIviACPwrOutputPhase, 0xE116DEAF, 0xFE69, 0x4724,
               0x8A, 0x97, 0xE6, 0x03, 0x80, 0x4F, 0xC9, 0x05);
ZPV_DEFINE_IID(IZPV4870OutputPhaseCurrentProtection, 0xD1600DC6, 0x84B0, 0x4BD3,
               0x89, 0x0E, 0x3B, 0x88, 0x65, 0x18, 0x64, 0xC2);
ZPV_DEFINE_IID(IZPV4870OutputPhaseVoltageProtection, 0xA40AF47A, 0x1879, 0x4BF1,
               0xA7, 0x74, 0x47, 0xB6, 0xF3, 0x21, 0xF5, 0x0B);
ZPV_DEFINE_IID(IZPV4870OutputPhaseDCGeneration, 0x576F31B2, 0xF29A, 0x4B23,
               0x8F, 0x59, 0x60, 0xC1, 0x7A, 0x29, 0x19, 0x9A);
ZPV_DEFINE_IID(IIviACPwrCurrentProtection, 0x5ABF8DC3, 0x7EC0, 0x433A,
               0xB0, 0x9A, 0x25, 0x03, 0x81, 0xE1, 0x85, 0x53);
ZPV_DEFINE_IID(IIviACPwrVoltageProtection, 0x3B923403, 0x2682, 0x488B,
               0x81, 0xD6, 0x2E, 0xC7, 0x7A, 0xBE, 0x9B, 0xA9);
ZPV_DEFINE_IID(IIviACPwrDCGeneration, 0x22E9DA6E, 0x3460, 0x44D1,
               0xA3, 0xA4, 0xB8, 0x89, 0xE3, 0xD9, 0x6A, 0x57);
ZPV_DEFINE_IID(IIviACPwrImpedance, 0x2B3C487C, 0x5C60, 0x46F0,
               0xBA, 0x7D, 0x7B, 0x4D, 0x47, 0xC3, 0xDF, 0xEC);

// Enumerations.
enum ZPV4870OutputEnum : int {
    ZPV4870OutputON = 0,
    ZPV4870OutputOFF = 1,
};
enum ZPV4870OperationModeEnum : int {
    ZPV4870OperationModeManual = 0,
    ZPV4870OperationModeList = 1,
    ZPV4870OperationModePulse = 2,
    ZPV4870OperationModeStep = 3,
};
enum ZPV4870BaseEnum : int {
    ZPV4870BaseTime = 0,
    ZPV4870BaseCycle = 1,
};
enum ZPV4870RangeEnum : int {
    ZPV4870RangeAuto = 0,
    ZPV4870RangeHigh = 1,
    ZPV4870RangeLow = 2,
};
enum ZPV4870TriggerEnum : int {
    ZPV4870TriggerAUTO = 0,
    ZPV4870TriggerManual = 1,
};
enum ZPV4870EnableEnum : int {
    ZPV4870EnableOFF = 0,
    ZPV4870EnableON = 1,
};
enum ZPV4870WaveformEnum : int {
    ZPV4870WaveformSINE = 0,
    ZPV4870WaveformTRIANGLE = 1,
    ZPV4870WaveformSQUARE = 2,
    ZPV4870WaveformCLIPPED = 3,
};
enum ZPV4870TimeUnitEnum : int {
    ZPV4870TimeUnitMillisecond = 0,
    ZPV4870TimeUnitSecond = 1,
    ZPV4870TimeUnitMinute = 2,
    ZPV4870TimeUnitHour = 3,
};
enum ZPV4870CoupleEnum : int {
    ZPV4870CoupleAC = 0,
    ZPV4870CoupleDC = 1,
    ZPV4870CoupleACDC = 2,
};
enum ZPV4870DCGenerationEnum : int {
    ZPV4870DCGenerationModeACOnly = 0,
    ZPV4870DCGenerationModeDCOnly = 1,
    ZPV4870DCGenerationModeACPlusDC = 2,
};
enum ZPV4870AnalogEnum : int {
    ZPV4870AnalogOFF = 0,
    ZPV4870Analog5V = 1,
    ZPV4870Analog10V = 2,
};
enum ZPV4870MeterEnum : int {
    ZPV4870MeterFrequency = 0,
    ZPV4870MeterCurrent = 1,
    ZPV4870MeterPower = 2,
    ZPV4870MeterPowerFactor = 3,
    ZPV4870MeterCurrentPeak = 4,
    ZPV4870MeterReactivePower = 5,
    ZPV4870MeterCrestFactor = 6,
    ZPV4870MeterApparentPower = 7,
    ZPV4870MeterVoltageAC = 8,
    ZPV4870MeterCurrentAC = 9,
    ZPV4870MeterVoltageDC = 10,
    ZPV4870MeterCurrentDC = 11,
};
enum ZPV4870PowerUpEnum : int {
    ZPV4870PowerUpOFF = 0,
    ZPV4870PowerUpON = 1,
    ZPV4870PowerUpLast = 2,
};
enum ZPV4870RemoteEnum : int {
    ZPV4870RemoteOFF = 0,
    ZPV4870RemoteON = 1,
};
enum ZPV4870SychronousSignalEnum : int {
    ZPV4870SychronousSignalOff = 0,
    ZPV4870SychronousSignalOn = 1,
    ZPV4870SychronousSignalStart = 2,
    ZPV4870SychronousSignalEnd = 3,
    ZPV4870SychronousSignalBoth = 4,
    ZPV4870SychronousSignalEvent = 5,
};
enum ZPV4870VoltageSenseEnum : int {
    ZPV4870VoltageSenseINTERNAL = 0,
    ZPV4870VoltageSenseEXTERNAL = 1,
};
// Class enumerations of the AC power source class.
enum IviACPwrDCGenerationEnum : int {
    IviACPwrDCGenerationACOnly = 0,
    IviACPwrDCGenerationDCOnly = 1,
    IviACPwrDCGenerationACPlusDC = 2,
};
enum IviACPwrMeasurementTypeEnum : int {
    IviACPwrMeasurementTypeVoltageRMS = 0,
    IviACPwrMeasurementTypeVoltageDC = 1,
    IviACPwrMeasurementTypeCurrentRMS = 2,
    IviACPwrMeasurementTypeCurrentDC = 3,
    IviACPwrMeasurementTypeFrequency = 4,
    IviACPwrMeasurementTypePower = 5,
    IviACPwrMeasurementTypePowerFactor = 6,
    IviACPwrMeasurementTypeCurrentPeak = 7,
    IviACPwrMeasurementTypeCrestFactor = 8,
    IviACPwrMeasurementTypeApparentPower = 9,
};
enum IviACPwrMeasurementGroupEnum : int {
    IviACPwrMeasurementGroupAll = 0,
    IviACPwrMeasurementGroupVoltage = 1,
    IviACPwrMeasurementGroupCurrent = 2,
    IviACPwrMeasurementGroupPower = 3,
};
enum IviACPwrWaveformCatalogEnum : int {
    IviACPwrWaveformCatalogAll = 0,
    IviACPwrWaveformCatalogFixed = 1,
    IviACPwrWaveformCatalogUser = 2,
};

enum ZPV4870ErrorCodesEnum : int {
    E_ZPV4870_IO_GENERAL = ZPV_HR(0x80044214),
    E_ZPV4870_IO_TIMEOUT = ZPV_HR(0x80044215),
    E_ZPV4870_MODEL_NOT_SUPPORTED = ZPV_HR(0x80044216),
};

// Interfaces.
//
// The IIviACPwr... interfaces are the AC power source class interfaces: their properties keep
// simulated values while simulating and every member answers E_NOTIMPL outside simulation; their
// actions (Configure, QueryCapabilities, Ramp..., Fetch..., ...) always answer E_NOTIMPL after the
// usual argument checks. The IZPV4870... interfaces talk to the instrument.
struct IIviComponentIdentity : IUnknown {
    virtual HRESULT get_Description(BSTR* val) = 0;
    virtual HRESULT get_Revision(BSTR* val) = 0;
    virtual HRESULT get_Vendor(BSTR* val) = 0;

protected:
    ~IIviComponentIdentity() = default;
};
struct IIviDriverIdentity : IIviComponentIdentity {
    virtual HRESULT get_InstrumentManufacturer(BSTR* val) = 0;
    virtual HRESULT get_InstrumentModel(BSTR* val) = 0;
    virtual HRESULT get_InstrumentFirmwareRevision(BSTR* val) = 0;
    virtual HRESULT get_Identifier(BSTR* val) = 0;
    virtual HRESULT get_SupportedInstrumentModels(BSTR* val) = 0;
    virtual HRESULT get_SpecificationMajorVersion(LONG* val) = 0;
    virtual HRESULT get_SpecificationMinorVersion(LONG* val) = 0;
    virtual HRESULT get_GroupCapabilities(BSTR* val) = 0;

protected:
    ~IIviDriverIdentity() = default;
};
struct IIviDriverOperation : IUnknown {
    virtual HRESULT get_LogicalName(BSTR* val) = 0;
    virtual HRESULT get_IoResourceDescriptor(BSTR* val) = 0;
    virtual HRESULT get_Cache(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_Cache(VARIANT_BOOL val) = 0;
    virtual HRESULT get_InterchangeCheck(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_InterchangeCheck(VARIANT_BOOL val) = 0;
    virtual HRESULT get_QueryInstrumentStatus(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_QueryInstrumentStatus(VARIANT_BOOL val) = 0;
    virtual HRESULT get_RangeCheck(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_RangeCheck(VARIANT_BOOL val) = 0;
    virtual HRESULT get_RecordCoercions(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_RecordCoercions(VARIANT_BOOL val) = 0;
    virtual HRESULT get_Simulate(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_Simulate(VARIANT_BOOL val) = 0;
    virtual HRESULT get_DriverSetup(BSTR* val) = 0;
    virtual HRESULT InvalidateAllAttributes() = 0;
    virtual HRESULT ClearInterchangeWarnings() = 0;
    virtual HRESULT GetNextInterchangeWarning(BSTR* val) = 0;
    virtual HRESULT ResetInterchangeCheck() = 0;
    virtual HRESULT GetNextCoercionRecord(BSTR* val) = 0;

protected:
    ~IIviDriverOperation() = default;
};
struct IIviDriverUtility : IUnknown {
    virtual HRESULT Reset() = 0;
    virtual HRESULT ResetWithDefaults() = 0;
    virtual HRESULT Disable() = 0;
    virtual HRESULT SelfTest(LONG* TestResult, BSTR* TestMessage) = 0;
    virtual HRESULT ErrorQuery(LONG* ErrorCode, BSTR* ErrorMessage) = 0;
    virtual HRESULT LockObject() = 0;
    virtual HRESULT UnlockObject() = 0;

protected:
    ~IIviDriverUtility() = default;
};
struct IIviDriver : IUnknown {
    virtual HRESULT get_DriverOperation(IIviDriverOperation** val) = 0;
    virtual HRESULT get_Identity(IIviDriverIdentity** val) = 0;
    virtual HRESULT get_Utility(IIviDriverUtility** val) = 0;
    virtual HRESULT Initialize(BSTR ResourceName, VARIANT_BOOL IdQuery, VARIANT_BOOL Reset, BSTR OptionString) = 0;
    virtual HRESULT get_Initialized(VARIANT_BOOL* val) = 0;
    virtual HRESULT Close() = 0;

protected:
    ~IIviDriver() = default;
};
struct IZPV4870 : IIviDriver {
    virtual HRESULT get_OutputPhases(IZPV4870OutputPhases** val) = 0;
    virtual HRESULT get_System(IZPV4870System** val) = 0;
    virtual HRESULT get_Execution(IZPV4870Execution** val) = 0;
    virtual HRESULT get_ListMode(IZPV4870ListMode** val) = 0;
    virtual HRESULT get_ManualMode(IZPV4870ManualMode** val) = 0;
    virtual HRESULT get_Measure(IZPV4870Measure** val) = 0;
    virtual HRESULT get_PulseMode(IZPV4870PulseMode** val) = 0;
    virtual HRESULT get_Result(IZPV4870Result** val) = 0;
    virtual HRESULT get_StepMode(IZPV4870StepMode** val) = 0;
protected:
    ~IZPV4870() = default;
};
struct IIviACPwr : IIviDriver {
    virtual HRESULT get_OutputPhases(IIviACPwrOutputPhases** val) = 0;
    virtual HRESULT get_ArbWaveform(IIviACPwrArbWaveform** val) = 0;
protected:
    ~IIviACPwr() = default;
};
struct IZPV4870OutputPhases : IUnknown {
    virtual HRESULT get_Count(LONG* val) = 0;
    virtual HRESULT get_Item(BSTR Name, IZPV4870OutputPhase** val) = 0;
    virtual HRESULT get_Name(LONG Index, BSTR* val) = 0;
    virtual HRESULT get_Frequency(double* val) = 0;
    virtual HRESULT put_Frequency(double val) = 0;

protected:
    ~IZPV4870OutputPhases() = default;
};
struct IIviACPwrOutputPhases : IUnknown {
    virtual HRESULT get_Count(LONG* val) = 0;
    virtual HRESULT get_Item(BSTR Name, IIviACPwrOutputPhase** val) = 0;
    virtual HRESULT get_Name(LONG Index, BSTR* val) = 0;
    virtual HRESULT get_NumPhases(LONG* val) = 0;
    virtual HRESULT get_Frequency(double* val) = 0;
    virtual HRESULT put_Frequency(double val) = 0;
    virtual HRESULT get_FrequencyRange(double* val) = 0;
    virtual HRESULT put_FrequencyRange(double val) = 0;
    virtual HRESULT get_NumFrequencyRanges(LONG* val) = 0;
    virtual HRESULT QueryFrequencyRangeCapabilities(LONG Range, double* MinFrequency, double* MaxFrequency) = 0;
    virtual HRESULT RampFrequency(double Frequency, double Rate) = 0;
    virtual HRESULT AbortFrequencyRamp() = 0;
    virtual HRESULT get_FrequencyRampBusy(VARIANT_BOOL* val) = 0;
    virtual HRESULT InitiateMeasurement(IviACPwrMeasurementGroupEnum Group) = 0;
    virtual HRESULT get_ExternalSync(IIviACPwrExternalSync** val) = 0;

protected:
    ~IIviACPwrOutputPhases() = default;
};
struct IIviACPwrArbWaveform : IUnknown {
    virtual HRESULT get_AvailableWaveformCount(LONG* val) = 0;
    virtual HRESULT get_FixedWaveformCount(LONG* val) = 0;
    virtual HRESULT get_NumOptimalDataPoints(LONG* val) = 0;
    virtual HRESULT get_NumWaveformsMax(LONG* val) = 0;
    virtual HRESULT get_UserWaveformCount(LONG* val) = 0;
    virtual HRESULT Clear(BSTR WaveformName) = 0;
    virtual HRESULT QueryCatalog(IviACPwrWaveformCatalogEnum CatalogType, BSTR* Catalog) = 0;
    virtual HRESULT Write(BSTR WaveformName, SAFEARRAY* Waveform) = 0;

protected:
    ~IIviACPwrArbWaveform() = default;
};
struct IIviACPwrExternalSync : IUnknown {
    virtual HRESULT Configure(VARIANT_BOOL Enabled, double PhaseOffset) = 0;
    virtual HRESULT get_Enabled(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_Enabled(VARIANT_BOOL val) = 0;
    virtual HRESULT get_PhaseOffset(double* val) = 0;
    virtual HRESULT put_PhaseOffset(double val) = 0;
    virtual HRESULT get_Locked(VARIANT_BOOL* val) = 0;

protected:
    ~IIviACPwrExternalSync() = default;
};
struct IZPV4870System : IUnknown {
    virtual HRESULT ReadBytes(SAFEARRAY** val) = 0;
    virtual HRESULT ReadString(BSTR* val) = 0;
    // Raw writes: the caller adds the line feed. A null Data array is a null-pointer error
    // (0x80047058); a null BSTR is the empty string, as in automation, and sends nothing.
    virtual HRESULT WriteBytes(SAFEARRAY* Data, LONG* val) = 0;
    virtual HRESULT WriteString(BSTR Data) = 0;
    virtual HRESULT get_IOTimeout(LONG* val) = 0;
    virtual HRESULT put_IOTimeout(LONG val) = 0;
    virtual HRESULT get_DirectIO(IUnknown** val) = 0;
    virtual HRESULT get_Alarm(LONG* val) = 0;
    virtual HRESULT put_Alarm(LONG val) = 0;
    virtual HRESULT get_Analog(ZPV4870AnalogEnum* val) = 0;
    virtual HRESULT put_Analog(ZPV4870AnalogEnum val) = 0;
    virtual HRESULT get_FrequencyHighLimit(double* val) = 0;
    virtual HRESULT put_FrequencyHighLimit(double val) = 0;
    virtual HRESULT get_FrequencyLowLimit(double* val) = 0;
    virtual HRESULT put_FrequencyLowLimit(double val) = 0;
    virtual HRESULT get_Lock(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_Lock(VARIANT_BOOL val) = 0;
    virtual HRESULT get_MeterDisplay(ZPV4870MeterEnum* val) = 0;
    virtual HRESULT put_MeterDisplay(ZPV4870MeterEnum val) = 0;
    virtual HRESULT get_OCFold(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_OCFold(VARIANT_BOOL val) = 0;
    virtual HRESULT get_PowreUp(ZPV4870PowerUpEnum* val) = 0;
    virtual HRESULT put_PowreUp(ZPV4870PowerUpEnum val) = 0;
    virtual HRESULT get_Remote(ZPV4870RemoteEnum* val) = 0;
    virtual HRESULT put_Remote(ZPV4870RemoteEnum val) = 0;
    virtual HRESULT get_SychronousSignal(ZPV4870SychronousSignalEnum* val) = 0;
    virtual HRESULT put_SychronousSignal(ZPV4870SychronousSignalEnum val) = 0;
    virtual HRESULT get_VoltageAcHighLimit(double* val) = 0;
    virtual HRESULT put_VoltageAcHighLimit(double val) = 0;
    virtual HRESULT get_VoltageAcLowLimit(double* val) = 0;
    virtual HRESULT put_VoltageAcLowLimit(double val) = 0;
    virtual HRESULT get_VoltageDcHighLimit(double* val) = 0;
    virtual HRESULT put_VoltageDcHighLimit(double val) = 0;
    virtual HRESULT get_VoltageDcLowLimit(double* val) = 0;
    virtual HRESULT put_VoltageDcLowLimit(double val) = 0;
    virtual HRESULT get_VoltageSense(ZPV4870VoltageSenseEnum* val) = 0;
    virtual HRESULT put_VoltageSense(ZPV4870VoltageSenseEnum val) = 0;

protected:
    ~IZPV4870System() = default;
};
struct IZPV4870ExecutionConfigurations : IUnknown {
    virtual HRESULT get_Frequency(double* val) = 0;
    virtual HRESULT put_Frequency(double val) = 0;
    virtual HRESULT get_DCVoltage(double* val) = 0;
    virtual HRESULT put_DCVoltage(double val) = 0;
    virtual HRESULT get_CurrentHighLimit(double* val) = 0;
    virtual HRESULT put_CurrentHighLimit(double val) = 0;
    virtual HRESULT get_ACVoltage(double* val) = 0;
    virtual HRESULT put_ACVoltage(double val) = 0;

protected:
    ~IZPV4870ExecutionConfigurations() = default;
};
struct IZPV4870Execution : IUnknown {
    virtual HRESULT ClearProtections() = 0;
    virtual HRESULT GetOutputEnable(ZPV4870OutputEnum* Val) = 0;
    virtual HRESULT GetProtections(BSTR* Val) = 0;
    virtual HRESULT SetOperationMode(ZPV4870OperationModeEnum OperationMode) = 0;
    virtual HRESULT SetOutputEnable(ZPV4870OutputEnum Behavior) = 0;
    virtual HRESULT GetOperationMode(ZPV4870OperationModeEnum* Val) = 0;
    virtual HRESULT get_Configurations(IZPV4870ExecutionConfigurations** val) = 0;

protected:
    ~IZPV4870Execution() = default;
};
// The members shared by the setting-file interfaces of the four operation modes.
struct IZPV4870File : IUnknown {
    virtual HRESULT Copy(BSTR SourceFile, BSTR DestinationFile) = 0;
    virtual HRESULT Add(BSTR FileName) = 0;
    virtual HRESULT Edit(BSTR FileName) = 0;
    virtual HRESULT Load(BSTR FileName) = 0;
    virtual HRESULT GetEditFile(BSTR* Val) = 0;
    virtual HRESULT GetLoadFile(BSTR* Val) = 0;
    virtual HRESULT Delete(BSTR FileName) = 0;
    virtual HRESULT GetFileName(BSTR* Val) = 0;
    virtual HRESULT GetFileTotal(double* Val) = 0;
    virtual HRESULT get_SetFileIndex(double* val) = 0;
    virtual HRESULT put_SetFileIndex(double val) = 0;

protected:
    ~IZPV4870File() = default;
};
struct IZPV4870ListModeFile : IZPV4870File {
protected:
    ~IZPV4870ListModeFile() = default;
};
struct IZPV4870ListModeProgram : IUnknown {
    virtual HRESULT get_VoltageAC(double* val) = 0;
    virtual HRESULT put_VoltageAC(double val) = 0;
    virtual HRESULT get_Count(LONG* val) = 0;
    virtual HRESULT put_Count(LONG val) = 0;
    virtual HRESULT get_Base(ZPV4870BaseEnum* val) = 0;
    virtual HRESULT put_Base(ZPV4870BaseEnum val) = 0;
    virtual HRESULT get_Range(ZPV4870RangeEnum* val) = 0;
    virtual HRESULT put_Range(ZPV4870RangeEnum val) = 0;
    virtual HRESULT get_Trigger(ZPV4870TriggerEnum* val) = 0;
    virtual HRESULT put_Trigger(ZPV4870TriggerEnum val) = 0;
    virtual HRESULT get_VoltageDC(double* val) = 0;
    virtual HRESULT put_VoltageDC(double val) = 0;
    virtual HRESULT get_Frequency(double* val) = 0;
    virtual HRESULT put_Frequency(double val) = 0;
    virtual HRESULT get_AngleConnect(ZPV4870EnableEnum* val) = 0;
    virtual HRESULT put_AngleConnect(ZPV4870EnableEnum val) = 0;
    virtual HRESULT get_FailStop(ZPV4870EnableEnum* val) = 0;
    virtual HRESULT put_FailStop(ZPV4870EnableEnum val) = 0;

protected:
    ~IZPV4870ListModeProgram() = default;
};
struct IZPV4870ListModeSequence : IUnknown {
    virtual HRESULT Add() = 0;
    virtual HRESULT Edit(LONG SequenceIndex) = 0;
    virtual HRESULT Copy(LONG SourceSequenceIndex) = 0;
    virtual HRESULT GetEditSequence(LONG* Val) = 0;
    virtual HRESULT Delete(LONG SequenceIndex) = 0;
    virtual HRESULT GetTotalSequence(LONG* Val) = 0;
    virtual HRESULT get_Waveform(ZPV4870WaveformEnum* val) = 0;
    virtual HRESULT put_Waveform(ZPV4870WaveformEnum val) = 0;
    virtual HRESULT get_StartAngle(LONG* val) = 0;
    virtual HRESULT put_StartAngle(LONG val) = 0;
    virtual HRESULT get_VoltageAcStart(double* val) = 0;
    virtual HRESULT put_VoltageAcStart(double val) = 0;
    virtual HRESULT get_VoltageDcStart(double* val) = 0;
    virtual HRESULT put_VoltageDcStart(double val) = 0;
    virtual HRESULT get_VoltageAcEnd(double* val) = 0;
    virtual HRESULT put_VoltageAcEnd(double val) = 0;
    virtual HRESULT get_VoltageDcEnd(double* val) = 0;
    virtual HRESULT put_VoltageDcEnd(double val) = 0;
    virtual HRESULT get_TotalHarmonicDistortion(double* val) = 0;
    virtual HRESULT put_TotalHarmonicDistortion(double val) = 0;
    virtual HRESULT get_FrequencyEnd(double* val) = 0;
    virtual HRESULT put_FrequencyEnd(double val) = 0;
    virtual HRESULT get_FrequencyStart(double* val) = 0;
    virtual HRESULT put_FrequencyStart(double val) = 0;
    virtual HRESULT get_Time(double* val) = 0;
    virtual HRESULT put_Time(double val) = 0;
    virtual HRESULT get_TimeUnit(ZPV4870TimeUnitEnum* val) = 0;
    virtual HRESULT put_TimeUnit(ZPV4870TimeUnitEnum val) = 0;
    virtual HRESULT get_Cycle(LONG* val) = 0;
    virtual HRESULT put_Cycle(LONG val) = 0;
    virtual HRESULT get_CurrentHighLimit(double* val) = 0;
    virtual HRESULT put_CurrentHighLimit(double val) = 0;
    virtual HRESULT get_CurrentLimitDelay(double* val) = 0;
    virtual HRESULT put_CurrentLimitDelay(double val) = 0;
    virtual HRESULT get_CurrentLowLimit(double* val) = 0;
    virtual HRESULT put_CurrentLowLimit(double val) = 0;
    virtual HRESULT get_PowerHighLimit(double* val) = 0;
    virtual HRESULT put_PowerHighLimit(double val) = 0;
    virtual HRESULT get_PowerLowLimit(double* val) = 0;
    virtual HRESULT put_PowerLowLimit(double val) = 0;
    virtual HRESULT get_PowerFactorLowLimit(double* val) = 0;
    virtual HRESULT put_PowerFactorLowLimit(double val) = 0;
    virtual HRESULT get_PowerFactorHighLimit(double* val) = 0;
    virtual HRESULT put_PowerFactorHighLimit(double val) = 0;
    virtual HRESULT get_CurrentPeakHighLimit(double* val) = 0;
    virtual HRESULT put_CurrentPeakHighLimit(double val) = 0;
    virtual HRESULT get_CurrentPeakLowLimit(double* val) = 0;
    virtual HRESULT put_CurrentPeakLowLimit(double val) = 0;
    virtual HRESULT get_ReactivePowerHighLimit(double* val) = 0;
    virtual HRESULT put_ReactivePowerHighLimit(double val) = 0;
    virtual HRESULT get_ReactivePowerLowLimit(double* val) = 0;
    virtual HRESULT put_ReactivePowerLowLimit(double val) = 0;
    virtual HRESULT get_ApparentPowerHighLimit(double* val) = 0;
    virtual HRESULT put_ApparentPowerHighLimit(double val) = 0;
    virtual HRESULT get_ApparentPowerLowLimit(double* val) = 0;
    virtual HRESULT put_ApparentPowerLowLimit(double val) = 0;
    virtual HRESULT get_CrestFactorLowLimit(double* val) = 0;
    virtual HRESULT put_CrestFactorLowLimit(double val) = 0;
    virtual HRESULT get_CrestFactorHighLimit(double* val) = 0;
    virtual HRESULT put_CrestFactorHighLimit(double val) = 0;
    virtual HRESULT get_Frequency(double* val) = 0;
    virtual HRESULT put_Frequency(double val) = 0;
    virtual HRESULT get_VoltageAC(double* val) = 0;
    virtual HRESULT put_VoltageAC(double val) = 0;

protected:
    ~IZPV4870ListModeSequence() = default;
};
struct IZPV4870ListMode : IUnknown {
    virtual HRESULT get_File(IZPV4870ListModeFile** val) = 0;
    virtual HRESULT get_Program(IZPV4870ListModeProgram** val) = 0;
    virtual HRESULT get_Sequence(IZPV4870ListModeSequence** val) = 0;

protected:
    ~IZPV4870ListMode() = default;
};
struct IZPV4870ManualModeFile : IZPV4870File {
protected:
    ~IZPV4870ManualModeFile() = default;
};
struct IZPV4870ManualMode : IUnknown {
    virtual HRESULT get_Couple(ZPV4870CoupleEnum* val) = 0;
    virtual HRESULT put_Couple(ZPV4870CoupleEnum val) = 0;
    virtual HRESULT get_CurrentHighLimit(double* val) = 0;
    virtual HRESULT put_CurrentHighLimit(double val) = 0;
    virtual HRESULT get_CurrentLimitDelay(double* val) = 0;
    virtual HRESULT put_CurrentLimitDelay(double val) = 0;
    virtual HRESULT get_CurrentLowLimit(double* val) = 0;
    virtual HRESULT put_CurrentLowLimit(double val) = 0;
    virtual HRESULT get_File(IZPV4870ManualModeFile** val) = 0;
    virtual HRESULT get_Frequency(double* val) = 0;
    virtual HRESULT put_Frequency(double val) = 0;
    virtual HRESULT get_PowerHighLimit(double* val) = 0;
    virtual HRESULT put_PowerHighLimit(double val) = 0;
    virtual HRESULT get_PowerLowLimit(double* val) = 0;
    virtual HRESULT put_PowerLowLimit(double val) = 0;
    virtual HRESULT get_RampUp(double* val) = 0;
    virtual HRESULT put_RampUp(double val) = 0;
    virtual HRESULT get_Range(ZPV4870RangeEnum* val) = 0;
    virtual HRESULT put_Range(ZPV4870RangeEnum val) = 0;
    virtual HRESULT get_StartAngle(double* val) = 0;
    virtual HRESULT put_StartAngle(double val) = 0;
    virtual HRESULT get_TotalHarmonicDistortion(double* val) = 0;
    virtual HRESULT put_TotalHarmonicDistortion(double val) = 0;
    virtual HRESULT get_VoltageAC(double* val) = 0;
    virtual HRESULT put_VoltageAC(double val) = 0;
    virtual HRESULT get_VoltageDC(double* val) = 0;
    virtual HRESULT put_VoltageDC(double val) = 0;
    virtual HRESULT get_Waveform(ZPV4870WaveformEnum* val) = 0;
    virtual HRESULT put_Waveform(ZPV4870WaveformEnum val) = 0;

protected:
    ~IZPV4870ManualMode() = default;
};
struct IZPV4870Measure : IUnknown {
    virtual HRESULT All(BSTR* Val) = 0;
    virtual HRESULT Voltage(double* Val) = 0;
    virtual HRESULT State(BSTR* Val) = 0;
    virtual HRESULT VoltageAC(double* Val) = 0;
    virtual HRESULT VoltageDC(double* Val) = 0;
    virtual HRESULT Frequency(double* Val) = 0;
    virtual HRESULT Current(double* Val) = 0;
    virtual HRESULT CurrentAC(double* Val) = 0;
    virtual HRESULT CurrentDC(double* Val) = 0;
    virtual HRESULT Power(double* Val) = 0;
    virtual HRESULT PowerFactor(double* Val) = 0;
    virtual HRESULT CurrentPeak(double* Val) = 0;
    virtual HRESULT ReactivePower(double* Val) = 0;
    virtual HRESULT CrestFactor(double* Val) = 0;
    virtual HRESULT ApparentPower(double* Val) = 0;
    virtual HRESULT DwellTime(double* Val) = 0;
    virtual HRESULT Count(double* Val) = 0;
    virtual HRESULT Sequence(double* Val) = 0;

protected:
    ~IZPV4870Measure() = default;
};
struct IZPV4870PulseModeFile : IZPV4870File {
protected:
    ~IZPV4870PulseModeFile() = default;
};
struct IZPV4870PulseMode : IUnknown {
    virtual HRESULT get_File(IZPV4870PulseModeFile** val) = 0;
    virtual HRESULT get_Count(LONG* val) = 0;
    virtual HRESULT put_Count(LONG val) = 0;
    virtual HRESULT get_Trigger(ZPV4870TriggerEnum* val) = 0;
    virtual HRESULT put_Trigger(ZPV4870TriggerEnum val) = 0;
    virtual HRESULT get_Range(ZPV4870RangeEnum* val) = 0;
    virtual HRESULT put_Range(ZPV4870RangeEnum val) = 0;
    virtual HRESULT get_StartAngle(double* val) = 0;
    virtual HRESULT put_StartAngle(double val) = 0;
    virtual HRESULT get_VoltageAC(double* val) = 0;
    virtual HRESULT put_VoltageAC(double val) = 0;
    virtual HRESULT get_VoltageDC(double* val) = 0;
    virtual HRESULT put_VoltageDC(double val) = 0;
    virtual HRESULT get_Frequency(double* val) = 0;
    virtual HRESULT put_Frequency(double val) = 0;
    virtual HRESULT get_TransientVoltageAC(double* val) = 0;
    virtual HRESULT put_TransientVoltageAC(double val) = 0;
    virtual HRESULT get_TransientVoltageDC(double* val) = 0;
    virtual HRESULT put_TransientVoltageDC(double val) = 0;
    virtual HRESULT get_Duty(LONG* val) = 0;
    virtual HRESULT put_Duty(LONG val) = 0;
    virtual HRESULT get_Period(double* val) = 0;
    virtual HRESULT put_Period(double val) = 0;

protected:
    ~IZPV4870PulseMode() = default;
};
struct IZPV4870Result : IUnknown {
    virtual HRESULT GetAll(BSTR* Val) = 0;
    virtual HRESULT GetVoltageAC(double* Val) = 0;
    virtual HRESULT GetVoltageDC(double* Val) = 0;
    virtual HRESULT GetFrequency(double* Val) = 0;
    virtual HRESULT GetCurrentAC(double* Val) = 0;
    virtual HRESULT GetCurrentDC(double* Val) = 0;
    virtual HRESULT GetPower(double* Val) = 0;
    virtual HRESULT GetPowerFactor(double* Val) = 0;
    virtual HRESULT GetCurrentPeak(double* Val) = 0;
    virtual HRESULT GetReactivePower(double* Val) = 0;
    virtual HRESULT GetCrestFactor(double* Val) = 0;
    virtual HRESULT GetApparentPower(double* Val) = 0;
    virtual HRESULT get_SequenceIndex(LONG* val) = 0;
    virtual HRESULT put_SequenceIndex(LONG val) = 0;
    virtual HRESULT get_TotalSequence(LONG* val) = 0;

protected:
    ~IZPV4870Result() = default;
};
struct IZPV4870StepModeFile : IZPV4870File {
protected:
    ~IZPV4870StepModeFile() = default;
};
struct IZPV4870StepMode : IUnknown {
    virtual HRESULT get_File(IZPV4870StepModeFile** val) = 0;
    virtual HRESULT get_Trigger(ZPV4870TriggerEnum* val) = 0;
    virtual HRESULT put_Trigger(ZPV4870TriggerEnum val) = 0;
    virtual HRESULT get_Count(LONG* val) = 0;
    virtual HRESULT put_Count(LONG val) = 0;
    virtual HRESULT get_Base(ZPV4870BaseEnum* val) = 0;
    virtual HRESULT put_Base(ZPV4870BaseEnum val) = 0;
    virtual HRESULT get_Range(ZPV4870RangeEnum* val) = 0;
    virtual HRESULT put_Range(ZPV4870RangeEnum val) = 0;
    virtual HRESULT get_Waveform(ZPV4870WaveformEnum* val) = 0;
    virtual HRESULT put_Waveform(ZPV4870WaveformEnum val) = 0;
    virtual HRESULT get_TotalHarmonicDistortion(double* val) = 0;
    virtual HRESULT put_TotalHarmonicDistortion(double val) = 0;
    virtual HRESULT get_StartAngle(double* val) = 0;
    virtual HRESULT put_StartAngle(double val) = 0;
    virtual HRESULT get_VoltageAC(double* val) = 0;
    virtual HRESULT put_VoltageAC(double val) = 0;
    virtual HRESULT get_VoltageDC(double* val) = 0;
    virtual HRESULT put_VoltageDC(double val) = 0;
    virtual HRESULT get_Frequency(double* val) = 0;
    virtual HRESULT put_Frequency(double val) = 0;
    virtual HRESULT get_Time(double* val) = 0;
    virtual HRESULT put_Time(double val) = 0;
    virtual HRESULT get_TimeUnit(ZPV4870TimeUnitEnum* val) = 0;
    virtual HRESULT put_TimeUnit(ZPV4870TimeUnitEnum val) = 0;
    virtual HRESULT get_Cycle(LONG* val) = 0;
    virtual HRESULT put_Cycle(LONG val) = 0;
    virtual HRESULT get_DeltaVoltageAC(double* val) = 0;
    virtual HRESULT put_DeltaVoltageAC(double val) = 0;
    virtual HRESULT get_DeltaVoltageDC(double* val) = 0;
    virtual HRESULT put_DeltaVoltageDC(double val) = 0;
    virtual HRESULT get_DeltaFrequency(double* val) = 0;
    virtual HRESULT put_DeltaFrequency(double val) = 0;

protected:
    ~IZPV4870StepMode() = default;
};
struct IZPV4870OutputPhase : IUnknown {
    virtual HRESULT get_CurrentLimit(double* val) = 0;
    virtual HRESULT put_CurrentLimit(double val) = 0;
    virtual HRESULT get_CurrentProtection(IZPV4870OutputPhaseCurrentProtection** val) = 0;
    virtual HRESULT get_DCGeneration(IZPV4870OutputPhaseDCGeneration** val) = 0;
    virtual HRESULT get_Enabled(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_Enabled(VARIANT_BOOL val) = 0;
    virtual HRESULT get_PhaseAngle(double* val) = 0;
    virtual HRESULT put_PhaseAngle(double val) = 0;
    virtual HRESULT get_VoltageLevel(double* val) = 0;
    virtual HRESULT put_VoltageLevel(double val) = 0;
    virtual HRESULT get_VoltageProtection(IZPV4870OutputPhaseVoltageProtection** val) = 0;
    virtual HRESULT get_VoltageRange(ZPV4870RangeEnum* val) = 0;
    virtual HRESULT put_VoltageRange(ZPV4870RangeEnum val) = 0;
    virtual HRESULT get_Waveform(BSTR* val) = 0;
    virtual HRESULT put_Waveform(BSTR val) = 0;

protected:
    ~IZPV4870OutputPhase() = default;
};
struct IIviACPwrOutputPhase : IUnknown {
    virtual HRESULT get_CurrentLimit(double* val) = 0;
    virtual HRESULT put_CurrentLimit(double val) = 0;
    virtual HRESULT get_Enabled(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_Enabled(VARIANT_BOOL val) = 0;
    virtual HRESULT get_PhaseAngle(double* val) = 0;
    virtual HRESULT put_PhaseAngle(double val) = 0;
    virtual HRESULT get_VoltageLevel(double* val) = 0;
    virtual HRESULT put_VoltageLevel(double val) = 0;
    virtual HRESULT get_VoltageRange(double* val) = 0;
    virtual HRESULT put_VoltageRange(double val) = 0;
    virtual HRESULT get_Waveform(BSTR* val) = 0;
    virtual HRESULT put_Waveform(BSTR val) = 0;
    virtual HRESULT get_NumVoltageRanges(LONG* val) = 0;
    virtual HRESULT get_VoltageRampBusy(VARIANT_BOOL* val) = 0;
    virtual HRESULT get_CurrentRampBusy(VARIANT_BOOL* val) = 0;
    virtual HRESULT QueryVoltageRangeCapabilities(LONG Range, double* MaxVoltage, double* MinVoltage) = 0;
    virtual HRESULT FetchMeasurement(IviACPwrMeasurementTypeEnum MeasurementType, double* Measurement) = 0;
    virtual HRESULT FetchMeasurementArray(IviACPwrMeasurementTypeEnum MeasurementType, SAFEARRAY** Measurement, LONG* MeasurementActualSize) = 0;
    virtual HRESULT RampVoltage(double Voltage, double Rate) = 0;
    virtual HRESULT RampCurrent(double Current, double Rate) = 0;
    virtual HRESULT AbortVoltageRamp() = 0;
    virtual HRESULT AbortCurrentRamp() = 0;
    virtual HRESULT get_CurrentProtection(IIviACPwrCurrentProtection** val) = 0;
    virtual HRESULT get_DCGeneration(IIviACPwrDCGeneration** val) = 0;
    virtual HRESULT get_Impedance(IIviACPwrImpedance** val) = 0;
    virtual HRESULT get_VoltageProtection(IIviACPwrVoltageProtection** val) = 0;

protected:
    ~IIviACPwrOutputPhase() = default;
};
struct IZPV4870OutputPhaseCurrentProtection : IUnknown {
    virtual HRESULT Configure(VARIANT_BOOL Enabled, double Threshold, double Delay) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT get_Delay(double* val) = 0;
    virtual HRESULT put_Delay(double val) = 0;
    virtual HRESULT get_Enabled(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_Enabled(VARIANT_BOOL val) = 0;
    virtual HRESULT get_Threshold(double* val) = 0;
    virtual HRESULT put_Threshold(double val) = 0;

protected:
    ~IZPV4870OutputPhaseCurrentProtection() = default;
};
struct IZPV4870OutputPhaseVoltageProtection : IUnknown {
    virtual HRESULT Reset() = 0;

protected:
    ~IZPV4870OutputPhaseVoltageProtection() = default;
};
struct IZPV4870OutputPhaseDCGeneration : IUnknown {
    virtual HRESULT Configure(ZPV4870DCGenerationEnum Mode, double DCVoltageLevel) = 0;
    virtual HRESULT get_Mode(ZPV4870DCGenerationEnum* val) = 0;
    virtual HRESULT put_Mode(ZPV4870DCGenerationEnum val) = 0;
    virtual HRESULT get_DCVoltageLevel(double* val) = 0;
    virtual HRESULT put_DCVoltageLevel(double val) = 0;
    virtual HRESULT get_ConfigureRange(ZPV4870RangeEnum* val) = 0;
    virtual HRESULT put_ConfigureRange(ZPV4870RangeEnum val) = 0;

protected:
    ~IZPV4870OutputPhaseDCGeneration() = default;
};
struct IIviACPwrCurrentProtection : IUnknown {
    virtual HRESULT Configure(VARIANT_BOOL Enabled, double Threshold, double Delay) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT get_Delay(double* val) = 0;
    virtual HRESULT put_Delay(double val) = 0;
    virtual HRESULT get_Enabled(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_Enabled(VARIANT_BOOL val) = 0;
    virtual HRESULT get_Threshold(double* val) = 0;
    virtual HRESULT put_Threshold(double val) = 0;
    virtual HRESULT get_Tripped(VARIANT_BOOL* val) = 0;

protected:
    ~IIviACPwrCurrentProtection() = default;
};
struct IIviACPwrVoltageProtection : IUnknown {
    virtual HRESULT Configure(double OverLimit, double UnderLimit, VARIANT_BOOL OverEnabled, VARIANT_BOOL UnderEnabled) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT get_OverEnabled(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_OverEnabled(VARIANT_BOOL val) = 0;
    virtual HRESULT get_OverLimit(double* val) = 0;
    virtual HRESULT put_OverLimit(double val) = 0;
    virtual HRESULT get_UnderEnabled(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_UnderEnabled(VARIANT_BOOL val) = 0;
    virtual HRESULT get_UnderLimit(double* val) = 0;
    virtual HRESULT put_UnderLimit(double val) = 0;
    virtual HRESULT get_Tripped(VARIANT_BOOL* val) = 0;

protected:
    ~IIviACPwrVoltageProtection() = default;
};
struct IIviACPwrDCGeneration : IUnknown {
    virtual HRESULT Configure(IviACPwrDCGenerationEnum Mode, double DCVoltageLevel) = 0;
    virtual HRESULT ConfigureRange(double Range) = 0;
    virtual HRESULT QueryCapabilities(LONG Range, double* Maximum, double* Minimum) = 0;
    virtual HRESULT get_DCVoltageLevel(double* val) = 0;
    virtual HRESULT put_DCVoltageLevel(double val) = 0;
    virtual HRESULT get_Mode(IviACPwrDCGenerationEnum* val) = 0;
    virtual HRESULT put_Mode(IviACPwrDCGenerationEnum val) = 0;
    virtual HRESULT get_NumRanges(LONG* val) = 0;
    virtual HRESULT get_RangeMin(double* val) = 0;
    virtual HRESULT get_RangeMax(double* val) = 0;

protected:
    ~IIviACPwrDCGeneration() = default;
};
struct IIviACPwrImpedance : IUnknown {
    virtual HRESULT Configure(double ResistiveValue, double InductiveValue) = 0;
    virtual HRESULT QueryCapabilities(double* ResistiveMin, double* ResistiveMax, double* InductiveMax, double* InductiveMin) = 0;
    virtual HRESULT get_Enabled(VARIANT_BOOL* val) = 0;
    virtual HRESULT put_Enabled(VARIANT_BOOL val) = 0;
    virtual HRESULT get_Inductive(double* val) = 0;
    virtual HRESULT put_Inductive(double val) = 0;
    virtual HRESULT get_Resistive(double* val) = 0;
    virtual HRESULT put_Resistive(double val) = 0;

protected:
    ~IIviACPwrImpedance() = default;
};

// The module's entry points, exported by libzpv4870.so as an in-process server's are. Registration
// writes the classes' registry entries (machine-wide, or with DllInstall(1, L"user") the user's
// own), so a process without the library linked in finds it by ProgID and loads it.
extern "C" {
HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
HRESULT DllCanUnloadNow();
HRESULT DllRegisterServer();
HRESULT DllUnregisterServer();
HRESULT DllInstall(int bInstall, const wchar_t* pszCmdLine);
}

// Trace events. While DriverSetup "Trace=true" records calls, a program may also receive each
// finished record as text: query the driver object for IZPV4870TraceEvents and Advise a sink of
// its own. Sinks may come and go from any thread while calls run; a failing sink does not change
// any call's status. Advise keeps a reference to the sink until Unadvise or the driver's end.
ZPV_DEFINE_IID(IZPV4870TraceEventSink, 0x41FF1F69, 0x491D, 0x4B92, 0xB4, 0xF7, 0x3E, 0x5A, 0x2D, 0x2F, 0xFE, 0x7B);
struct IZPV4870TraceEventSink : IUnknown {
    // record: one "Method" element, from its "<" to its closing tag.
    virtual HRESULT OnTraceEvent(BSTR record) = 0;

protected:
    ~IZPV4870TraceEventSink() = default;
};
ZPV_DEFINE_IID(IZPV4870TraceEvents, 0xB39CB6E8, 0xBD63, 0x44CD, 0xB1, 0x42, 0x86, 0xBF, 0x03, 0xEF, 0xB8, 0x8B);
struct IZPV4870TraceEvents : IUnknown {
    virtual HRESULT Advise(IZPV4870TraceEventSink* sink, DWORD* cookie) = 0;
    virtual HRESULT Unadvise(DWORD cookie) = 0;

protected:
    ~IZPV4870TraceEvents() = default;
};

#endif  // ZPV4870_H
