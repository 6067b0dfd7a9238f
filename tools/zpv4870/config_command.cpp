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

void Edit(const std::string& path, const std::function<void(config::StoreEdit&)>& change) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (std::string error = config::EditStore(path, change); !error.empty()) throw Failure(error);
}

// The driver's entries need the software module in the store.
void EnsureModule(config::StoreEdit& edit) { edit.EnsureModule("ZPV4870", "OutputPhase", "OutputPhase1"); }

int Show(const Common& common, const std::string& path) {
    const config::LoadResult loaded = config::LoadStore(path);
    if (!loaded.error.empty()) throw Failure(loaded.error);
    const config::Store& s = loaded.store;
    if (common.json) {
        std::vector<std::string> assets, sessions, names;
        for (const auto& a : s.assets)
            assets.push_back(JsonObject({{"name", JsonString(a.name)}, {"resource_descriptor", JsonString(a.resourceDescriptor)}}));
        for (const auto& d : s.sessions)
            sessions.push_back(JsonObject({{"name", JsonString(d.name)},
                                           {"hardware_asset", JsonString(d.hardwareAsset)},
                                           {"simulate", d.simulate ? "true" : "false"},
                                           {"driver_setup", JsonString(d.driverSetup)}}));
        for (const auto& l : s.logicalNames)
            names.push_back(JsonObject({{"name", JsonString(l.name)}, {"session", JsonString(l.session)}}));
        std::printf("%s\n", JsonObject({{"store", JsonString(path)},
                                        {"hardware_assets", JsonArray(assets)},
                                        {"driver_sessions", JsonArray(sessions)},
                                        {"logical_names", JsonArray(names)}})
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
    if (r.action.rfind("set-", 0) == 0 && r.name.empty()) throw UsageError("the NAME of an entry cannot be empty");
    if (r.action == "set-asset") {
        Edit(path, [&](config::StoreEdit& e) {
            EnsureModule(e);
            e.Set("HardwareAsset", r.name, "resourceDescriptor", r.value);
        });
    } else if (r.action == "set-session") {
        Edit(path, [&](config::StoreEdit& e) {
            EnsureModule(e);
            if (r.asset && !r.asset->empty() && !e.Before().FindAsset(*r.asset))
                throw std::runtime_error("there is no hardware asset \"" + *r.asset + "\"");
            if (!e.Has("DriverSession", r.name)) e.Set("DriverSession", r.name, "softwareModule", "ZPV4870");
            if (r.asset) e.Set("DriverSession", r.name, "hardwareAsset", *r.asset);
            if (r.simulate) e.Set("DriverSession", r.name, "simulate", *r.simulate ? "true" : "false");
            if (r.driverSetup) e.Set("DriverSession", r.name, "driverSetup", *r.driverSetup);
            if (r.model) e.SetInitialSetting(r.name, "Model", "String", *r.model);
        });
    } else if (r.action == "set-name") {
        Edit(path, [&](config::StoreEdit& e) {
            const config::DriverSession* session = e.Before().FindSession(r.value);
            if (!session) throw std::runtime_error("there is no driver session \"" + r.value + "\"");
            e.Set("LogicalName", r.name, "session", session->name);
        });
    } else if (r.action == "remove-asset") {
        Edit(path, [&](config::StoreEdit& e) {
            for (const auto& d : e.Before().sessions)
                if (Same(d.hardwareAsset, r.name))
                    throw std::runtime_error("session \"" + d.name + "\" still uses the hardware asset \"" + r.name + "\"");
            if (!e.Remove("HardwareAsset", r.name)) throw std::runtime_error("there is no hardware asset \"" + r.name + "\"");
        });
    } else if (r.action == "remove-session") {
        Edit(path, [&](config::StoreEdit& e) {
            if (!e.Remove("DriverSession", r.name)) throw std::runtime_error("there is no driver session \"" + r.name + "\"");
            e.RemoveWhere("LogicalName", "session", r.name);
        });
    } else if (r.action == "remove-name") {
        Edit(path, [&](config::StoreEdit& e) {
            if (!e.Remove("LogicalName", r.name)) throw std::runtime_error("there is no logical name \"" + r.name + "\"");
        });
    } else {
        throw UsageError("unknown config action " + r.action);
    }
    if (common.json) std::printf("%s\n", JsonObject({{"store", JsonString(path)}, {"changed", "true"}}).c_str());
    else std::printf("%s: %s %s\n", path.c_str(), r.action.c_str(), r.name.c_str());
    return 0;
}

}  // namespace zpv::cli
