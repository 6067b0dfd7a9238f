// get, set and attributes: attributes by name, values as people write them.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ranges>

#include "attribute_catalog.h"
#include "attribute_values.h"
#include "commands.h"
#include "output.h"
#include "suggestion.h"

namespace zpv::cli {

namespace {

Resolved Find(const std::string& name) {
    auto resolved = Resolve(name);
    if (!resolved) {
        // Per-phase names as typed: with the phase the user named, else the first.
        std::string phase = "OutputPhase1";
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if (const auto at = lower.find("outputphase"); at != std::string::npos) {
            const auto dot = name.find('.', at);
            if (dot != std::string::npos && dot > at + 11) phase = name.substr(at, dot - at);
        }
        std::vector<std::string> names;
        for (std::string known : std::views::transform(Attributes(), &Attribute::name)) {
            if (const auto at = known.find("OutputPhase."); at != std::string::npos) known.replace(at, 11, phase);
            names.push_back(known);
        }
        const std::string hint = DidYouMean(name, names);
        throw UsageError("unknown attribute '" + name + "'" + (hint.empty() ? " (zpv4870 attributes lists them)" : hint));
    }
    return *resolved;
}

}  // namespace

int Get(const Common& common, const std::vector<std::string>& names) {
    std::vector<Resolved> wanted;
    for (const std::string& name : names) wanted.push_back(Find(name));
    CSession session(common.session);
    std::vector<std::pair<std::string, std::string>> json;
    for (const Resolved& r : wanted) {
        const AttributeValue value = ReadAttribute(session, r);
        if (common.json) {
            json.emplace_back(DisplayName(r), value.json);
        } else {
            std::printf("%s = %s%s\n", DisplayName(r).c_str(), value.text.c_str(),
                        r.attribute->unit.empty() ? "" : (" " + r.attribute->unit).c_str());
        }
    }
    if (common.json) std::printf("%s\n", JsonObject(json).c_str());
    return 0;
}

int Set(const Common& common, const std::vector<std::string>& assignments) {
    // Everything is checked before the first value is sent.
    std::vector<std::pair<Resolved, std::string>> writes;
    for (const std::string& assignment : assignments) {
        const auto equals = assignment.find('=');
        if (equals == std::string::npos) throw UsageError("'" + assignment + "' is not NAME=VALUE");
        Resolved r = Find(assignment.substr(0, equals));
        if (!r.attribute->writable) throw UsageError(DisplayName(r) + " is read-only");
        const std::string value = assignment.substr(equals + 1);
        CheckValue(*r.attribute, value);
        writes.emplace_back(r, value);
    }
    CSession session(common.session);
    std::vector<std::pair<std::string, std::string>> json;
    for (const auto& [r, value] : writes) {
        WriteAttribute(session, r, value);
        const AttributeValue now = ReadAttribute(session, r);
        if (common.json) json.emplace_back(DisplayName(r), now.json);
        else std::printf("%s = %s\n", DisplayName(r).c_str(), now.text.c_str());
    }
    if (common.json) std::printf("%s\n", JsonObject(json).c_str());
    return 0;
}

int ListAttributes(const Common& common, const std::string& filter) {
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    };
    std::vector<std::vector<std::string>> rows{{"NAME", "TYPE", "ACCESS", "UNIT", "VALUES"}};
    std::vector<std::string> json;
    for (const Attribute& a : Attributes()) {
        if (!filter.empty() && lower(a.name).find(lower(filter)) == std::string::npos) continue;
        std::string values;
        std::vector<std::string> jsonValues;
        for (const EnumValue& v : a.values) {
            values += (values.empty() ? "" : "|") + v.name;
            jsonValues.push_back(JsonString(v.name));
        }
        const std::string name = a.perPhase ? DisplayName({&a, "OutputPhase1"}) : a.name;
        const std::string type = a.enumName.empty() ? KindName(a.kind) : a.enumName;
        const std::string access = a.writable ? "read/write" : "read-only";
        rows.push_back({name, type, access, a.unit, values});
        json.push_back(JsonObject({{"name", JsonString(name)},
                                   {"type", JsonString(type)},
                                   {"access", JsonString(access)},
                                   {"perPhase", a.perPhase ? "true" : "false"},
                                   {"unit", JsonString(a.unit)},
                                   {"values", JsonArray(jsonValues)}}));
    }
    if (common.json) std::printf("%s\n", JsonArray(json).c_str());
    else std::fputs(Table(rows).c_str(), stdout);
    return 0;
}

}  // namespace zpv::cli
