// The faces around the library take what they show from the catalog: no interface name, status
// number, unit, place of the driver's tree or position of a reading is written by hand in the
// command-line tool or the Python package. Comments may name things; code may not.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kRoot = ZPV4870_SOURCE_DIR;

// The file's code: comments cut from each line ("//" in C++, "#" in Python).
std::vector<std::string> CodeLines(const fs::path& path) {
    std::ifstream in(path);
    const bool python = path.extension() == ".py";
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        const auto comment = line.find(python ? "#" : "//");
        const auto quote = line.find('"');
        if (comment != std::string::npos && (quote == std::string::npos || comment < quote)) line.resize(comment);
        lines.push_back(line);
    }
    return lines;
}

// Every place of the catalog with a dot, as the faces would spell it in a string.
std::set<std::string> Places() {
    std::ifstream in(kRoot / "share/zpv4870/catalog.json");
    std::stringstream text;
    text << in.rdbuf();
    std::set<std::string> places;
    const std::string all = text.str();
    const std::regex place(R"re("place": "([A-Za-z\[\]]+\.[A-Za-z.\[\]]+)")re");
    for (auto it = std::sregex_iterator(all.begin(), all.end(), place); it != std::sregex_iterator(); ++it)
        places.insert((*it)[1].str());
    return places;
}

TEST(FacesReadTheCatalog, NoFactOfTheRowsIsWrittenByHandInTheToolOrThePythonPackage) {
    const std::vector<std::pair<std::regex, std::string>> rules = {
        {std::regex(R"(\bI(ZPV4870|IviACPwr|IviDriver|IviComponent)[A-Z]\w*)"), "an interface name"},
        {std::regex(R"(\b0x(8004|BFFA|3FFA|0004)[0-9A-Fa-f]{4}\b|-0x[0-9A-Fa-f]{7,8}\b)"), "a status number"},
        {std::regex(R"re("(V|A|Hz|W|VA|var|deg|ohm)")re"), "a unit"},
        {std::regex(R"(\bfields\[\d+\])"), "a reading by its position"},
        {std::regex(R"(GROUP_PATHS|kPlaces|UnitOf)"), "a place or unit table"},
    };
    const std::set<std::string> places = Places();
    ASSERT_GT(places.size(), 10u);
    int files = 0;
    for (const char* folder : {"tools/zpv4870", "python/zpv4870"}) {
        for (const auto& entry : fs::recursive_directory_iterator(kRoot / folder)) {
            const auto extension = entry.path().extension();
            if (extension != ".cpp" && extension != ".h" && extension != ".py" && extension != ".in") continue;
            ++files;
            int number = 0;
            for (const std::string& line : CodeLines(entry.path())) {
                ++number;
                const std::string where = entry.path().lexically_relative(kRoot).string() + ":" + std::to_string(number);
                for (const auto& [rule, what] : rules)
                    EXPECT_FALSE(std::regex_search(line, rule)) << where << " writes " << what << ": " << line;
                for (const std::string& place : places)
                    EXPECT_EQ(line.find("\"" + place + "\""), std::string::npos) << where << " writes the place " << place;
            }
        }
    }
    EXPECT_GT(files, 20);
}

}  // namespace
