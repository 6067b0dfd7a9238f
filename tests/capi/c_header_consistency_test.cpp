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
#include "capi/enum_value_rows.h"
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
    ASSERT_GT(described.size(), 100u) << "the header's attribute block was not found";
    ASSERT_EQ(described.size(), AllAttributes().size()) << "every attribute of the header is a row, and no more";

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
ZPV_C_ENUM_VALUES(ZPV_SAME)

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
