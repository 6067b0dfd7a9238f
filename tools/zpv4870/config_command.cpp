// config: the configuration store from the shell - where it is, what it holds, and changes to its
// hardware assets, driver sessions and logical names (each one locked, atomic write).
#include <strings.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "commands.h"
#include "output.h"
#include "platform/config/store_file.h"

namespace zpv::cli {

namespace {

bool Same(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

// The store in use, or where a new one goes: ZPV4870_CONFIG_STORE, then the user's own.
std::string StoreFile(const ConfigRequest& request) {
    if (!request.store.empty()) return request.store;
    if (std::string found = config::StorePath(); !found.empty()) return found;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::string base = xdg && *xdg ? xdg : std::string(home ? home : ".") + "/.config";
    return base + "/ivi/configuration-store.xml";
}

// Every store the driver reads needs its software module.
void EnsureModule(config::Store& store) {
    if (store.FindModule("ZPV4870")) return;
    store.modules.push_back({"ZPV4870", "ZPV4870", "libzpv4870.so.1", "ZPV4870.ZPV4870", {{"OutputPhase", {"OutputPhase1"}}}, {}});
}

template <class T>
void Remove(std::vector<T>& list, const std::string& name, const char* what) {
    const auto before = list.size();
    std::erase_if(list, [&](const T& item) { return Same(item.name, name); });
    if (list.size() == before) throw std::runtime_error(std::string("there is no ") + what + " \"" + name + "\"");
}

template <class T>
T& Upsert(std::vector<T>& list, const std::string& name) {
    for (T& item : list)
        if (Same(item.name, name)) return item;
    list.push_back({});
    list.back().name = name;
    return list.back();
}

void Edit(const std::string& path, const std::function<void(config::Store&)>& change) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (std::string error = config::EditStore(path, change); !error.empty()) throw Failure(error);
}

int Show(const Common& common, const std::string& path) {
    const config::LoadResult loaded = config::LoadStore(path);
    if (!loaded.error.empty()) throw Failure(loaded.error);
    const config::Store& s = loaded.store;
    if (common.json) {
        std::vector<std::string> assets, sessions, names;
        for (const auto& a : s.assets)
            assets.push_back(JsonObject({{"name", JsonString(a.name)}, {"resourceDescriptor", JsonString(a.resourceDescriptor)}}));
        for (const auto& d : s.sessions)
            sessions.push_back(JsonObject({{"name", JsonString(d.name)},
                                           {"hardwareAsset", JsonString(d.hardwareAsset)},
                                           {"simulate", d.simulate ? "true" : "false"},
                                           {"driverSetup", JsonString(d.driverSetup)}}));
        for (const auto& l : s.logicalNames)
            names.push_back(JsonObject({{"name", JsonString(l.name)}, {"session", JsonString(l.session)}}));
        std::printf("%s\n", JsonObject({{"store", JsonString(path)},
                                        {"hardwareAssets", JsonArray(assets)},
                                        {"driverSessions", JsonArray(sessions)},
                                        {"logicalNames", JsonArray(names)}})
                                .c_str());
        return 0;
    }
    std::printf("Store: %s%s\n", path.c_str(), loaded.found ? "" : " (not created yet)");
    std::vector<std::vector<std::string>> rows{{"KIND", "NAME", "WHAT"}};
    for (const auto& a : s.assets) rows.push_back({"hardware asset", a.name, a.resourceDescriptor});
    for (const auto& d : s.sessions)
        rows.push_back({"driver session", d.name,
                        (d.hardwareAsset.empty() ? std::string("no asset") : "asset " + d.hardwareAsset) +
                            (d.simulate ? ", simulated" : "") + (d.driverSetup.empty() ? "" : ", " + d.driverSetup)});
    for (const auto& l : s.logicalNames) rows.push_back({"logical name", l.name, "session " + l.session});
    std::fputs(Table(rows).c_str(), stdout);
    return 0;
}

}  // namespace

int Configure(const Common& common, const ConfigRequest& r) {
    const std::string path = StoreFile(r);
    if (r.action == "path") {
        std::printf("%s\n", common.json ? JsonObject({{"store", JsonString(path)}}).c_str() : path.c_str());
        return 0;
    }
    if (r.action == "show") return Show(common, path);
    if (r.action == "validate") {
        const config::LoadResult loaded = config::LoadStore(path);
        if (!loaded.error.empty()) throw Failure(loaded.error);
        if (!loaded.found) throw Failure(path + ": there is no store file");
        std::printf("%s is a valid configuration store: %zu sessions, %zu hardware assets, %zu logical names\n",
                    path.c_str(), loaded.store.sessions.size(), loaded.store.assets.size(),
                    loaded.store.logicalNames.size());
        return 0;
    }
    if (r.action == "set-asset") {
        Edit(path, [&](config::Store& s) {
            EnsureModule(s);
            Upsert(s.assets, r.name).resourceDescriptor = r.value;
        });
    } else if (r.action == "set-session") {
        Edit(path, [&](config::Store& s) {
            EnsureModule(s);
            if (!r.asset.empty() && !s.FindAsset(r.asset))
                throw std::runtime_error("there is no hardware asset \"" + r.asset + "\"");
            config::DriverSession& d = Upsert(s.sessions, r.name);
            d.softwareModule = "ZPV4870";
            d.hardwareAsset = r.asset;
            d.simulate = r.simulate;
            d.driverSetup = r.driverSetup;
            std::erase_if(d.dataComponents, [](const config::DataComponent& c) {
                return Same(c.name, "Configurable Initial Settings");
            });
            if (!r.model.empty())
                d.dataComponents.push_back({"Configurable Initial Settings", "Structure", "", {{"Model", "String", r.model, {}}}});
        });
    } else if (r.action == "set-name") {
        Edit(path, [&](config::Store& s) {
            if (!s.FindSession(r.value) || s.FindSession(r.value)->name.empty())
                throw std::runtime_error("there is no driver session \"" + r.value + "\"");
            Upsert(s.logicalNames, r.name).session = s.FindSession(r.value)->name;
        });
    } else if (r.action == "remove-asset") {
        Edit(path, [&](config::Store& s) {
            for (const auto& d : s.sessions)
                if (Same(d.hardwareAsset, r.name))
                    throw std::runtime_error("session \"" + d.name + "\" still uses the hardware asset \"" + r.name + "\"");
            Remove(s.assets, r.name, "hardware asset");
        });
    } else if (r.action == "remove-session") {
        Edit(path, [&](config::Store& s) {
            Remove(s.sessions, r.name, "driver session");
            std::erase_if(s.logicalNames, [&](const config::LogicalName& l) { return Same(l.session, r.name); });
        });
    } else if (r.action == "remove-name") {
        Edit(path, [&](config::Store& s) { Remove(s.logicalNames, r.name, "logical name"); });
    } else {
        throw UsageError("unknown config action " + r.action);
    }
    if (common.json) std::printf("%s\n", JsonObject({{"store", JsonString(path)}, {"changed", "true"}}).c_str());
    else std::printf("%s: %s %s\n", path.c_str(), r.action.c_str(), r.name.c_str());
    return 0;
}

}  // namespace zpv::cli
