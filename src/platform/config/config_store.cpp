#include "platform/config/config_store.h"

#include <strings.h>
#include <sys/stat.h>

#include <charconv>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <pugixml.hpp>
#include <sstream>

namespace zpv::config {

namespace {

// A driver session's boolean settings: one row each, read and written alike; an absent attribute
// takes the session's default.
struct SessionFlag {
    const char* attribute;
    bool DriverSession::*member;
};
constexpr SessionFlag kSessionFlags[] = {
    {"cache", &DriverSession::cache},
    {"interchangeCheck", &DriverSession::interchangeCheck},
    {"queryInstrStatus", &DriverSession::queryInstrStatus},
    {"rangeCheck", &DriverSession::rangeCheck},
    {"recordCoercions", &DriverSession::recordCoercions},
    {"simulate", &DriverSession::simulate},
};

bool Same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Structures inside structures deeper than this are refused: no store needs them, and a reader
// that followed them would run out of stack.
constexpr int kMaxNesting = 32;

bool Exists(const std::string& path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0;
}

// Reading with the place of every mistake.
class Reader {
public:
    Reader(std::string_view text, std::string name) : text_(text), name_(std::move(name)) {}

    [[noreturn]] void Fail(std::ptrdiff_t offset, const std::string& what) const {
        int line = 1;
        for (std::ptrdiff_t i = 0; i < offset && i < static_cast<std::ptrdiff_t>(text_.size()); ++i)
            line += text_[static_cast<std::size_t>(i)] == '\n';
        throw std::runtime_error(name_ + ":" + std::to_string(line) + ": " + what);
    }
    std::string Required(const pugi::xml_node& node, const char* attribute) const {
        const pugi::xml_attribute a = node.attribute(attribute);
        if (!a || !*a.value())
            Fail(node.offset_debug(), std::string("<") + node.name() + "> needs a \"" + attribute + "\" attribute");
        return a.value();
    }
    bool Boolean(const pugi::xml_node& node, const char* attribute, bool fallback) const {
        const pugi::xml_attribute a = node.attribute(attribute);
        if (!a) return fallback;
        const std::string_view v = a.value();
        if (Same(v, "true") || v == "1") return true;
        if (Same(v, "false") || v == "0") return false;
        Fail(node.offset_debug(), std::string("\"") + attribute + "\" of <" + node.name() + "> is \"" + std::string(v) +
                                      "\", not true or false");
    }
    std::int64_t Number(const pugi::xml_node& node, const char* attribute) const {
        const std::string text = Required(node, attribute);
        std::int64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size())
            Fail(node.offset_debug(), std::string("\"") + attribute + "\" is \"" + text +
                                          "\", not a whole number from -9223372036854775808 to 9223372036854775807");
        return value;
    }
    DataComponent Component(const pugi::xml_node& node, int depth = 1) const {
        DataComponent c;
        c.name = Required(node, "name");
        if (std::string_view(node.name()) == "Structure") {
            if (depth > kMaxNesting)
                Fail(node.offset_debug(), "structures are nested more than " + std::to_string(kMaxNesting) + " deep");
            c.type = "Structure";
            for (const pugi::xml_node& child : node.children())
                if (child.type() == pugi::node_element) c.children.push_back(Component(child, depth + 1));
            return c;
        }
        if (std::string_view(node.name()) != "Item")
            Fail(node.offset_debug(), std::string("<") + node.name() + "> is no data component (<Item> or <Structure>)");
        c.type = Required(node, "type");
        c.value = node.attribute("value").value();
        static const char* const kTypes[] = {"String", "Integer", "Real", "Boolean", "Structure", "APIReference"};
        bool known = false;
        for (const char* t : kTypes) known = known || Same(c.type, t);
        if (!known) Fail(node.offset_debug(), "data component type \"" + c.type + "\" is not String, Integer, Real or Boolean");
        CheckValue(node, c);
        return c;
    }
    // An item's value must be one of its type: the driver reads it as that type.
    void CheckValue(const pugi::xml_node& node, const DataComponent& c) const {
        const std::string& v = c.value;
        bool fits = true;
        const char* what = "";
        if (Same(c.type, "Integer")) {
            std::int32_t value = 0;
            const auto [end, error] = std::from_chars(v.data(), v.data() + v.size(), value);
            fits = error == std::errc() && end == v.data() + v.size();
            what = "a whole number from -2147483648 to 2147483647";
        } else if (Same(c.type, "Real")) {
            char* end = nullptr;
            const double value = v.empty() ? 0 : std::strtod(v.c_str(), &end);
            fits = !v.empty() && *end == '\0' && std::isfinite(value);
            what = "a finite number";
        } else if (Same(c.type, "Boolean")) {
            fits = Same(v, "true") || Same(v, "false") || v == "1" || v == "0";
            what = "true or false";
        }
        if (!fits) Fail(node.offset_debug(), "the " + c.type + " item \"" + c.name + "\" has the value \"" + v + "\", not " + what);
    }
    // What pugixml takes without a word but a store must not hold: bytes that are not UTF-8,
    // characters XML forbids (raw or as references), and entity references other than XML's
    // own five (a document type's entities are not expanded here).
    void CheckText() const {
        const std::string_view t = text_;
        auto skipTo = [&](std::size_t from, std::string_view end) {
            const std::size_t at = t.find(end, from);
            return at == std::string_view::npos ? t.size() : at + end.size();
        };
        // Every byte, wherever it stands (comments and processing instructions included).
        for (std::size_t i = 0; i < t.size();) {
            const auto c = static_cast<unsigned char>(t[i]);
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                Fail(static_cast<std::ptrdiff_t>(i), "the control character " + Hex(c) + " is not allowed in XML");
            if (c < 0x80) {
                ++i;
                continue;
            }
            const std::size_t length = Utf8Length(t.substr(i));
            if (!length) Fail(static_cast<std::ptrdiff_t>(i), "the byte " + Hex(c) + " does not begin a UTF-8 character");
            i += length;
        }
        // References in text and attribute values; comments, CDATA, processing instructions and
        // the document type hold "&" as plain text.
        enum class In { Text, Tag, Value } where = In::Text;
        char quote = 0;
        for (std::size_t i = 0; i < t.size();) {
            const char c = t[i];
            if (where == In::Text && c == '<') {
                if (t.substr(i, 4) == "<!--") { i = skipTo(i + 4, "-->"); continue; }
                if (t.substr(i, 9) == "<![CDATA[") { i = skipTo(i + 9, "]]>"); continue; }
                if (t.substr(i, 2) == "<?") { i = skipTo(i + 2, "?>"); continue; }
                if (t.substr(i, 9) == "<!DOCTYPE") {
                    const std::size_t close = t.find('>', i);
                    const std::size_t open = t.find('[', i);
                    i = open < close ? skipTo(skipTo(open, "]"), ">") : skipTo(i, ">");
                    continue;
                }
                where = In::Tag;
            } else if (where == In::Tag && (c == '"' || c == '\'')) {
                where = In::Value;
                quote = c;
            } else if (where == In::Tag && c == '>') {
                where = In::Text;
            } else if (where == In::Value && c == quote) {
                where = In::Tag;
            } else if (where != In::Tag && c == '&') {
                CheckReference(i);
            }
            ++i;
        }
    }
    // What references decoded to: no character XML forbids in any value or text.
    void CheckDecoded(const pugi::xml_node& root) const {
        const auto bad = [](const char* text) {
            for (const char* p = text; *p; ++p) {
                const auto c = static_cast<unsigned char>(*p);
                if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return true;
            }
            return false;
        };
        for (pugi::xml_node node = root; node; ) {
            for (const pugi::xml_attribute& a : node.attributes())
                if (bad(a.value())) Fail(node.offset_debug(), std::string("the \"") + a.name() + "\" attribute holds a character XML does not allow");
            if (bad(node.value())) Fail(node.offset_debug(), "the text holds a character XML does not allow");
            // Depth first, without recursion.
            if (node.first_child()) {
                node = node.first_child();
                continue;
            }
            while (node && node != root && !node.next_sibling()) node = node.parent();
            if (!node || node == root) break;
            node = node.next_sibling();
        }
    }

private:
    static std::string Hex(unsigned value) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%02X", value);
        return text;
    }
    // The length of the UTF-8 character at the start of s, 0 when it is not one.
    static std::size_t Utf8Length(std::string_view s) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
        const unsigned lead = b(0);
        std::size_t n = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
        if (!n || s.size() < n) return 0;
        for (std::size_t k = 1; k < n; ++k)
            if ((b(k) & 0xC0) != 0x80) return 0;
        if (n == 3 && ((lead == 0xE0 && b(1) < 0xA0) || (lead == 0xED && b(1) >= 0xA0))) return 0;
        if (n == 4 && ((lead == 0xF0 && b(1) < 0x90) || (lead == 0xF4 && b(1) >= 0x90))) return 0;
        return n;
    }
    void CheckReference(std::size_t at) const {
        const std::string_view t = text_;
        const std::size_t semicolon = t.find(';', at);
        const std::string_view name = t.substr(at + 1, semicolon == std::string_view::npos ? 0 : semicolon - at - 1);
        if (name == "lt" || name == "gt" || name == "amp" || name == "apos" || name == "quot") return;
        if (name.size() > 1 && name.front() == '#') {
            const bool hex = name[1] == 'x';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            std::uint32_t value = 0;
            const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
            const bool allowed = !digits.empty() && error == std::errc() && end == digits.data() + digits.size() &&
                                 (value == 0x9 || value == 0xA || value == 0xD || (value >= 0x20 && value <= 0xD7FF) ||
                                  (value >= 0xE000 && value <= 0xFFFD) || (value >= 0x10000 && value <= 0x10FFFF));
            if (allowed) return;
            Fail(static_cast<std::ptrdiff_t>(at), "the character reference &" + std::string(name) +
                                                      "; names a character XML does not allow");
        }
        const std::string shown = name.empty() || name.size() > 40 ? std::string("&") : "&" + std::string(name) + ";";
        Fail(static_cast<std::ptrdiff_t>(at), "the entity reference " + shown +
                                                  " is not one of XML's own (&lt; &gt; &amp; &apos; &quot;); "
                                                  "document type entities are not expanded");
    }

public:

private:
    std::string_view text_;
    std::string name_;
};

void WriteComponent(pugi::xml_node parent, const DataComponent& c) {
    if (Same(c.type, "Structure")) {
        pugi::xml_node s = parent.append_child("Structure");
        s.append_attribute("name") = c.name.c_str();
        for (const DataComponent& child : c.children) WriteComponent(s, child);
        return;
    }
    pugi::xml_node item = parent.append_child("Item");
    item.append_attribute("name") = c.name.c_str();
    item.append_attribute("type") = c.type.c_str();
    item.append_attribute("value") = c.value.c_str();
}

}  // namespace

void Store::BuildIndex() {
    index_ = Index{modules.size(), assets.size(), sessions.size(), logicalNames.size(), {}, {}, {}, {}};
    // The first of several entries of one name is the one found, as a scan would find it.
    for (std::size_t i = 0; i < modules.size(); ++i) index_.module.emplace(Lower(modules[i].name), i);
    for (std::size_t i = 0; i < assets.size(); ++i) index_.asset.emplace(Lower(assets[i].name), i);
    for (std::size_t i = 0; i < sessions.size(); ++i) index_.session.emplace(Lower(sessions[i].name), i);
    // A logical name's last entry wins.
    for (std::size_t i = 0; i < logicalNames.size(); ++i) index_.logicalName[Lower(logicalNames[i].name)] = i;
    indexed_ = true;
}

bool Store::IndexCurrent() const {
    return indexed_ && index_.modules == modules.size() && index_.assets == assets.size() &&
           index_.sessions == sessions.size() && index_.logicalNames == logicalNames.size();
}

const DriverSession* Store::FindSession(std::string_view name) const {
    if (IndexCurrent()) {
        std::string_view session = name;
        if (auto l = index_.logicalName.find(Lower(name)); l != index_.logicalName.end())
            session = logicalNames[l->second].session;
        auto s = index_.session.find(Lower(session));
        return s == index_.session.end() ? nullptr : &sessions[s->second];
    }
    std::string_view session = name;
    for (const LogicalName& l : logicalNames)
        if (Same(l.name, name)) session = l.session;
    for (const DriverSession& s : sessions)
        if (Same(s.name, session)) return &s;
    return nullptr;
}

const SoftwareModule* Store::FindModule(std::string_view name) const {
    if (IndexCurrent()) {
        auto m = index_.module.find(Lower(name));
        return m == index_.module.end() ? nullptr : &modules[m->second];
    }
    for (const SoftwareModule& m : modules)
        if (Same(m.name, name)) return &m;
    return nullptr;
}

const HardwareAsset* Store::FindAsset(std::string_view name) const {
    if (IndexCurrent()) {
        auto a = index_.asset.find(Lower(name));
        return a == index_.asset.end() ? nullptr : &assets[a->second];
    }
    for (const HardwareAsset& a : assets)
        if (Same(a.name, name)) return &a;
    return nullptr;
}

std::string StorePath() {
    if (const char* chosen = std::getenv("ZPV4870_CONFIG_STORE"); chosen && *chosen) return chosen;
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) config = std::string(home) + "/.config";
    for (const std::string& path : {config.empty() ? std::string() : config + "/ivi/configuration-store.xml",
                                    std::string("/etc/ivi/configuration-store.xml")})
        if (!path.empty() && Exists(path)) return path;
    return {};
}

LoadResult LoadStore(const std::string& path) {
    if (path.empty() || !Exists(path)) return {};
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) return {true, {}, path + ": cannot be read"};
    return ParseStore(text.str(), path);
}

LoadResult ParseStore(std::string_view text, const std::string& name) {
    LoadResult result{true, {}, {}};
    Reader reader(text, name);
    try {
        reader.CheckText();
        pugi::xml_document document;
        // Every node kind is parsed (and must be well-formed), as the store's editor parses them.
        const pugi::xml_parse_result parsed =
            document.load_buffer(text.data(), text.size(), pugi::parse_full, pugi::encoding_utf8);
        if (!parsed) reader.Fail(parsed.offset, std::string("not well-formed XML: ") + parsed.description());
        reader.CheckDecoded(document.document_element());
        const pugi::xml_node root = document.document_element();
        if (std::string_view(root.name()) != "IviConfigurationStore")
            reader.Fail(root.offset_debug(), std::string("the root element is <") + root.name() +
                                                 ">, not <IviConfigurationStore>");
        Store& store = result.store;
        for (const pugi::xml_node& node : root.children()) {
            if (node.type() != pugi::node_element) continue;
            const std::string_view kind = node.name();
            if (kind == "SoftwareModule") {
                SoftwareModule m{reader.Required(node, "name"), node.attribute("prefix").value(),
                                 node.attribute("modulePath").value(), node.attribute("progId").value(), {}, {}};
                for (const pugi::xml_node& child : node.children()) {
                    if (child.type() != pugi::node_element) continue;
                    if (std::string_view(child.name()) == "PhysicalNames") {
                        std::vector<std::string> names;
                        for (const pugi::xml_node& n : child.children("Name")) names.emplace_back(n.text().get());
                        m.physicalNames.emplace_back(reader.Required(child, "repCap"), std::move(names));
                    } else {
                        m.dataComponents.push_back(reader.Component(child));
                    }
                }
                store.modules.push_back(std::move(m));
            } else if (kind == "HardwareAsset") {
                store.assets.push_back({reader.Required(node, "name"), node.attribute("resourceDescriptor").value()});
            } else if (kind == "DriverSession") {
                DriverSession s;
                s.name = reader.Required(node, "name");
                s.softwareModule = node.attribute("softwareModule").value();
                s.hardwareAsset = node.attribute("hardwareAsset").value();
                for (const SessionFlag& flag : kSessionFlags)
                    s.*flag.member = reader.Boolean(node, flag.attribute, DriverSession{}.*flag.member);
                s.driverSetup = node.attribute("driverSetup").value();
                for (const pugi::xml_node& child : node.children()) {
                    if (child.type() != pugi::node_element) continue;
                    if (std::string_view(child.name()) == "VirtualName") {
                        VirtualName v{reader.Required(child, "name"), reader.Required(child, "mapTo"), {}};
                        for (const pugi::xml_node& r : child.children("Range")) {
                            VirtualRange range{reader.Number(r, "min"), reader.Number(r, "max"),
                                               reader.Number(r, "startingPhysicalIndex")};
                            if (range.max < range.min)
                                reader.Fail(r.offset_debug(), "the range runs from " + std::to_string(range.min) +
                                                                  " down to " + std::to_string(range.max));
                            // Every name of the range maps to an index that must fit as well.
                            if (static_cast<__int128>(range.startingPhysicalIndex) + range.max - range.min >
                                std::numeric_limits<std::int64_t>::max())
                                reader.Fail(r.offset_debug(), "the range's last physical index is beyond " +
                                                                  std::to_string(std::numeric_limits<std::int64_t>::max()));
                            v.ranges.push_back(range);
                        }
                        s.virtualNames.push_back(std::move(v));
                    } else {
                        s.dataComponents.push_back(reader.Component(child));
                    }
                }
                store.sessions.push_back(std::move(s));
            } else if (kind == "LogicalName") {
                store.logicalNames.push_back({reader.Required(node, "name"), reader.Required(node, "session")});
            } else {
                reader.Fail(node.offset_debug(), "<" + std::string(kind) + "> is not part of a configuration store");
            }
        }
        // References must lead somewhere.
        store.BuildIndex();
        for (const DriverSession& s : store.sessions) {
            if (!s.hardwareAsset.empty() && !store.FindAsset(s.hardwareAsset))
                throw std::runtime_error(name + ": session \"" + s.name + "\" names the unknown hardware asset \"" +
                                         s.hardwareAsset + "\"");
            if (!s.softwareModule.empty() && !store.FindModule(s.softwareModule))
                throw std::runtime_error(name + ": session \"" + s.name + "\" names the unknown software module \"" +
                                         s.softwareModule + "\"");
        }
        for (const LogicalName& l : store.logicalNames) {
            if (!store.FindSession(l.session) || !Same(store.FindSession(l.session)->name, l.session))
                throw std::runtime_error(name + ": logical name \"" + l.name + "\" names the unknown session \"" +
                                         l.session + "\"");
        }
    } catch (const std::exception& e) {
        result.error = e.what();
        result.store = {};
    }
    return result;
}

std::string SerializeStore(const Store& store) {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("IviConfigurationStore");
    for (const SoftwareModule& m : store.modules) {
        pugi::xml_node node = root.append_child("SoftwareModule");
        node.append_attribute("name") = m.name.c_str();
        node.append_attribute("prefix") = m.prefix.c_str();
        node.append_attribute("modulePath") = m.modulePath.c_str();
        node.append_attribute("progId") = m.progId.c_str();
        for (const auto& [repCap, names] : m.physicalNames) {
            pugi::xml_node list = node.append_child("PhysicalNames");
            list.append_attribute("repCap") = repCap.c_str();
            for (const std::string& n : names) list.append_child("Name").text() = n.c_str();
        }
        for (const DataComponent& c : m.dataComponents) WriteComponent(node, c);
    }
    for (const HardwareAsset& a : store.assets) {
        pugi::xml_node node = root.append_child("HardwareAsset");
        node.append_attribute("name") = a.name.c_str();
        node.append_attribute("resourceDescriptor") = a.resourceDescriptor.c_str();
    }
    for (const DriverSession& s : store.sessions) {
        pugi::xml_node node = root.append_child("DriverSession");
        node.append_attribute("name") = s.name.c_str();
        node.append_attribute("softwareModule") = s.softwareModule.c_str();
        node.append_attribute("hardwareAsset") = s.hardwareAsset.c_str();
        for (const SessionFlag& flag : kSessionFlags) node.append_attribute(flag.attribute) = s.*flag.member;
        node.append_attribute("driverSetup") = s.driverSetup.c_str();
        for (const VirtualName& v : s.virtualNames) {
            pugi::xml_node vn = node.append_child("VirtualName");
            vn.append_attribute("name") = v.name.c_str();
            vn.append_attribute("mapTo") = v.mapTo.c_str();
            for (const VirtualRange& r : v.ranges) {
                pugi::xml_node rn = vn.append_child("Range");
                rn.append_attribute("min") = r.min;
                rn.append_attribute("max") = r.max;
                rn.append_attribute("startingPhysicalIndex") = r.startingPhysicalIndex;
            }
        }
        for (const DataComponent& c : s.dataComponents) WriteComponent(node, c);
    }
    for (const LogicalName& l : store.logicalNames) {
        pugi::xml_node node = root.append_child("LogicalName");
        node.append_attribute("name") = l.name.c_str();
        node.append_attribute("session") = l.session.c_str();
    }
    std::ostringstream out;
    document.save(out, "  ");
    return out.str();
}

const DataComponent* InitialSettings(const std::vector<DataComponent>& components) {
    for (const DataComponent& c : components)
        if (Same(c.type, "Structure") && Same(c.name, "Configurable Initial Settings")) return &c;
    return nullptr;
}

}  // namespace zpv::config
