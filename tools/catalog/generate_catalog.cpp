// Writes share/zpv4870/catalog.json: everything the faces around the library show, taken from the
// rows the library itself is built from - the interfaces and where each sits in the driver's
// tree, every attribute (identifier, C type, enumeration, access, scope, unit, range, models),
// the enumerations with their values, the C function wrappers with their parameters, every
// status with its C and object codes and text, and the fields of the instrument's list of all
// readings. Run by the build target regenerate_catalog; a test compares its output with the
// committed file.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "members/driver_groups.h"
#include "zpv4870/output.h"
#include "members/format_fit.h"
#include "members/member_tables.h"
#include "members/member_tree.h"
// After the member tables: the C header's macros would rename names the tables' headers declare.
#include "capi/attribute_table.h"
#include "capi/c_parameters.h"
#include "capi/enum_value_rows.h"
#include "capi/inherent_function_rows.h"
#include "capi/status_rows.h"
#include "capi/status_translation.h"
#include "capi/wrapper_rows.h"

namespace {

using zpv::members::format_fit::TypeName;

// JSON text, as the command-line tool writes it.
std::string Quoted(std::string_view text) { return zpv::cli::JsonString(std::string(text)); }
std::string QuotedOrNull(const char* text) { return text && *text ? Quoted(text) : "null"; }
std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// ---- the tree ----------------------------------------------------------------------------------

struct Interface {
    std::string place;       // "OutputPhases[].CurrentProtection"; "[]" marks a collection's items
    std::string item;        // a collection: its items' interface
    std::string itemName;    // a collection: what one item is called ("OutputPhase")
};
std::map<std::string, Interface> gInterfaces;

std::string Join(const std::string& place, std::string_view name) {
    return place.empty() ? std::string(name) : place + "." + std::string(name);
}

void PlaceTree() {
    using zpv::members::tree::kLinks;
    for (const auto& link : kLinks) {
        if (!link.items) continue;
        Interface& collection = gInterfaces[std::string(link.parent)];
        collection.item = link.child;
        // What one item is called: its interface without the product's or the class's prefix.
        collection.itemName = link.child.substr(link.child.starts_with("IZPV4870") ? 8 : 9);
    }
    std::map<std::string, std::string> roots;
#define ZPV_G_ROOT(Root, Place) roots[#Root] = Place;
    ZPV_DRIVER_ROOTS(ZPV_G_ROOT)
#define ZPV_G_DRIVER_GROUP(Root, Group, Name) gInterfaces[#Group].place = Join(roots[#Root], #Name);
    ZPV_DRIVER_GROUPS(ZPV_G_DRIVER_GROUP)
    // Below the driver's own groups, group by group until nothing new is placed.
    for (bool placed = true; placed;) {
        placed = false;
        for (auto& [name, i] : gInterfaces) {
            if (i.place.empty() || i.item.empty() || !gInterfaces[i.item].place.empty()) continue;
            gInterfaces[i.item].place = i.place + "[]";
            placed = true;
        }
        for (const auto& link : kLinks) {
            if (link.items) continue;
            const Interface& parent = gInterfaces[std::string(link.parent)];
            Interface& group = gInterfaces[std::string(link.child)];
            if (parent.place.empty() || !group.place.empty()) continue;
            group.place = Join(parent.place, link.name);
            placed = true;
        }
    }
#define ZPV_G_BASE(Derived, Base) gInterfaces[#Base].place = gInterfaces[#Derived].place;
    ZPV_DRIVER_BASES(ZPV_G_BASE)
}

std::string PlaceOf(const std::string& interfaceName) {
    const auto it = gInterfaces.find(interfaceName);
    if (it == gInterfaces.end() || it->second.place.empty()) {
        std::fprintf(stderr, "generate_catalog: %s has no place in the driver's tree\n", interfaceName.c_str());
        std::exit(1);
    }
    return it->second.place;
}

// ---- the columns of every property and query, by "Interface.Name" ------------------------------

struct ColumnsText {
    bool readings = false;  // a query whose result is the list of all readings
    std::string unit;
    std::string range;   // "[0, 9]" or "null"
    std::string family;  // the family whose models lack it, or "null"
};
std::map<std::string, ColumnsText> gColumns;

template <class T>
void KeepColumns(const char* key, const zpv::members::Columns<T>& c) {
    ColumnsText text{c.readings, c.unit ? c.unit : "", "null", QuotedOrNull(c.family)};
    if (c.range.Known()) text.range = "[" + Number(c.range.min) + ", " + Number(c.range.max) + "]";
    gColumns[key] = text;
}
#define ZPV_K(kind, ...) ZPV_K_##kind(__VA_ARGS__)
#define ZPV_K_SETTING(...) ZPV_SETTING_AS_PROPERTY(ZPV_K_PROPERTY, __VA_ARGS__)
#define ZPV_K_ENUM_SETTING(...) ZPV_ENUM_SETTING_AS_PROPERTY(ZPV_K_PROPERTY, __VA_ARGS__)
#define ZPV_K_PROPERTY(I, T, Name, Get, Response, Put, ...) KeepColumns<T>(#I "." #Name, {__VA_ARGS__});
#define ZPV_K_RENAMED_PROPERTY(I, T, Member, Name, Get, Response, Put, ...) \
    KeepColumns<T>(#I "." #Member, {__VA_ARGS__});
#define ZPV_K_LIVE_GETTER(I, T, Name, Get, Response, ...) KeepColumns<T>(#I "." #Name, {__VA_ARGS__});
#define ZPV_K_CLASS_PROPERTY(I, T, Name, ...) KeepColumns<T>(#I "." #Name, {__VA_ARGS__});
#define ZPV_K_CLASS_GETTER(I, T, Name, ...) KeepColumns<T>(#I "." #Name, {__VA_ARGS__});
#define ZPV_K_QUERY(I, T, Name, Command, Response, ...) KeepColumns<T>(#I "." #Name, {__VA_ARGS__});
#define ZPV_K_ACTION(I, Name, Command, Family, ...) gColumns[#I "." #Name] = {false, "", "null", QuotedOrNull(Family)};
#define ZPV_K_CLASS_METHOD(...)
#define ZPV_K_DIRECT(...)
#define ZPV_K_GROUP(...)
#define ZPV_K_TABLE(kind, I, ...) ZPV_LIST_##I(ZPV_K, I)

// ---- attributes --------------------------------------------------------------------------------

std::vector<std::string> gAttributes;

const char* CType(zpv::capi::ValueType type) {
    switch (type) {
        case zpv::capi::ValueType::Real64: return "ViReal64";
        case zpv::capi::ValueType::Boolean: return "ViBoolean";
        case zpv::capi::ValueType::String: return "ViString";
        default: return "ViInt32";
    }
}

void Attribute(const zpv::capi::AttributeEntry& a) {
    const std::string interfaceName = a.interfaceName;
    const std::string place = interfaceName.empty() ? PlaceOf("IIviDriverIdentity") : PlaceOf(interfaceName);
    ColumnsText columns{false, "", "null", "null"};
    if (const auto it = gColumns.find(interfaceName + "." + a.property); it != gColumns.end()) columns = it->second;
    if (std::string_view(a.property) == "IOTimeout") columns.unit = "ms";  // the session's own timeout
    gAttributes.push_back("{\"macro\": " + Quoted(a.name) + ", \"id\": " + std::to_string(a.id) +
                          ", \"name\": " + Quoted(a.property) + ", \"interface\": " + Quoted(interfaceName) +
                          ", \"place\": " + Quoted(place) + ", \"c_type\": " + Quoted(CType(a.type)) + ", \"enum\": " +
                          (a.enumName.empty() ? "null" : Quoted(a.enumName)) + ", \"access\": " +
                          (a.write ? "\"read/write\"" : "\"read-only\"") + ", \"scope\": " +
                          (a.perPhase ? "\"phase\"" : "\"session\"") + ", \"unit\": " +
                          (columns.unit.empty() ? "null" : Quoted(columns.unit)) + ", \"range\": " + columns.range +
                          ", \"missing_on\": " + columns.family + "}");
}

// The public header's block of attribute identifiers, one group per interface.
void WriteHeaderBlock() {
    std::size_t width = 0;
    for (const auto& a : zpv::capi::AllAttributes()) width = std::max(width, std::string_view(a.name).size());
    std::string_view group = "-";
    for (const auto& a : zpv::capi::AllAttributes()) {
        if (group != a.interfaceName) {
            if (group != "-") std::printf("\n");
            group = a.interfaceName;
            if (group.empty()) std::printf("/* The driver prefix, \"ZPV4870\" */\n");
            else if (a.perPhase) std::printf("/* %s, per output phase: pass a channel name */\n", a.interfaceName);
            else std::printf("/* %s */\n", a.interfaceName);
        }
        std::printf("#define %-*s %luL /* %s%s%s, %s */\n", static_cast<int>(width), a.name, static_cast<unsigned long>(a.id),
                    CType(a.type), a.enumName.empty() ? "" : ", ", std::string(a.enumName).c_str(),
                    a.write ? "read/write" : "read-only");
    }
}

// ---- enumerations ------------------------------------------------------------------------------

struct EnumValue {
    std::string enumName, macro, enumerator;
    long value;
};
#define ZPV_E(Macro, Enumerator)                                                                       \
    EnumValue{std::string(TypeName<std::remove_cv_t<decltype(Enumerator)>>()), #Macro, #Enumerator, \
              static_cast<long>(Enumerator)},

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

// The value macros without the words they all begin with ("ZPV4870_VAL_RANGE_HIGH" -> "HIGH"); a
// name keeps the last shared word rather than begin with a digit.
std::vector<std::string> ShortNames(const std::vector<std::string>& macros) {
    std::vector<std::vector<std::string>> words;
    for (const std::string& m : macros) words.push_back(Split(m.substr(std::string_view("ZPV4870_VAL_").size()), '_'));
    std::size_t shortest = words[0].size();
    for (const auto& w : words) shortest = std::min(shortest, w.size());
    std::size_t shared = shortest - 1;
    if (words.size() > 1) {
        shared = 0;
        while (shared < shortest - 1) {
            bool same = true;
            for (const auto& w : words) same = same && w[shared] == words[0][shared];
            if (!same) break;
            ++shared;
        }
    }
    auto digitAt = [&](std::size_t i) {
        for (const auto& w : words)
            if (std::isdigit(static_cast<unsigned char>(w[i][0]))) return true;
        return false;
    };
    while (shared > 0 && digitAt(shared)) --shared;
    std::vector<std::string> names;
    for (const auto& w : words) {
        std::string name;
        for (std::size_t i = shared; i < w.size(); ++i) name += (i > shared ? "_" : "") + w[i];
        names.push_back(name);
    }
    return names;
}

// ---- functions ---------------------------------------------------------------------------------

struct Function {
    std::string interfaceName, name, member, scope, parameters;  // parameters as the C text
};
#define ZPV_W(Name, I, Member, S, ...) \
    Function{#I, "ZPV4870_" #Name, #Member, #S, "ViSession vi" ZPV_C_CHANNEL_TEXT_##S ZPV_C_EACH(ZPV_C_TEXT, __VA_ARGS__)},

std::string Trimmed(std::string text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// "const ViReal64 Values[]" -> {"type": "const ViReal64[]", "name": "Values"}; a fixed-size
// buffer keeps its size ("ViChar[256]").
std::string Parameter(std::string text) {
    text = Trimmed(text);
    std::string extent;  // "[]", or a fixed size "[256]"
    if (text.ends_with("]")) {
        extent = text.substr(text.rfind('['));
        text.resize(text.rfind('['));
    }
    const auto space = text.rfind(' ');
    std::string type = text.substr(0, space), name = text.substr(space + 1);
    if (name.starts_with("*")) {
        type += "*";
        name.erase(0, 1);
    }
    if (type.ends_with(" *")) type.replace(type.size() - 2, 2, "*");
    return "{\"type\": " + Quoted(type + extent) + ", \"name\": " + Quoted(name) + "}";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zpv::members;  // the rows name their model restrictions unqualified
    if (argc > 1 && std::string_view(argv[1]) == "header") {
        WriteHeaderBlock();
        return 0;
    }
    PlaceTree();
    ZPV_ALL_MEMBER_TABLES(ZPV_K_TABLE)
    for (const zpv::capi::AttributeEntry& a : zpv::capi::AllAttributes()) Attribute(a);

    std::printf("{\n\"interfaces\": [\n");
    bool first = true;
    for (const auto& [name, i] : gInterfaces) {
        if (i.place.empty()) continue;
        std::printf("%s  {\"name\": %s, \"place\": %s, \"items\": %s, \"item_name\": %s}", first ? "" : ",\n",
                    Quoted(name).c_str(), Quoted(i.place).c_str(), QuotedOrNull(i.item.c_str()).c_str(),
                    QuotedOrNull(i.itemName.c_str()).c_str());
        first = false;
    }
    std::printf("\n],\n\"attributes\": [\n");
    for (std::size_t n = 0; n < gAttributes.size(); ++n)
        std::printf("  %s%s\n", gAttributes[n].c_str(), n + 1 < gAttributes.size() ? "," : "");

    std::printf("],\n\"enumerations\": {\n");
    const std::vector<EnumValue> values = {ZPV_C_ENUM_VALUES(ZPV_E)};
    std::vector<std::string> order;
    std::map<std::string, std::vector<const EnumValue*>> byEnum;
    for (const EnumValue& v : values) {
        if (!byEnum.contains(v.enumName)) order.push_back(v.enumName);
        byEnum[v.enumName].push_back(&v);
    }
    for (std::size_t e = 0; e < order.size(); ++e) {
        const auto& list = byEnum[order[e]];
        std::vector<std::string> macros;
        for (const EnumValue* v : list) macros.push_back(v->macro);
        const std::vector<std::string> names = ShortNames(macros);
        std::printf("  %s: [\n", Quoted(order[e]).c_str());
        for (std::size_t n = 0; n < list.size(); ++n)
            std::printf("    {\"name\": %s, \"macro\": %s, \"enumerator\": %s, \"value\": %ld}%s\n", Quoted(names[n]).c_str(),
                        Quoted(list[n]->macro).c_str(), Quoted(list[n]->enumerator).c_str(), list[n]->value,
                        n + 1 < list.size() ? "," : "");
        std::printf("  ]%s\n", e + 1 < order.size() ? "," : "");
    }

    std::printf("},\n\"functions\": [\n");
    const std::vector<Function> functions = {ZPV_C_WRAPPERS(ZPV_W)};
    for (std::size_t n = 0; n < functions.size(); ++n) {
        const Function& f = functions[n];
        // The direct read interface is not published: its wrapper sits with the system group.
        const std::string place = PlaceOf(f.interfaceName == "IZPV4870DirectRead" ? "IZPV4870System" : f.interfaceName);
        std::string parameters;
        for (const std::string& p : Split(f.parameters, ',')) parameters += (parameters.empty() ? "" : ", ") + Parameter(p);
        const auto columns = gColumns.find(f.interfaceName + "." + f.member);
        const bool readings = columns != gColumns.end() && columns->second.readings;
        std::printf("  {\"name\": %s, \"interface\": %s, \"member\": %s, \"place\": %s, \"scope\": %s, \"unit\": %s, "
                    "\"result\": %s, \"parameters\": [%s]}%s\n",
                    Quoted(f.name).c_str(), Quoted(f.interfaceName).c_str(), Quoted(f.member).c_str(),
                    Quoted(place).c_str(), Quoted(f.scope).c_str(),
                    columns != gColumns.end() && !columns->second.unit.empty() ? Quoted(columns->second.unit).c_str()
                                                                               : "null",
                    readings ? "\"readings\"" : "null", parameters.c_str(), n + 1 < functions.size() ? "," : "");
    }

    // The functions every face calls by name: sessions, errors, attributes.
    std::printf("],\n\"session_functions\": [\n");
    struct Inherent {
        const char* name;
        const char* parameters;
    };
#define ZPV_I(Name, Parameters) Inherent{"ZPV4870_" #Name, Parameters},
    const Inherent inherent[] = {ZPV_C_INHERENT_FUNCTIONS(ZPV_I)};
    for (std::size_t n = 0; n < std::size(inherent); ++n) {
        std::string parameters;
        for (const std::string& p : Split(inherent[n].parameters, ','))
            parameters += (parameters.empty() ? "" : ", ") + Parameter(p);
        std::printf("  {\"name\": %s, \"parameters\": [%s]}%s\n", Quoted(inherent[n].name).c_str(), parameters.c_str(),
                    n + 1 < std::size(inherent) ? "," : "");
    }

    std::printf("],\n\"statuses\": [\n");
    struct Status {
        const char* macro;
        long status;
        const char* text;
    };
#define ZPV_S(Macro, Text) Status{#Macro, static_cast<long>(Macro), Text},
    const Status statuses[] = {ZPV_C_STATUSES(ZPV_S)};
    for (std::size_t n = 0; n < std::size(statuses); ++n) {
        const Status& s = statuses[n];
        const std::string name = std::string_view(s.macro) == "VI_SUCCESS" ? "VI_SUCCESS" : s.macro;
        std::string object = "null";
        if (s.status == 0) object = "0";
        else if (const std::uint32_t hr = zpv::capi::ObjectStatusOf(static_cast<ViStatus>(s.status)); hr != 0)
            object = std::to_string(static_cast<std::int32_t>(hr));
        std::printf("  {\"macro\": %s, \"status\": %ld, \"object_status\": %s, \"kind\": %s, \"text\": %s}%s",
                    Quoted(name).c_str(), s.status, object.c_str(),
                    s.status < 0 ? "\"error\"" : s.status > 0 ? "\"warning\"" : "\"success\"", Quoted(s.text).c_str(),
                    n + 1 < std::size(statuses) ? ",\n" : "");
    }

    // Passed on unchanged from the object interface: its class-compliant members outside simulation.
    std::printf(",\n  {\"macro\": \"E_NOTIMPL\", \"status\": %ld, \"object_status\": %ld, \"kind\": \"error\", "
                "\"text\": \"Not implemented.\"}\n", static_cast<long>(E_NOTIMPL), static_cast<long>(E_NOTIMPL));
    std::printf("],\n\"readings\": [\n");
    struct Field {
        const char* name;
        const char* unit;
    };
#define ZPV_R(Name, Unit) Field{#Name, Unit},
    const Field fields[] = {ZPV_READING_FIELDS(ZPV_R)};
    for (std::size_t n = 0; n < std::size(fields); ++n)
        std::printf("  {\"name\": %s, \"unit\": %s}%s\n", Quoted(fields[n].name).c_str(), QuotedOrNull(fields[n].unit).c_str(),
                    n + 1 < std::size(fields) ? "," : "");
    std::printf("]\n}\n");
}
