// A small file-backed registry in place of the system registry: keys with named text values in a
// readable text file, one for the machine (ZPV4870_REGISTRY, else /etc/zpv4870/registry) and one
// per user ($XDG_CONFIG_HOME, else ~/.config, /zpv4870/registry).
//
//   [HKEY_CLASSES_ROOT\CLSID\{B6FC55D8-7152-4F6D-BFC7-57C38ED91EA9}\InprocServer32]
//   @="/usr/lib/libzpv4870.so.1.0.0"
//   "ThreadingModel"="Both"
//
// HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE live in the machine file, HKEY_CURRENT_USER in the
// user's. Reading HKEY_CLASSES_ROOT looks in HKEY_CURRENT_USER\Software\Classes first, as the
// system registry merges them. Key names compare in any letter case.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zpv::registry {

enum class Scope { Machine, User };

struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const;
};
using Values = std::map<std::string, std::string, NoCase>;  // "" is the key's default value
using Keys = std::map<std::string, Values, NoCase>;         // full key path -> values

std::string FilePath(Scope scope);
Keys Parse(std::string_view text);
std::string Serialize(const Keys& keys);

// A value of a key ("HKEY_CLASSES_ROOT\\ZPV4870.ZPV4870\\CLSID", "" for its default); nullopt
// when the key or value is missing.
std::optional<std::string> ReadValue(std::string_view key, std::string_view name);

// Changes one scope's file under its lock, replacing it in one step. Returns the error, empty on success.
std::string Change(Scope scope, const std::function<void(Keys&)>& change);

// Removes a key and every key below it.
void DeleteTree(Keys& keys, std::string_view key);

// The IVI root directory: "IviStandardRootDir" under HKEY_LOCAL_MACHINE\SOFTWARE\IVI, at most 260
// bytes; empty when it is not there.
std::string IviStandardRootDir();

}  // namespace zpv::registry
