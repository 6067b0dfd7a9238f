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

}  // namespace
}  // namespace zpv::members
