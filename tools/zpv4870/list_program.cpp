#include "list_program.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

#include "attribute_values.h"
#include "commands.h"
#include "suggestion.h"

namespace zpv::cli {

namespace {

std::string Key(std::string_view name) {
    std::string key;
    for (unsigned char c : name)
        if (c != '_') key += static_cast<char>(std::tolower(c));
    return key;
}

// The writable attributes of one group ("ListMode.Sequence."), by key.
std::map<std::string, const Attribute*> SettingsOf(const std::string& group) {
    std::map<std::string, const Attribute*> settings;
    for (const Attribute& a : Attributes())
        if (a.writable && a.name.rfind(group, 0) == 0) settings.emplace(Key(a.name.substr(group.size())), &a);
    return settings;
}

[[noreturn]] void Fail(const std::string& path, const YAML::Node& node, const std::string& what) {
    throw UsageError(path + ":" + std::to_string(node.Mark().line + 1) + ": " + what);
}

std::vector<Setting> Settings(const std::string& path, const YAML::Node& map, const std::string& group,
                              const std::string& what) {
    if (!map.IsMap()) Fail(path, map, what + " must be a map of settings");
    const auto known = SettingsOf(group);
    std::vector<Setting> settings;
    for (const auto& entry : map) {
        const std::string name = entry.first.as<std::string>();
        const auto it = known.find(Key(name));
        if (it == known.end()) {
            // Names as the README writes them: snake_case.
            std::vector<std::string> snakeNames;
            std::string names;
            for (const auto& [key, a] : known) {
                snakeNames.push_back(SnakeCase(a->name.substr(group.size())));
                names += (names.empty() ? "" : ", ") + snakeNames.back();
            }
            const std::string hint = DidYouMean(name, snakeNames);
            Fail(path, entry.first, "unknown " + what + " setting '" + name + "'" +
                                        (hint.empty() ? " (known: " + names + ")" : hint));
        }
        if (!entry.second.IsScalar()) Fail(path, entry.second, "the value of '" + name + "' must be a single value");
        const std::string value = entry.second.as<std::string>();
        try {
            CheckValue(*it->second, value);
        } catch (const UsageError& e) {
            Fail(path, entry.second, e.what());
        }
        // A run time or cycle count below zero is no run at all.
        const std::string& attribute = it->second->name;
        if ((attribute.ends_with(".Time") || attribute.ends_with(".Cycle")) && std::strtod(value.c_str(), nullptr) < 0)
            Fail(path, entry.second, "'" + name + "' is " + value + "; a sequence cannot run for less than nothing");
        settings.push_back({it->second, value});
    }
    return settings;
}

// Seconds a sequence runs: its time in its time unit, or its cycles at its start frequency.
double SecondsOf(const std::vector<Setting>& sequence, bool cycles) {
    double time = 0, frequency = 0, unit = 1;
    for (const Setting& s : sequence) {
        const std::string& n = s.attribute->name;
        if (n == "ListMode.Sequence.Time") time = std::strtod(s.value.c_str(), nullptr);
        if (n == "ListMode.Sequence.Cycle" && cycles) time = std::strtod(s.value.c_str(), nullptr);
        if (n == "ListMode.Sequence.FrequencyStart") frequency = std::strtod(s.value.c_str(), nullptr);
        if (n == "ListMode.Sequence.TimeUnit") {
            std::string v = s.value;
            std::transform(v.begin(), v.end(), v.begin(), [](unsigned char c) { return std::toupper(c); });
            unit = v == "MILLISECOND" || v == "0" ? 0.001 : v == "MINUTE" || v == "2" ? 60 : v == "HOUR" || v == "3" ? 3600 : 1;
        }
    }
    if (cycles) return frequency > 0 ? time / frequency : 0;
    return time * unit;
}

ListProgram ReadListProgram(const std::string& text, const std::string& path);

}  // namespace

ListProgram LoadListProgram(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw UsageError(path + ": cannot be read");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParseListProgram(text, path);
}

ListProgram ParseListProgram(const std::string& text, const std::string& path) {
    try {
        return ReadListProgram(text, path);
    } catch (const YAML::Exception& e) {
        // What the YAML reader refuses that the checks above do not name (a key that is no text,
        // nesting too deep, ...): still a mistake of the file, with its place.
        throw UsageError(path + ":" + std::to_string(e.mark.line + 1) + ": " + e.msg);
    }
}

namespace {

ListProgram ReadListProgram(const std::string& text, const std::string& path) {
    const YAML::Node root = YAML::Load(text);
    if (!root.IsMap()) throw UsageError(path + ":1: expected 'program' and 'sequences'");
    ListProgram program;
    for (const auto& entry : root) {
        const std::string key = entry.first.as<std::string>();
        if (key != "program" && key != "sequences")
            Fail(path, entry.first, "unknown section '" + key + "' (expected 'program' and 'sequences')");
    }
    if (root["program"]) program.program = Settings(path, root["program"], "ListMode.Program.", "program");
    const YAML::Node sequences = root["sequences"];
    if (!sequences) throw UsageError(path + ": no 'sequences'");
    if (!sequences.IsSequence() || sequences.size() == 0) Fail(path, sequences, "'sequences' must be a list of sequences");
    if (sequences.size() > kMaxListSequences)
        Fail(path, sequences[kMaxListSequences], "the file has " + std::to_string(sequences.size()) +
                                                     " sequences; a list program of the instrument holds at most " +
                                                     std::to_string(kMaxListSequences));
    bool cycles = false;
    for (const Setting& s : program.program)
        if (s.attribute->name == "ListMode.Program.Base") cycles = Key(s.value) == "cycle" || s.value == "1";
    for (const auto& sequence : sequences) {
        program.sequences.push_back(Settings(path, sequence, "ListMode.Sequence.", "sequence"));
        program.seconds.push_back(SecondsOf(program.sequences.back(), cycles));
    }
    return program;
}

}  // namespace

}  // namespace zpv::cli
