#include "completion.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "attribute_catalog.h"

namespace zpv::cli {

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

void Offer(const std::string& candidate, const std::string& typed) {
    if (StartsWithNoCase(candidate, typed)) std::printf("%s\n", candidate.c_str());
}

// The values an attribute takes by name.
std::vector<std::string> ValuesOf(const Attribute& a) {
    std::vector<std::string> values;
    for (const EnumValue& v : a.values) values.push_back(v.name);
    if (a.kind == ValueKind::Boolean) values = {"true", "false"};
    return values;
}

}  // namespace

int Complete(const CLI::App& app, const std::vector<std::string>& words) {
    const std::string typed = words.empty() ? "" : words.back();
    // The deepest subcommand named so far.
    const CLI::App* command = &app;
    for (std::size_t i = 0; i + 1 < words.size(); ++i)
        for (const CLI::App* sub : command->get_subcommands({}))
            if (sub->get_name() == words[i] && !sub->get_group().empty()) {
                command = sub;
                break;
            }
    if (!typed.empty() && typed[0] == '-') {
        for (const CLI::Option* option : command->get_options())
            for (const std::string& name : option->get_lnames()) Offer("--" + name, typed);
        return 0;
    }
    const std::string name = command->get_name();
    if (name == "get" || name == "set") {
        const bool assigning = name == "set";
        if (const auto equals = typed.find('='); assigning && equals != std::string::npos) {
            const auto resolved = Resolve(typed.substr(0, equals));
            if (resolved)
                for (const std::string& value : ValuesOf(*resolved->attribute))
                    Offer(typed.substr(0, equals + 1) + value, typed);
            return 0;
        }
        for (const Attribute& a : Attributes()) {
            if (assigning && !a.writable) continue;
            std::string shown = a.name;
            if (a.perPhase) {  // the phase typed so far ("OutputPhase2."), else the first
                std::string phase = a.item + "1";
                if (StartsWithNoCase(typed, a.item) || typed.find('.') != std::string::npos) {
                    const auto at = typed.find(a.item);
                    std::size_t end = at == std::string::npos ? at : at + a.item.size();
                    while (end != std::string::npos && end < typed.size() && std::isdigit(static_cast<unsigned char>(typed[end]))) ++end;
                    if (at != std::string::npos && end > at + a.item.size()) phase = typed.substr(at, end - at);
                }
                shown = DisplayName({&a, phase});
            }
            Offer(shown + (assigning ? "=" : ""), typed);
        }
        return 0;
    }
    for (const CLI::App* sub : command->get_subcommands({}))
        if (!sub->get_group().empty()) Offer(sub->get_name(), typed);
    return 0;
}

}  // namespace zpv::cli
