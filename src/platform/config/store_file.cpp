#include "platform/config/store_file.h"

#include <strings.h>

#include <pugixml.hpp>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "platform/files/locked_file.h"

namespace zpv::config {

namespace {

bool Same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

constexpr const char* kRoot = "IviConfigurationStore";
constexpr const char* kInitialSettings = "Configurable Initial Settings";

pugi::xml_node Named(pugi::xml_node parent, std::string_view kind, std::string_view name) {
    for (pugi::xml_node child : parent.children())
        if (child.type() == pugi::node_element && kind == child.name() && Same(child.attribute("name").value(), name))
            return child;
    return {};
}

// A new child at the end of parent, on a line of its own as the store's own lines are.
pugi::xml_node Append(pugi::xml_node parent, std::string_view kind, int depth) {
    pugi::xml_node last = parent.last_child();
    const std::string indent = "\n" + std::string(static_cast<std::size_t>(depth) * 2, ' ');
    if (last.type() == pugi::node_pcdata && std::string_view(last.value()).find_first_not_of(" \t\r\n") == std::string_view::npos) {
        // Before the whitespace that closes the parent.
        pugi::xml_node child = parent.insert_child_before(std::string(kind).c_str(), last);
        parent.insert_child_before(pugi::node_pcdata, child).set_value(indent.c_str());
        return child;
    }
    parent.append_child(pugi::node_pcdata).set_value(indent.c_str());
    pugi::xml_node child = parent.append_child(std::string(kind).c_str());
    parent.append_child(pugi::node_pcdata).set_value(("\n" + std::string(static_cast<std::size_t>(depth - 1) * 2, ' ')).c_str());
    return child;
}

void RemoveNode(pugi::xml_node node) {
    pugi::xml_node parent = node.parent();
    // The line the entry stood on goes with it.
    if (pugi::xml_node before = node.previous_sibling(); before.type() == pugi::node_pcdata &&
        std::string_view(before.value()).find_first_not_of(" \t\r\n") == std::string_view::npos)
        parent.remove_child(before);
    parent.remove_child(node);
}

}  // namespace

struct StoreEdit::Document {
    pugi::xml_document xml;
    pugi::xml_node Root() { return xml.child(kRoot); }
};

StoreEdit::StoreEdit(const std::optional<std::string>& current, const std::string& path)
    : document_(std::make_unique<Document>()) {
    if (!current) {
        document_->xml.append_child(pugi::node_declaration).append_attribute("version") = "1.0";
        document_->xml.append_child(kRoot).append_child(pugi::node_pcdata).set_value("\n");
        return;
    }
    // Only a store that reads as valid is changed: what the edit keeps must be what Initialize reads.
    LoadResult loaded = ParseStore(*current, path);
    if (!loaded.error.empty()) throw std::runtime_error(loaded.error);
    before_ = std::move(loaded.store);
    before_.BuildIndex();
    const unsigned options = (pugi::parse_full | pugi::parse_ws_pcdata) & ~pugi::parse_eol;
    if (!document_->xml.load_buffer(current->data(), current->size(), options, pugi::encoding_utf8))
        throw std::runtime_error(path + ": cannot be read again");
}

StoreEdit::~StoreEdit() = default;

bool StoreEdit::Has(std::string_view kind, std::string_view name) const {
    return static_cast<bool>(Named(document_->Root(), kind, name));
}

void StoreEdit::Set(std::string_view kind, std::string_view name, const char* attribute, std::string_view value) {
    pugi::xml_node entry = Named(document_->Root(), kind, name);
    if (!entry) {
        entry = Append(document_->Root(), kind, 1);
        entry.append_attribute("name") = std::string(name).c_str();
    }
    pugi::xml_attribute a = entry.attribute(attribute);
    if (!a) a = entry.append_attribute(attribute);
    a.set_value(std::string(value).c_str());
}

bool StoreEdit::Remove(std::string_view kind, std::string_view name) {
    pugi::xml_node entry = Named(document_->Root(), kind, name);
    if (!entry) return false;
    RemoveNode(entry);
    return true;
}

void StoreEdit::RemoveWhere(std::string_view kind, const char* attribute, std::string_view value) {
    for (pugi::xml_node child = document_->Root().first_child(); child;) {
        pugi::xml_node next = child.next_sibling();
        if (child.type() == pugi::node_element && kind == child.name() && Same(child.attribute(attribute).value(), value))
            RemoveNode(child);
        child = next;
    }
}

void StoreEdit::SetInitialSetting(std::string_view session, std::string_view setting, const char* type,
                                  std::string_view value) {
    pugi::xml_node entry = Named(document_->Root(), "DriverSession", session);
    if (!entry) throw std::runtime_error("there is no driver session \"" + std::string(session) + "\"");
    pugi::xml_node settings = Named(entry, "Structure", kInitialSettings);
    if (!settings) {
        settings = Append(entry, "Structure", 2);
        settings.append_attribute("name") = kInitialSettings;
    }
    pugi::xml_node item = Named(settings, "Item", setting);
    if (!item) {
        item = Append(settings, "Item", 3);
        item.append_attribute("name") = std::string(setting).c_str();
    }
    for (const auto& [attribute, text] : {std::pair{"type", std::string(type)}, std::pair{"value", std::string(value)}}) {
        pugi::xml_attribute a = item.attribute(attribute);
        if (!a) a = item.append_attribute(attribute);
        a.set_value(text.c_str());
    }
}

void StoreEdit::EnsureModule(std::string_view name, std::string_view repCap, std::string_view physicalName) {
    if (Has("SoftwareModule", name)) return;
    pugi::xml_node module = Append(document_->Root(), "SoftwareModule", 1);
    module.append_attribute("name") = std::string(name).c_str();
    module.append_attribute("prefix") = std::string(name).c_str();
    module.append_attribute("modulePath") = "libzpv4870.so.1";
    module.append_attribute("progId") = (std::string(name) + "." + std::string(name)).c_str();
    pugi::xml_node names = module.append_child("PhysicalNames");
    names.append_attribute("repCap") = std::string(repCap).c_str();
    names.append_child("Name").text() = std::string(physicalName).c_str();
}

std::string StoreEdit::Text() const {
    std::ostringstream out;
    // As it was laid out: whitespace inside the root is part of the document; the nodes around
    // it (declaration, document type, comments) stand on lines of their own.
    for (pugi::xml_node node : document_->xml.children()) {
        node.print(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
        out << '\n';
    }
    return out.str();
}

std::string EditStore(const std::string& path, const std::function<void(StoreEdit&)>& change) {
    if (path.empty()) return "no configuration store file is named";
    return files::UpdateLocked(path, [&](const std::optional<std::string>& current) {
        StoreEdit edit(current, path);
        change(edit);
        std::string text = edit.Text();
        // The writer never writes what the reader refuses.
        if (const LoadResult check = ParseStore(text, path); !check.error.empty())
            throw std::runtime_error("the change was not written: it would make the store unreadable: " + check.error);
        return text;
    });
}

}  // namespace zpv::config
