#include "attribute_catalog.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>

#include <yaml-cpp/yaml.h>

namespace zpv::cli {

namespace {

// yaml-cpp reads JSON, which is YAML.
const YAML::Node& Catalog() {
    static const YAML::Node catalog = YAML::Load(kCatalogJson);
    return catalog;
}

std::string Text(const YAML::Node& node) { return node && !node.IsNull() ? node.as<std::string>() : std::string(); }

ValueKind KindOf(const std::string& cType) {
    if (cType == "ViReal64") return ValueKind::Real64;
    if (cType == "ViBoolean") return ValueKind::Boolean;
    if (cType == "ViString") return ValueKind::String;
    return ValueKind::Int32;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// A place as people type it: a collection's items ("OutputPhases[]") are named by their phase,
// written with the item's name ("OutputPhase"): "Ivi.OutputPhases[].Impedance" is
// "Ivi.OutputPhase.Impedance".
std::string TypedPlace(const std::string& place, const std::map<std::string, std::string>& itemNames,
                       std::string& item) {
    std::string typed;
    std::size_t start = 0;
    while (start <= place.size()) {
        std::size_t end = place.find('.', start);
        if (end == std::string::npos) end = place.size();
        std::string part = place.substr(start, end - start);
        if (part.ends_with("[]")) {
            const std::string collection = place.substr(0, end - 2);
            const auto it = itemNames.find(collection);
            part = it != itemNames.end() ? it->second : part.substr(0, part.size() - 2);
            item = part;
        }
        typed += (typed.empty() ? "" : ".") + part;
        start = end + 1;
    }
    return typed;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

const std::vector<Attribute>& Attributes() {
    static const std::vector<Attribute> attributes = [] {
        const YAML::Node& catalog = Catalog();
        std::map<std::string, std::string> itemNames;
        for (const YAML::Node& i : catalog["interfaces"])
            if (!i["item_name"].IsNull()) itemNames[Text(i["place"])] = Text(i["item_name"]);
        std::vector<Attribute> list;
        for (const YAML::Node& a : catalog["attributes"]) {
            Attribute attribute;
            const std::string place = TypedPlace(Text(a["place"]), itemNames, attribute.item);
            attribute.name = (place.empty() ? "" : place + ".") + Text(a["name"]);
            attribute.id = a["id"].as<ViAttr>();
            attribute.kind = KindOf(Text(a["c_type"]));
            attribute.writable = Text(a["access"]) == "read/write";
            attribute.perPhase = Text(a["scope"]) == "phase";
            attribute.enumName = Text(a["enum"]);
            if (!attribute.enumName.empty())
                for (const YAML::Node& v : catalog["enumerations"][attribute.enumName])
                    attribute.values.push_back({Text(v["name"]), v["value"].as<ViInt32>()});
            attribute.unit = Text(a["unit"]);
            if (a["range"].IsSequence())
                attribute.range = Number(a["range"][0].as<double>()) + " to " + Number(a["range"][1].as<double>());
            attribute.missingOn = Text(a["missing_on"]);
            list.push_back(std::move(attribute));
        }
        return list;
    }();
    return attributes;
}

std::string StatusText(long status) {
    for (const YAML::Node& s : Catalog()["statuses"])
        if (s["status"].as<long>() == status || (!s["object_status"].IsNull() && s["object_status"].as<long>() == status))
            return Text(s["text"]);
    return {};
}

const std::vector<ReadingField>& ReadingFields() {
    static const std::vector<ReadingField> fields = [] {
        std::vector<ReadingField> list;
        for (const YAML::Node& f : Catalog()["readings"]) list.push_back({Text(f["name"]), Text(f["unit"])});
        return list;
    }();
    return fields;
}

// "VoltageAcStart" as "voltage_ac_start".
std::string SnakeCase(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const bool wordStart = std::isupper(c) && i > 0 &&
                               (std::islower(static_cast<unsigned char>(name[i - 1])) ||
                                (i + 1 < name.size() && std::islower(static_cast<unsigned char>(name[i + 1]))));
        if (wordStart) out += '_';
        out += static_cast<char>(std::tolower(c));
    }
    return out;
}

std::optional<Resolved> Resolve(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const Attribute& a : Attributes()) {
        // A phase is named with its number where the catalog has the item's name.
        std::string pattern(name), channel;
        if (!a.item.empty()) {
            std::string marker = a.item;
            std::transform(marker.begin(), marker.end(), marker.begin(), [](unsigned char c) { return std::tolower(c); });
            if (const auto at = lower.find(marker); at != std::string::npos) {
                std::size_t end = at + marker.size();
                while (end < lower.size() && std::isdigit(static_cast<unsigned char>(lower[end]))) ++end;
                if (end > at + marker.size()) {
                    channel = a.item + std::string(name.substr(at + marker.size(), end - at - marker.size()));
                    pattern = std::string(name.substr(0, at)) + a.item + std::string(name.substr(end));
                }
            }
        }
        if (!EqualNoCase(a.name, pattern)) continue;
        if (a.perPhase && channel.empty()) channel = a.item + "1";
        if (!a.perPhase && !channel.empty()) continue;
        return Resolved{&a, a.perPhase ? channel : std::string()};
    }
    return std::nullopt;
}

std::string DisplayName(const Resolved& resolved) {
    std::string name = resolved.attribute->name;
    if (!resolved.channel.empty()) {
        const auto at = name.find(resolved.attribute->item);
        name.replace(at, resolved.attribute->item.size(), resolved.channel);
    }
    return name;
}

const char* KindName(ValueKind kind) {
    switch (kind) {
        case ValueKind::Int32: return "ViInt32";
        case ValueKind::Real64: return "ViReal64";
        case ValueKind::Boolean: return "ViBoolean";
        case ValueKind::String: return "ViString";
    }
    return "?";
}

}  // namespace zpv::cli
