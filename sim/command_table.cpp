#include "zpv4870sim/command_table.h"

#include <stdexcept>

#include "handlers.h"
#include "instrument_state.h"
#include "measurement.h"
#include "parameter_type.h"
#include "text.h"

namespace zpv::sim {

namespace {

constexpr auto kAdvanced = Availability::AdvancedOnly;
constexpr auto kStandard = Availability::StandardOnly;
constexpr auto kAll = Availability::AllModels;

// Keyword parameters. Queries answer the long form in capitals unless an answer is given.
constexpr Keyword kModeWords[] = {{"MANual"}, {"LIST"}, {"PULSE"}, {"STEP"}};
constexpr Keyword kRangeWords[] = {{"AUTO"}, {"HIGH"}, {"LOW"}};
constexpr Keyword kTriggerWords[] = {{"AUTO"}, {"MANual"}};
constexpr Keyword kBaseWords[] = {{"TIME"}, {"CYCLe"}};
constexpr Keyword kWaveformWords[] = {{"SINE"}, {"TRIangle"}, {"SQUare"}, {"CLIPped"}};
constexpr Keyword kTimeUnitWords[] = {{"MS"}, {"SECond"}, {"MINute"}, {"HOUR"}};
constexpr Keyword kCoupleWords[] = {{"AC"}, {"DC"}, {"ACDC"}};
constexpr Keyword kAnalogWords[] = {{"OFF"}, {"5"}, {"10"}, {"0-5V", "5"}, {"0-10V", "10"}};
constexpr Keyword kMeterWords[] = {{"FREQUENCY"}, {"CURRENT"}, {"POWER"},       {"PFACTOR"},
                                   {"APEAK"},     {"REACTIVE"}, {"CRESTFACTOR"}, {"APPARENT"},
                                   {"VAC"},       {"AAC"},      {"VDC"},         {"ADC"}};
constexpr Keyword kPowerUpWords[] = {{"OFF"}, {"ON"}, {"LAST"}};
constexpr Keyword kSyncWords[] = {{"OFF"}, {"ON"}, {"STARt"}, {"END"}, {"BOTH"}, {"EVENt"}};
constexpr Keyword kSenseWords[] = {{"INTernal"}, {"EXTernal"}};
constexpr Keyword kSwitchWords[] = {{"ON"}, {"OFF"}};

constexpr ParamType Words(std::span<const Keyword> words) { return {ValueKind::Keyword, 0, 0, words}; }

constexpr ParamType kMode = Words(kModeWords);
constexpr ParamType kRange = Words(kRangeWords);
constexpr ParamType kTrigger = Words(kTriggerWords);
constexpr ParamType kBase = Words(kBaseWords);
constexpr ParamType kWaveform = Words(kWaveformWords);
constexpr ParamType kTimeUnit = Words(kTimeUnitWords);
constexpr ParamType kCouple = Words(kCoupleWords);
constexpr ParamType kAnalog = Words(kAnalogWords);
constexpr ParamType kMeter = Words(kMeterWords);
constexpr ParamType kPowerUp = Words(kPowerUpWords);
constexpr ParamType kSync = Words(kSyncWords);
constexpr ParamType kSense = Words(kSenseWords);

// Numeric parameters: the instrument's ranges.
constexpr ParamType kFrequencyRange = Real(15, 1000);
constexpr ParamType kVoltageAcRange = Real(0, 310);
constexpr ParamType kVoltageDcRange = Real(-440, 440);
constexpr ParamType kDeltaAcRange = Real(-310, 310);
constexpr ParamType kDeltaDcRange = Real(-880, 880);
constexpr ParamType kDeltaFrequencyRange = Real(-985, 985);
constexpr ParamType kCurrentRange = Real(0, 200);
constexpr ParamType kCurrentLimitRange{ValueKind::Real, 0, 200, kSwitchWords};  // also switched ON/OFF
constexpr ParamType kPeakCurrentRange = Real(0, 1000);
constexpr ParamType kPowerRange = Real(0, 1e6);
constexpr ParamType kPowerFactorRange = Real(0, 1);
constexpr ParamType kCrestFactorRange = Real(0, 10);
constexpr ParamType kDelayRange = Real(0, 999.9);
constexpr ParamType kAngleRange = Real(0, 360);
constexpr ParamType kWholeAngleRange = Integer(0, 360);
constexpr ParamType kThdRange = Real(0, 45);
constexpr ParamType kDurationRange = Real(0, 99999);
constexpr ParamType kRampRange = Real(0, 9999);
constexpr ParamType kCountRange = Integer(0, 9999);
constexpr ParamType kCyclesRange = Integer(0, 99999);
constexpr ParamType kPercentRange = Integer(0, 100);
constexpr ParamType kAlarmRange = Integer(0, 9);
constexpr ParamType kSequenceNumberRange = Integer(1, 100);

struct SettingRow {
    const char* header;
    Scope scope;
    const ParamType& type;
    const char* defaultValue;
    Availability availability = kAll;
    Handler handler = StoredSetting;
};

constexpr auto G = Scope::Global;
constexpr auto M = Scope::ManualFile;
constexpr auto S = Scope::StepFile;
constexpr auto P = Scope::PulseFile;
constexpr auto L = Scope::ListFile;
constexpr auto Q = Scope::ListSequence;

const SettingRow kSettings[] = {
    {"OUTPut", G, kOnOff, "OFF", kAll, OutputState},
    {"OUTPut:FREQuency", G, kFrequencyRange, "60"},
    {"OUTPut:VOLTage:AC", G, kVoltageAcRange, "100"},
    {"OUTPut:VOLTage:DC", G, kVoltageDcRange, "100"},
    {"OUTPut:CURRent:HIGH", G, kCurrentRange, "5"},
    {"OUTPut:MODE", G, kMode, "MANUAL"},
    {"SYSTem:ALARm", G, kAlarmRange, "5"},
    {"SYSTem:ANALog", G, kAnalog, "OFF"},
    {"SYSTem:FREQuency:HIGH", G, kFrequencyRange, "1000"},
    {"SYSTem:FREQuency:LOW", G, kFrequencyRange, "15"},
    {"SYSTem:LOCK", G, kOnOff, "ON"},
    {"METer", G, kMeter, "FREQUENCY"},
    {"SYSTem:OCFold", G, kOnOff, "OFF"},
    {"SYSTem:POWUP", G, kPowerUp, "OFF"},
    {"SYSTem:PLC", G, kOnOff, "OFF"},
    {"SYSTem:SYNC", G, kSync, "OFF"},
    {"SYSTem:VOLTage:AC:HIGH", G, kVoltageAcRange, "310"},
    {"SYSTem:VOLTage:AC:LOW", G, kVoltageAcRange, "0"},
    {"SYSTem:VOLTage:DC:HIGH", G, kVoltageDcRange, "440"},
    {"SYSTem:VOLTage:DC:LOW", G, kVoltageDcRange, "-440"},
    {"SYSTem:SENSe", G, kSense, "INTERNAL"},
    {"RESult:SEQuence", G, kSequenceNumberRange, "1"},

    {"MANual:COUPle", M, kCouple, "AC"},
    {"MANual:CURRent:HIGH", M, kCurrentLimitRange, "5"},
    {"MANual:CURRent:DELay", M, kDelayRange, "0"},
    {"MANual:CURRent:LOW", M, kCurrentRange, "0", kAdvanced},
    {"MANual:FREQuency", M, kFrequencyRange, "60"},
    {"MANual:POWer:HIGH", M, kPowerRange, "0"},
    {"MANual:POWer:LOW", M, kPowerRange, "0", kAdvanced},
    {"MANual:RAMP:UP", M, kRampRange, "0"},
    {"MANual:RANGe", M, kRange, "AUTO"},
    {"MANual:ANGLe", M, kAngleRange, "0"},
    {"MANual:THD", M, kThdRange, "0", kAdvanced},
    {"MANual:VOLTage:AC", M, kVoltageAcRange, "0"},
    {"MANual:VOLTage:DC", M, kVoltageDcRange, "0"},
    // The driver's phase object writes the waveform on every model, so it is not Advanced-only.
    {"MANual:WAVEform", M, kWaveform, "SINE"},

    {"STEP:TRIGger", S, kTrigger, "AUTO", kAdvanced},
    {"STEP:COUNt", S, kCountRange, "0", kAdvanced},
    {"STEP:BASE", S, kBase, "TIME", kAdvanced},
    {"STEP:RANGe", S, kRange, "AUTO", kAdvanced},
    {"STEP:WAVEform", S, kWaveform, "SINE", kAdvanced},
    {"STEP:THD", S, kThdRange, "0", kAdvanced},
    {"STEP:ANGLe", S, kAngleRange, "0", kAdvanced},
    {"STEP:VOLTage:AC", S, kVoltageAcRange, "0", kAdvanced},
    {"STEP:VOLTage:DC", S, kVoltageDcRange, "0", kAdvanced},
    {"STEP:FREQuency", S, kFrequencyRange, "60", kAdvanced},
    {"STEP:TIME", S, kDurationRange, "0", kAdvanced},
    {"STEP:TIME:UNIT", S, kTimeUnit, "MS", kAdvanced},
    {"STEP:CYCLe", S, kCyclesRange, "0", kAdvanced},
    {"STEP:DELTa:VOLTage:AC", S, kDeltaAcRange, "0", kAdvanced},
    {"STEP:DELTa:VOLTage:DC", S, kDeltaDcRange, "0", kAdvanced},
    {"STEP:DELTa:FREQuency", S, kDeltaFrequencyRange, "0", kAdvanced},

    {"PULSe:COUNt", P, kCountRange, "0", kAdvanced},
    {"PULSe:TRIGger", P, kTrigger, "AUTO", kAdvanced},
    {"PULSe:RANGe", P, kRange, "AUTO", kAdvanced},
    {"PULSe:ANGLe", P, kAngleRange, "0", kAdvanced},
    {"PULSe:VOLTage:AC", P, kVoltageAcRange, "0", kAdvanced},
    {"PULSe:VOLTage:DC", P, kVoltageDcRange, "0", kAdvanced},
    {"PULSe:FREQuency", P, kFrequencyRange, "60", kAdvanced},
    {"PULSe:TRANsient:AC", P, kVoltageAcRange, "0", kAdvanced},
    {"PULSe:TRANsient:DC", P, kVoltageDcRange, "0", kAdvanced},
    {"PULSe:DUTY", P, kPercentRange, "50", kAdvanced},
    {"PULSe:PERiod", P, kDurationRange, "1", kAdvanced},

    {"LIST:PROGram:VOLTage:AC", L, kVoltageAcRange, "0"},
    {"LIST:PROGram:COUNt", L, kCountRange, "0"},
    {"LIST:PROGram:BASE", L, kBase, "TIME"},
    {"LIST:PROGram:RANGe", L, kRange, "AUTO"},
    {"LIST:PROGram:TRIGger", L, kTrigger, "AUTO"},
    {"LIST:PROGram:VOLTage:DC", L, kVoltageDcRange, "0", kAdvanced},
    {"LIST:PROGram:FREQuency", L, kFrequencyRange, "60"},
    {"LIST:PROGram:ANGLe:CONTinue", L, kOnOff, "OFF"},
    {"LIST:PROGram:FAILStop", L, kOnOff, "OFF"},

    {"LIST:SEQuence:WAVEform", Q, kWaveform, "SINE", kAdvanced},
    {"LIST:SEQuence:ANGLe", Q, kWholeAngleRange, "0"},
    {"LIST:SEQuence:VOLTage:AC:STARt", Q, kVoltageAcRange, "0", kAdvanced},
    {"LIST:SEQuence:VOLTage:DC:STARt", Q, kVoltageDcRange, "0", kAdvanced},
    {"LIST:SEQuence:VOLTage:AC:END", Q, kVoltageAcRange, "0", kAdvanced},
    {"LIST:SEQuence:VOLTage:DC:END", Q, kVoltageDcRange, "0", kAdvanced},
    {"LIST:SEQuence:THD", Q, kThdRange, "0", kAdvanced},
    {"LIST:SEQuence:FREQuency:END", Q, kFrequencyRange, "60", kAdvanced},
    {"LIST:SEQuence:FREQuency:STARt", Q, kFrequencyRange, "60", kAdvanced},
    {"LIST:SEQuence:TIME", Q, kDurationRange, "0"},
    {"LIST:SEQuence:TIME:UNIT", Q, kTimeUnit, "MS"},
    {"LIST:SEQuence:CYCLe", Q, kCyclesRange, "0"},
    {"LIST:SEQuence:CURRent:HIGH", Q, kCurrentRange, "0"},
    {"LIST:SEQuence:CURRent:DELay", Q, kDelayRange, "0"},
    {"LIST:SEQuence:CURRent:LOW", Q, kCurrentRange, "0"},
    {"LIST:SEQuence:POWer:HIGH", Q, kPowerRange, "0"},
    {"LIST:SEQuence:POWer:LOW", Q, kPowerRange, "0"},
    {"LIST:SEQuence:PFACtor:LOW", Q, kPowerFactorRange, "0"},
    {"LIST:SEQuence:PFACtor:HIGH", Q, kPowerFactorRange, "0"},
    {"LIST:SEQuence:APEAK:HIGH", Q, kPeakCurrentRange, "0"},
    {"LIST:SEQuence:APEAK:LOW", Q, kPeakCurrentRange, "0"},
    {"LIST:SEQuence:REACtive:HIGH", Q, kPowerRange, "0"},
    {"LIST:SEQuence:REACtive:LOW", Q, kPowerRange, "0"},
    {"LIST:SEQuence:APParent:HIGH", Q, kPowerRange, "0"},
    {"LIST:SEQuence:APParent:LOW", Q, kPowerRange, "0"},
    {"LIST:SEQuence:CRESt:LOW", Q, kCrestFactorRange, "0"},
    {"LIST:SEQuence:CRESt:HIGH", Q, kCrestFactorRange, "0"},
    {"LIST:SEQuence:FREQuency", Q, kFrequencyRange, "60", kStandard},
    {"LIST:SEQuence:VOLTage:AC", Q, kVoltageAcRange, "0", kStandard},
};

struct HandlerRow {
    const char* header;
    std::uint8_t forms;
    Handler handler;
    int arg = 0;
    std::uint8_t setParams = 0;
    std::uint8_t queryParams = 0;
};

const HandlerRow kHandlers[] = {
    {"*IDN", kQueryForm, Identify},
    {"*RST", kSetForm, ResetInstrument},
    {"*OPC", kBothForms, OperationComplete},
    {"*TST", kQueryForm, SelfTest},
    {"*CLS", kSetForm, ClearStatus},
    {"*ESR", kQueryForm, EventStatusRegister},
    {"*ESE", kBothForms, EventStatusEnable, 0, 1},
    {"*STB", kQueryForm, StatusByte},
    {"*SRE", kBothForms, ServiceRequestEnable, 0, 1},
    {"*WAI", kSetForm, Wait},
    {"SYSTem:ERRor", kQueryForm, NextError},
    {"SYSTem:ERRor:NEXT", kQueryForm, NextError},

    {"OUTPut:PROTection:CLEar", kSetForm, ClearProtection},
    {"OUTPut:PROTection:STATe", kQueryForm, ProtectionState},

    {"MEASure:ALL", kQueryForm, MeasureAll},
    {"MEASure:VOLTage", kQueryForm, MeasureQuantity, kVoltage},
    {"MEASure:STATe", kQueryForm, MeasureState},
    {"MEASure:VOLTage:AC", kQueryForm, MeasureQuantity, kVoltageAc},
    {"MEASure:VOLTage:DC", kQueryForm, MeasureQuantity, kVoltageDc},
    {"MEASure:FREQuency", kQueryForm, MeasureQuantity, kFrequency},
    {"MEASure:CURRent", kQueryForm, MeasureQuantity, kCurrent},
    {"MEASure:CURRent:AC", kQueryForm, MeasureQuantity, kCurrentAc},
    {"MEASure:CURRent:DC", kQueryForm, MeasureQuantity, kCurrentDc},
    {"MEASure:POWer", kQueryForm, MeasureQuantity, kPower},
    {"MEASure:PFACtor", kQueryForm, MeasureQuantity, kPowerFactor},
    {"MEASure:APEAK", kQueryForm, MeasureQuantity, kCurrentPeak},
    {"MEASure:REACtive", kQueryForm, MeasureQuantity, kReactivePower},
    {"MEASure:CRESt", kQueryForm, MeasureQuantity, kCrestFactor},
    {"MEASure:APParent", kQueryForm, MeasureQuantity, kApparentPower},
    {"MEASure:TIME", kQueryForm, MeasureDwellTime},
    {"MEASure:COUNt", kQueryForm, MeasureRunCount},
    {"MEASure:SEQuence", kQueryForm, MeasureSequence},

    {"RESult:ALL", kQueryForm, ResultAll},
    {"RESult:VOLTage:AC", kQueryForm, ResultQuantity, kVoltageAc},
    {"RESult:VOLTage:DC", kQueryForm, ResultQuantity, kVoltageDc},
    {"RESult:FREQuency", kQueryForm, ResultQuantity, kFrequency},
    {"RESult:CURRent:AC", kQueryForm, ResultQuantity, kCurrentAc},
    {"RESult:CURRent:DC", kQueryForm, ResultQuantity, kCurrentDc},
    {"RESult:POWer", kQueryForm, ResultQuantity, kPower},
    {"RESult:PFACtor", kQueryForm, ResultQuantity, kPowerFactor},
    {"RESult:APEAK", kQueryForm, ResultQuantity, kCurrentPeak},
    {"RESult:REACtive", kQueryForm, ResultQuantity, kReactivePower},
    {"RESult:CRESt", kQueryForm, ResultQuantity, kCrestFactor},
    {"RESult:APParent", kQueryForm, ResultQuantity, kApparentPower},
    {"RESult:TOTal", kQueryForm, ResultTotal},

    {"LIST:SEQuence:ADD", kSetForm, SequenceAdd},
    {"LIST:SEQuence:EDIT", kBothForms, SequenceEdit, 0, 1},
    {"LIST:SEQuence:COPY", kSetForm, SequenceCopy, 0, 1},
    {"LIST:SEQuence:DELete", kSetForm, SequenceDelete, 0, 1},
    {"LIST:SEQuence:TOTal", kQueryForm, SequenceTotal},

    {"SIM:DELay", kBothForms, SimDelay, 0, 1},
    {"SIM:DROP", kBothForms, SimDrop, 0, 1},
    {"SIM:GARBage", kBothForms, SimGarbage, 0, 1},
    {"SIM:OVERsize", kBothForms, SimOversize, 0, 1},
    {"SIM:MUTE", kBothForms, SimMute, 0, 1},
    {"SIM:LOAD:IMPedance", kBothForms, SimLoadImpedance, 0, 1},
    {"SIM:LOAD:PFACtor", kBothForms, SimLoadPowerFactor, 0, 1},
    {"SIM:BLOCK", kQueryForm, SimBlock, 0, 0, 1},
    {"SIM:BLOCK:BINary", kQueryForm, SimBlock, kBinaryBlock, 0, 1},
    {"SIM:ESR", kSetForm, SimEventStatus, 0, 1},
};

// Every mode's file store answers the same commands under the mode's prefix.
struct FileModeRow {
    const char* prefix;
    Mode mode;
    Availability availability;
};

const FileModeRow kFileModes[] = {
    {"MANual", Mode::Manual, kAll},
    {"STEP", Mode::Step, kAdvanced},
    {"PULSe", Mode::Pulse, kAdvanced},
    {"LIST", Mode::List, kAll},
};

const HandlerRow kFileCommands[] = {
    {"FILE:COPY", kSetForm, FileCopy, 0, 2},
    {"FILE:ADD", kSetForm, FileAdd, 0, 1},
    {"FILE:EDIT", kBothForms, FileEdit, 0, 1},
    {"FILE:LOAD", kBothForms, FileLoad, 0, 1},
    {"FILE:DELete", kSetForm, FileDelete, 0, 1},
    {"FILE:NAME", kQueryForm, FileNames},
    {"FILE:TOTal", kQueryForm, FileTotal},
    {"FILE:INDex", kBothForms, FileIndex, 0, 1},
};

CommandRow FromHandlerRow(const HandlerRow& h, std::string header, Availability availability, int arg) {
    CommandRow row;
    row.header = std::move(header);
    row.forms = h.forms;
    row.availability = availability;
    row.setParams = h.setParams;
    row.queryParams = h.queryParams;
    row.handler = h.handler;
    row.arg = arg;
    return row;
}

}  // namespace

const CommandTable& CommandTable::Instance() {
    static const CommandTable table;
    return table;
}

CommandTable::CommandTable() {
    for (const SettingRow& s : kSettings) {
        CommandRow row;
        row.header = s.header;
        row.availability = s.availability;
        row.scope = s.scope;
        row.type = &s.type;
        row.defaultValue = s.defaultValue;
        row.handler = s.handler;
        rows_.push_back(std::move(row));
    }
    for (const HandlerRow& h : kHandlers) rows_.push_back(FromHandlerRow(h, h.header, kAll, h.arg));
    for (const FileModeRow& mode : kFileModes)
        for (const HandlerRow& h : kFileCommands)
            rows_.push_back(FromHandlerRow(h, std::string(mode.prefix) + ":" + h.header, mode.availability,
                                           static_cast<int>(mode.mode)));

    nodes_.emplace_back();  // the root
    for (const CommandRow& row : rows_) Insert(row);
}

void CommandTable::Insert(const CommandRow& row) {
    std::uint32_t node = 0;
    for (std::string_view mnemonic : Split(row.header, ':')) {
        const std::string spellings[] = {ShortForm(mnemonic), ToUpper(mnemonic)};
        std::uint32_t child = 0;
        for (const std::string& spelling : spellings) {
            auto it = nodes_[node].children.find(spelling);
            if (it == nodes_[node].children.end()) continue;
            if (nodes_[it->second].mnemonic != mnemonic)
                throw std::logic_error("command table: " + std::string(mnemonic) + " collides in " + row.header);
            child = it->second;
        }
        if (!child) {
            child = static_cast<std::uint32_t>(nodes_.size());
            nodes_.push_back(Node{std::string(mnemonic), {}, nullptr});
            for (const std::string& spelling : spellings) nodes_[node].children.emplace(spelling, child);
        }
        node = child;
    }
    if (nodes_[node].row) throw std::logic_error("command table: " + row.header + " declared twice");
    nodes_[node].row = &row;
}

const CommandRow* CommandTable::Find(std::span<const std::string> path) const {
    std::uint32_t node = 0;
    for (const std::string& word : path) {
        auto it = nodes_[node].children.find(ToUpper(word));
        if (it == nodes_[node].children.end()) return nullptr;
        node = it->second;
    }
    return nodes_[node].row;
}

const CommandRow* CommandTable::Find(std::string_view header) const {
    std::vector<std::string> path;
    for (std::string_view node : Split(header, ':')) path.emplace_back(node);
    return Find(path);
}

}  // namespace zpv::sim
