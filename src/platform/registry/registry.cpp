#include "platform/registry/registry.h"

#include <strings.h>

#include <cstdlib>
#include <sstream>

#include "platform/files/locked_file.h"

namespace zpv::registry {

namespace {

constexpr std::string_view kClassesRoot = "HKEY_CLASSES_ROOT\\";
constexpr std::string_view kUserClasses = "HKEY_CURRENT_USER\\Software\\Classes\\";

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && strncasecmp(text.data(), prefix.data(), prefix.size()) == 0;
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c == '\n' ? 'n' : c;
        if (c == '\n') out.insert(out.size() - 1, "\\");
    }
    return out + "\"";
}

// A quoted text from position i; i moves past it.
std::string Unquoted(std::string_view line, std::size_t& i) {
    std::string out;
    for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
            out += line[i] == 'n' ? '\n' : line[i];
        } else {
            out += line[i];
        }
    }
    ++i;
    return out;
}

}  // namespace

bool NoCase::operator()(const std::string& a, const std::string& b) const { return strcasecmp(a.c_str(), b.c_str()) < 0; }

std::string FilePath(Scope scope) {
    if (scope == Scope::Machine) {
        const char* chosen = std::getenv("ZPV4870_REGISTRY");
        return chosen && *chosen ? chosen : "/etc/zpv4870/registry";
    }
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::string base = xdg && *xdg ? xdg : std::string(home ? home : ".") + "/.config";
    return base + "/zpv4870/registry";
}

Keys Parse(std::string_view text) {
    Keys keys;
    Values* current = nullptr;
    std::istringstream in{std::string(text)};
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            current = &keys[line.substr(1, line.size() - 2)];
            continue;
        }
        if (!current) continue;  // a value outside any key means nothing
        std::size_t i = 0;
        std::string name;
        if (line[0] == '@') i = 1;
        else if (line[0] == '"') name = Unquoted(line, i);
        else continue;
        if (i >= line.size() || line[i] != '=' || i + 1 >= line.size() || line[i + 1] != '"') continue;
        ++i;
        (*current)[name] = Unquoted(line, i);
    }
    return keys;
}

std::string Serialize(const Keys& keys) {
    std::string out = "; ZPV4870 registry: [key] sections with \"name\"=\"value\" lines (@ is the default value)\n";
    for (const auto& [key, values] : keys) {
        out += "\n[" + key + "]\n";
        for (const auto& [name, value] : values) out += (name.empty() ? "@" : Quoted(name)) + "=" + Quoted(value) + "\n";
    }
    return out;
}

std::optional<std::string> ReadValue(std::string_view key, std::string_view name) {
    auto look = [&](Scope scope, const std::string& path) -> std::optional<std::string> {
        const auto text = files::ReadFile(FilePath(scope));
        if (!text) return std::nullopt;
        const Keys keys = Parse(*text);
        const auto k = keys.find(path);
        if (k == keys.end()) return std::nullopt;
        const auto v = k->second.find(std::string(name));
        return v == k->second.end() ? std::nullopt : std::optional(v->second);
    };
    if (StartsNoCase(key, kClassesRoot)) {
        if (auto user = look(Scope::User, std::string(kUserClasses) + std::string(key.substr(kClassesRoot.size()))))
            return user;
        return look(Scope::Machine, std::string(key));
    }
    return look(StartsNoCase(key, "HKEY_CURRENT_USER\\") ? Scope::User : Scope::Machine, std::string(key));
}

std::string Change(Scope scope, const std::function<void(Keys&)>& change) {
    return files::UpdateLocked(FilePath(scope), [&](const std::optional<std::string>& current) {
        Keys keys = current ? Parse(*current) : Keys{};
        change(keys);
        return Serialize(keys);
    });
}

void DeleteTree(Keys& keys, std::string_view key) {
    const std::string prefix = std::string(key) + "\\";
    std::erase_if(keys, [&](const auto& entry) {
        return strcasecmp(entry.first.c_str(), std::string(key).c_str()) == 0 || StartsNoCase(entry.first, prefix);
    });
}

std::string IviStandardRootDir() {
    std::string root = ReadValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\IVI", "IviStandardRootDir").value_or("");
    return root.size() > 260 ? std::string() : root;
}

}  // namespace zpv::registry
