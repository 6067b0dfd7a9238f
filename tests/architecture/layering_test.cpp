// Keeps the layer picture true: every quoted #include under src/ points to the same folder, to a
// folder on a lower line of src/layers.txt, or to a public header.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kRoot = ZPV4870_SOURCE_DIR;

struct Layers {
    std::map<std::string, int> rankOf;  // folder under src/ -> line number in layers.txt

    // The layer folder a path under src/ belongs to: the longest folder that prefixes it.
    std::string FolderOf(const std::string& path) const {
        std::string best;
        for (const auto& [folder, rank] : rankOf)
            if (path.rfind(folder + "/", 0) == 0 && folder.size() > best.size()) best = folder;
        return best;
    }
};

Layers ReadLayers() {
    Layers layers;
    std::ifstream in(kRoot / "src/layers.txt");
    std::string line;
    int rank = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        for (std::string folder; words >> folder;) layers.rankOf[folder] = rank;
        ++rank;
    }
    return layers;
}

std::vector<std::string> QuotedIncludes(const fs::path& file) {
    static const std::regex kInclude(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<std::string> result;
    std::ifstream in(file);
    std::smatch match;
    for (std::string line; std::getline(in, line);)
        if (std::regex_search(line, match, kInclude)) result.push_back(match[1]);
    return result;
}

TEST(Architecture, LayersOnlyIncludeDownwards) {
    const Layers layers = ReadLayers();
    ASSERT_GE(layers.rankOf.size(), 8u) << "src/layers.txt is missing or short";

    std::vector<std::string> violations;
    int filesRead = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / "src")) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp" && ext != ".inc")) continue;
        ++filesRead;
        const std::string self = fs::relative(entry.path(), kRoot / "src").generic_string();
        const std::string selfFolder = layers.FolderOf(self);
        if (selfFolder.empty()) {
            violations.push_back(self + " lies in no layer of src/layers.txt");
            continue;
        }
        for (const std::string& included : QuotedIncludes(entry.path())) {
            const std::string folder = layers.FolderOf(included);
            if (folder.empty()) {
                if (!fs::exists(kRoot / "include" / included))
                    violations.push_back(self + " includes \"" + included + "\", neither a layer nor a public header");
                continue;
            }
            const int from = layers.rankOf.at(selfFolder), to = layers.rankOf.at(folder);
            if (folder != selfFolder && to >= from)
                violations.push_back(self + " (" + selfFolder + ") includes \"" + included + "\" of layer " +
                                     folder + (to == from ? ", a sibling" : ", a higher one"));
        }
    }
    EXPECT_GT(filesRead, 100);
    for (const std::string& v : violations) ADD_FAILURE() << v;
}

// A wrong include is reported: the rule is checked, not only the tree as it stands.
TEST(Architecture, FolderOfPicksTheDeepestLayer) {
    Layers layers;
    layers.rankOf = {{"platform/com", 0}, {"platform/visa", 1}, {"io", 2}};
    EXPECT_EQ(layers.FolderOf("platform/visa/status.h"), "platform/visa");
    EXPECT_EQ(layers.FolderOf("io/io_session.h"), "io");
    EXPECT_EQ(layers.FolderOf("iox/thing.h"), "");
    EXPECT_EQ(layers.FolderOf("platform/other.h"), "");
}

}  // namespace
