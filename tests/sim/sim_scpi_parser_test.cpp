#include "zpv4870sim/instrument.h"
#include "zpv4870sim/scpi_parser.h"

#include <gtest/gtest.h>

#include <chrono>

namespace zpv::sim {
namespace {

using Path = std::vector<std::string>;

std::vector<Path> Paths(std::string_view message) {
    std::vector<Path> paths;
    for (const ProgramUnit& unit : ScpiParser::Parse(message)) paths.push_back(unit.path);
    return paths;
}

TEST(SimScpiParser, LaterUnitsContinueThePathOfTheOneBefore) {
    EXPECT_EQ(Paths("MAN:CURR:HIGH 5;DEL 0.5"), (std::vector<Path>{{"MAN", "CURR", "HIGH"}, {"MAN", "CURR", "DEL"}}));
    EXPECT_EQ(Paths("MAN:COUP ACDC;VOLT:DC 10"), (std::vector<Path>{{"MAN", "COUP"}, {"MAN", "VOLT", "DC"}}));
    // A leading colon starts again from the root; common commands neither use nor change the path.
    EXPECT_EQ(Paths("OUTP:FREQ?;:SYST:ERR?;ALAR 3"),
              (std::vector<Path>{{"OUTP", "FREQ"}, {"SYST", "ERR"}, {"SYST", "ALAR"}}));
    EXPECT_EQ(Paths("MAN:CURR:HIGH 5;*OPC;DEL 1"),
              (std::vector<Path>{{"MAN", "CURR", "HIGH"}, {"*OPC"}, {"MAN", "CURR", "DEL"}}));
    // Each message starts at the root, and empty units are skipped.
    EXPECT_EQ(Paths(";;OUTP ON;"), (std::vector<Path>{{"OUTP"}}));
}

TEST(SimScpiParser, SeparatesQueriesAndParameters) {
    const auto units = ScpiParser::Parse("*RST;*OPC?;SIM:BLOCK? 10;LIST:FILE:COPY \"A;B\",  'it''s, ok'  ");
    ASSERT_EQ(units.size(), 4u);
    EXPECT_FALSE(units[0].query);
    EXPECT_TRUE(units[1].query);
    EXPECT_TRUE(units[2].query);
    ASSERT_EQ(units[2].params.size(), 1u);
    EXPECT_EQ(units[2].params[0].text, "10");
    EXPECT_FALSE(units[2].params[0].quoted);
    // Separators inside quotes belong to the string; a doubled quote stands for one.
    ASSERT_EQ(units[3].params.size(), 2u);
    EXPECT_EQ(units[3].params[0].text, "A;B");
    EXPECT_EQ(units[3].params[1].text, "it's, ok");
    EXPECT_TRUE(units[3].params[1].quoted);
    for (const ProgramUnit& unit : units) EXPECT_EQ(unit.error, 0);
}

TEST(SimScpiParser, FlagsMalformedUnits) {
    EXPECT_NE(ScpiParser::Parse("OUTP::FREQ 5")[0].error, 0);
    EXPECT_NE(ScpiParser::Parse("OUTP:FREQ 1,,2")[0].error, 0);
    EXPECT_NE(ScpiParser::Parse("LIST:FILE:ADD \"open")[0].error, 0);
    EXPECT_NE(ScpiParser::Parse("LIST:FILE:ADD \"a\"b")[0].error, 0);
}

}  // namespace
// Relative headers that resolve to nothing do not make the parse quadratic: a 240 kB message of
// them is parsed, refused and forgotten at once, and the next message is answered.
TEST(SimScpiParser, UnresolvableRelativeHeadersCostLinearTime) {
    std::string message;
    while (message.size() < 240'000) message += "SYST:ALAR 1;";
    Instrument instrument;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(instrument.Execute(message), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(instrument.Execute("SYST:ERR?").value_or(""), "-113,\"Undefined header\"");
    EXPECT_EQ(instrument.Execute("*IDN?").value_or("").rfind("Kaltrix,", 0), 0u);
    EXPECT_LE(ScpiParser::Parse(message).size(), 9u) << "parsing stops at the first unit that names nothing";
}

}  // namespace zpv::sim
