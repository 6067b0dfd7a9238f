// Structural checks over every row of the command set at once.
#include "members/member_catalog.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "keywords/enum_command_maps.h"

namespace zpv::members {
namespace {

// Every %{Name}s of a row resolves to keywords in the row's own call context ("Interface.Member"),
// so no member reaches the instrument with an enum the keyword maps do not know there.
TEST(MemberCatalog, EveryEnumSpecifierResolvesInItsCallContext) {
    const std::regex enumSpecifier(R"(%\{\s*(\w+)\s*\}s)");
    int specifiers = 0;
    for (const MemberEntry& member : AllMembers()) {
        const std::string context = std::string(member.interfaceName) + "." + member.name;
        for (const char* format : {member.command, member.response, member.putCommand}) {
            if (!format) continue;
            const std::string text = format;
            for (std::sregex_iterator it(text.begin(), text.end(), enumSpecifier), end; it != end; ++it) {
                ++specifiers;
                EXPECT_NE(keywords::CEnumCommandMaps::Instance().Resolve((*it)[1].str(), context), nullptr)
                    << context << ": " << text;
            }
        }
    }
    EXPECT_GT(specifiers, 40);
    EXPECT_EQ(keywords::CEnumCommandMaps::Instance().Resolve("ZPV4870NoSuchEnum", "IZPV4870ManualMode.Range"), nullptr);
}

// One row per member: no interface declares a name twice, and every instrument member has its
// command.
TEST(MemberCatalog, NamesAreUniquePerInterfaceAndInstrumentMembersHaveCommands) {
    std::set<std::string> seen;
    for (const MemberEntry& member : AllMembers()) {
        EXPECT_TRUE(seen.insert(std::string(member.interfaceName) + "." + member.name).second)
            << member.interfaceName << "." << member.name;
        const bool talks = member.kind == MemberKind::Property || member.kind == MemberKind::Getter ||
                           member.kind == MemberKind::Query || member.kind == MemberKind::Action;
        if (talks) {
            EXPECT_NE(member.command, nullptr) << member.interfaceName << "." << member.name;
        }
        if (member.kind == MemberKind::Property) {
            EXPECT_NE(member.putCommand, nullptr) << member.name;
        }
    }
    EXPECT_GT(seen.size(), 250u);
}

// The members the instrument's manual gives to one family only, and no others, are refused on the
// other family's models; the step and pulse files are Advanced-only as a whole.
TEST(MemberCatalog, ModelRestrictionsAreTheManuals) {
    struct Restriction {
        const char* interfaceName;
        const char* member;
        const char* refusedFamily;
    };
    static const Restriction kManual[] = {
        {"IZPV4870ListModeProgram", "VoltageDC", "Standard"},
        {"IZPV4870ListModeSequence", "Frequency", "Advanced"},
        {"IZPV4870ListModeSequence", "FrequencyEnd", "Standard"},
        {"IZPV4870ListModeSequence", "FrequencyStart", "Standard"},
        {"IZPV4870ListModeSequence", "TotalHarmonicDistortion", "Standard"},
        {"IZPV4870ListModeSequence", "VoltageAc", "Advanced"},
        {"IZPV4870ListModeSequence", "VoltageAcEnd", "Standard"},
        {"IZPV4870ListModeSequence", "VoltageAcStart", "Standard"},
        {"IZPV4870ListModeSequence", "VoltageDcEnd", "Standard"},
        {"IZPV4870ListModeSequence", "VoltageDcStart", "Standard"},
        {"IZPV4870ListModeSequence", "Waveform", "Standard"},
        {"IZPV4870ManualMode", "CurrentLowLimit", "Standard"},
        {"IZPV4870ManualMode", "PowerLowLimit", "Standard"},
        {"IZPV4870ManualMode", "TotalHarmonicDistortion", "Standard"},
        {"IZPV4870ManualMode", "Waveform", "Standard"},
        {"IZPV4870PulseMode", "Count", "Standard"},
        {"IZPV4870PulseMode", "Duty", "Standard"},
        {"IZPV4870PulseMode", "File", "Standard"},
        {"IZPV4870PulseMode", "Frequency", "Standard"},
        {"IZPV4870PulseMode", "Period", "Standard"},
        {"IZPV4870PulseMode", "Range", "Standard"},
        {"IZPV4870PulseMode", "StartAngle", "Standard"},
        {"IZPV4870PulseMode", "TransientVoltageAC", "Standard"},
        {"IZPV4870PulseMode", "TransientVoltageDC", "Standard"},
        {"IZPV4870PulseMode", "Trigger", "Standard"},
        {"IZPV4870PulseMode", "VoltageAC", "Standard"},
        {"IZPV4870PulseMode", "VoltageDC", "Standard"},
        {"IZPV4870StepMode", "Base", "Standard"},
        {"IZPV4870StepMode", "Count", "Standard"},
        {"IZPV4870StepMode", "Cycle", "Standard"},
        {"IZPV4870StepMode", "DeltaFrequency", "Standard"},
        {"IZPV4870StepMode", "DeltaVoltageAC", "Standard"},
        {"IZPV4870StepMode", "DeltaVoltageDC", "Standard"},
        {"IZPV4870StepMode", "Frequency", "Standard"},
        {"IZPV4870StepMode", "Range", "Standard"},
        {"IZPV4870StepMode", "StartAngle", "Standard"},
        {"IZPV4870StepMode", "Time", "Standard"},
        {"IZPV4870StepMode", "TimeUnit", "Standard"},
        {"IZPV4870StepMode", "TotalHarmonicDistortion", "Standard"},
        {"IZPV4870StepMode", "Trigger", "Standard"},
        {"IZPV4870StepMode", "VoltageAC", "Standard"},
        {"IZPV4870StepMode", "VoltageDC", "Standard"},
        {"IZPV4870StepMode", "Waveform", "Standard"},
    };
    std::set<std::string> expected;
    for (const Restriction& r : kManual) expected.insert(std::string(r.interfaceName) + "." + r.member + ":" + r.refusedFamily);
    std::set<std::string> actual;
    for (const MemberEntry& member : AllMembers()) {
        const std::string interfaceName = member.interfaceName;
        if (interfaceName == "IZPV4870StepModeFile" || interfaceName == "IZPV4870PulseModeFile") {
            EXPECT_STREQ(member.refusedFamily ? member.refusedFamily : "", "Standard") << interfaceName << "." << member.name;
            continue;
        }
        if (!member.refusedFamily) continue;
        actual.insert(interfaceName + "." + member.name + ":" + member.refusedFamily);
    }
    EXPECT_EQ(actual, expected);
}

}  // namespace
}  // namespace zpv::members
