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

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Every attribute's name as the user would type it after `typed`: a per-phase name with the
// phase `typed` names ("OutputPhase2.Enabled"), else the first phase's.
std::vector<std::string> NamesAsTyped(const std::string& typed) {
    std::vector<std::string> names;
    for (const Attribute& a : Attributes()) {
        std::string known = a.name;
        if (!a.item.empty()) {
            std::string phase = a.item + "1";
            if (const auto at = Lower(typed).find(Lower(a.item)); at != std::string::npos) {
                const auto dot = typed.find('.', at);
                if (dot != std::string::npos && dot > at + a.item.size()) phase = typed.substr(at, dot - at);
            }
            if (const auto at = known.find(a.item + "."); at != std::string::npos) known.replace(at, a.item.size(), phase);
        }
        names.push_back(std::move(known));
    }
    return names;
}

Resolved Find(const std::string& name) {
    auto resolved = Resolve(name);
    if (!resolved) {
        std::vector<std::string> names;
        for (const std::string& known : NamesAsTyped(name)) {
            // The groups above it are names too ("ManualMode", "OutputPhase1.CurrentProtection").
            for (auto dot = known.find('.'); dot != std::string::npos; dot = known.find('.', dot + 1))
                names.push_back(known.substr(0, dot));
            names.push_back(known);
        }
        const std::string hint = DidYouMean(name, names);
        throw UsageError("unknown attribute '" + name + "'" + (hint.empty() ? " (zpv4870 attributes lists them)" : hint));
    }
    return *resolved;
}

}  // namespace

int Get(const Common& common, const std::vector<std::string>& names) {
    struct Wanted {
        Resolved resolved;
        bool ofGroup;  // a failure is shown and the others still read
    };
    std::vector<Wanted> wanted;
    for (const std::string& name : names) {
        if (!name.empty())
            if (auto resolved = Resolve(name)) {
                wanted.push_back({*resolved, false});
                continue;
            }
        // A group: every attribute whose name (with the phase the group names) lies below it.
        const std::string group = name.empty() ? "" : Lower(name + ".");
        const std::size_t before = wanted.size();
        for (const std::string& full : NamesAsTyped(name))
            if (Lower(full).rfind(group, 0) == 0)
                if (auto resolved = Resolve(full)) wanted.push_back({*resolved, true});
        if (wanted.size() == before) Find(name);  // neither an attribute nor a group: the usual error
    }
    CSession session(common.session);
    std::vector<std::pair<std::string, std::string>> json;
    bool failed = false;
    for (const Wanted& w : wanted) {
        const Resolved& r = w.resolved;
        AttributeValue value;
        try {
            value = ReadAttribute(session, r);
        } catch (const Failure& e) {
            if (!w.ofGroup) throw;
            failed = true;
            if (common.json) json.emplace_back(DisplayName(r), JsonObject({{"error", JsonString(e.what())}}));
            else std::printf("%s = ? (%s)\n", DisplayName(r).c_str(), e.what());
            continue;
        }
        if (common.json) {
            json.emplace_back(DisplayName(r), value.json);
        } else {
            std::printf("%s = %s%s\n", DisplayName(r).c_str(), value.text.c_str(),
                        r.attribute->unit.empty() ? "" : (" " + r.attribute->unit).c_str());
        }
    }
    if (common.json) std::printf("%s\n", JsonObject(json).c_str());
    return failed ? 1 : 0;
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
    std::vector<std::vector<std::string>> rows{{"NAME", "TYPE", "ACCESS", "UNIT", "RANGE", "VALUES"}};
    std::vector<std::string> json;
    for (const Attribute& a : Attributes()) {
        if (!filter.empty() && lower(a.name).find(lower(filter)) == std::string::npos) continue;
        std::string values;
        std::vector<std::string> jsonValues;
        for (const EnumValue& v : a.values) {
            values += (values.empty() ? "" : "|") + v.name;
            jsonValues.push_back(JsonString(v.name));
        }
        const std::string name = a.perPhase ? DisplayName({&a, a.item + "1"}) : a.name;
        const std::string type = a.enumName.empty() ? KindName(a.kind) : a.enumName;
        const std::string access = a.writable ? "read/write" : "read-only";
        rows.push_back({name, type, access, a.unit, a.range, values});
        json.push_back(JsonObject({{"name", JsonString(name)},
                                   {"type", JsonString(type)},
                                   {"access", JsonString(access)},
                                   {"per_phase", a.perPhase ? "true" : "false"},
                                   {"unit", a.unit.empty() ? "null" : JsonString(a.unit)},
                                   {"range", a.range.empty() ? "null" : JsonString(a.range)},
                                   {"missing_on", a.missingOn.empty() ? "null" : JsonString(a.missingOn)},
                                   {"values", JsonArray(jsonValues)}}));
    }
    if (common.json) std::printf("%s\n", JsonArray(json).c_str());
    else std::fputs(Table(rows).c_str(), stdout);
    return 0;
}

}  // namespace zpv::cli
