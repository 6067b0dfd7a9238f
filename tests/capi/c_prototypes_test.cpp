// The public header declares every function wrapper exactly as its row defines it. On a mismatch
// the test writes the whole block as the rows give it (zpv4870_wrappers.expected.h in the working
// directory), ready to replace the header's.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "capi/c_parameters.h"
#include "capi/inherent_function_rows.h"
#include "capi/wrapper_rows.h"

namespace {

struct Prototype {
    const char* interfaceName;
    std::string name;
    std::string parameters;  // "ViSession vi, ViConstString channelName, ViReal64 VoltageLevel"
};

#define ZPV_C_PROTOTYPE(Name, I, Member, S, ...) \
    Prototype{#I, "ZPV4870_" #Name, "ViSession vi" ZPV_C_CHANNEL_TEXT_##S ZPV_C_EACH(ZPV_C_TEXT, __VA_ARGS__)},

const std::vector<Prototype> kRows = {ZPV_C_WRAPPERS(ZPV_C_PROTOTYPE)};

std::string Collapsed(std::string text) {
    text = std::regex_replace(text, std::regex(R"(\s+)"), " ");
    text = std::regex_replace(text, std::regex(R"(\s*([(),\[\]*])\s*)"), "$1");
    return std::regex_replace(text, std::regex(R"(,)"), ", ");
}

std::map<std::string, std::string> HeaderPrototypes() {
    std::ifstream in(ZPV4870_SOURCE_DIR "/include/zpv4870.h");
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    std::map<std::string, std::string> found;
    const std::regex prototype(R"(ZPV4870_EXPORT\s+ViStatus\s+(ZPV4870_\w+)\(([^;]*)\);)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), prototype); it != std::sregex_iterator(); ++it)
        found[(*it)[1].str()] = Collapsed((*it)[2].str());
    return found;
}

// The block as the header should hold it, wrapped at 120 columns.
void WriteExpectedBlock() {
    std::ofstream out("zpv4870_wrappers.expected.h");
    const char* group = "";
    for (const Prototype& row : kRows) {
        if (std::string(group) != row.interfaceName) {
            group = row.interfaceName;
            out << "\n/* " << group << " */\n";
        }
        std::string line = "ZPV4870_EXPORT ViStatus " + row.name + "(";
        const std::size_t indent = line.size();
        std::stringstream parameters(row.parameters);
        std::string parameter;
        bool first = true;
        while (std::getline(parameters, parameter, ',')) {
            if (!first) parameter = parameter.substr(1);
            std::string piece = (first ? "" : ", ") + parameter;
            const std::size_t lastLine = line.rfind('\n') == std::string::npos ? 0 : line.rfind('\n') + 1;
            if (!first && line.size() - lastLine + piece.size() + 2 > 120) {
                line += ",\n" + std::string(indent, ' ') + parameter;
            } else {
                line += piece;
            }
            first = false;
        }
        out << line << ");\n";
    }
}

TEST(CPrototypes, TheHeaderDeclaresEveryOtherFunctionAsItsRowDefinesIt) {
    struct Row {
        std::string name, parameters;
    };
#define ZPV_INHERENT_ROW(Name, Parameters) Row{"ZPV4870_" #Name, Parameters},
    const std::vector<Row> rows = {ZPV_C_INHERENT_FUNCTIONS(ZPV_INHERENT_ROW)};
    const auto header = HeaderPrototypes();
    EXPECT_EQ(rows.size() + kRows.size(), header.size()) << "every function of the header has a row";
    for (const Row& row : rows) {
        const auto it = header.find(row.name);
        ASSERT_NE(it, header.end()) << row.name;
        EXPECT_EQ(it->second, Collapsed(row.parameters)) << row.name;
    }
}

TEST(CPrototypes, TheHeaderDeclaresEveryWrapperAsItsRowDefinesIt) {
    const auto header = HeaderPrototypes();
    int mismatches = 0;
    for (const Prototype& row : kRows) {
        auto it = header.find(row.name);
        if (it == header.end()) {
            ADD_FAILURE() << row.name << " is not declared in zpv4870.h";
            ++mismatches;
        } else if (it->second != Collapsed(row.parameters)) {
            ADD_FAILURE() << row.name << ": the header has (" << it->second << "), the row gives ("
                          << Collapsed(row.parameters) << ")";
            ++mismatches;
        }
    }
    if (mismatches) WriteExpectedBlock();
}

}  // namespace
