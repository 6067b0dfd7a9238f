// What a session takes from the configuration store: the driver session a logical name (or a
// session name) stands for, its hardware asset, options, DriverSetup, virtual names and the
// configurable initial settings of the session and its software module.
#include <strings.h>

#include <cctype>
#include <cstdlib>

#include "core/driver.h"

namespace zpv::driver {

namespace {

bool Same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

HRESULT CDriver::ResolveFromStore(const config::Store& store, const std::string& resourceName,
                                  std::string_view optionString) {
    const config::DriverSession* session = store.FindSession(resourceName);
    const config::SoftwareModule* module = nullptr;
    if (session) {
        logicalName_ = resourceName;
        HRESULT hr = LoadDriverConfiguration(store, session);
        if (FAILED(hr)) return hr;
        ReadInitialSettings(session->dataComponents);
        if (!session->softwareModule.empty()) module = store.FindModule(session->softwareModule);
    } else {
        resourceDescriptor_ = resourceName;
        module = store.FindModule(constants_.identifier);
        if (!module)
            return reporter_->Report<errors::MessageId::UnrecoverableFailure>(
                "Software module could not be loaded from the IVI Configuration Store.");
    }
    // The module's settings fill what the session left open.
    if (module) ReadInitialSettings(module->dataComponents);
    if (auto model = initialSettings_.find("model");
        model != initialSettings_.end() && std::holds_alternative<std::string>(model->second))
        model_ = std::get<std::string>(model->second);
    // The option string comes last: it overrides the session's flags.
    return ParseOptionString(optionString);
}

HRESULT CDriver::LoadDriverConfiguration(const config::Store& store, const config::DriverSession* session) {
    if (!session) return reporter_->ReportInvalidInteger("LoadDriverConfiguration", "pDriverSession", 0, "%d");
    virtualNames_.Clear();
    for (const config::VirtualName& v : session->virtualNames) {
        if (v.ranges.empty()) {
            virtualNames_.Add(v.name, v.mapTo);
            continue;
        }
        // "Phase" 1..3 from 1 onto "OutputPhase": Phase1 -> OutputPhase1, ... (the store refuses
        // ranges whose numbers do not fit).
        for (const config::VirtualRange& r : v.ranges)
            virtualNames_.AddRange(v.name, v.mapTo, r.min, r.max, r.startingPhysicalIndex);
    }
    // The store checked when it was read that the asset exists.
    const config::HardwareAsset* asset = session->hardwareAsset.empty() ? nullptr : store.FindAsset(session->hardwareAsset);
    resourceDescriptor_ = asset ? asset->resourceDescriptor : std::string();
    flags_.cache = session->cache;
    flags_.interchangeCheck = session->interchangeCheck;
    flags_.queryInstrumentStatus = session->queryInstrStatus;
    flags_.rangeCheck = session->rangeCheck;
    flags_.recordCoercions = session->recordCoercions;
    flags_.simulate = session->simulate;
    ProcessDriverSetup(session->driverSetup);  // its status is not this step's
    return S_OK;
}

void CDriver::ReadInitialSettings(const std::vector<config::DataComponent>& components) {
    const config::DataComponent* settings = config::InitialSettings(components);
    if (!settings) return;
    for (const config::DataComponent& c : settings->children) {
        const std::string name = Lower(c.name);
        if (initialSettings_.contains(name)) continue;  // the session's own value wins
        if (Same(c.type, "String")) initialSettings_[name] = c.value;
        else if (Same(c.type, "Integer")) initialSettings_[name] = static_cast<LONG>(std::strtol(c.value.c_str(), nullptr, 10));
        else if (Same(c.type, "Real")) initialSettings_[name] = std::strtod(c.value.c_str(), nullptr);
        else if (Same(c.type, "Boolean")) initialSettings_[name] = Same(c.value, "true") || c.value == "1";
        // Structures (APIReference among them) hold no setting.
    }
}

namespace {

template <class T>
bool Read(const std::unordered_map<std::string, std::variant<std::string, LONG, double, bool>>& settings,
          std::string_view name, T& value) {
    const auto it = settings.find(Lower(name));
    if (it == settings.end()) return false;
    std::visit(
        [&](const auto& stored) {
            using S = std::decay_t<decltype(stored)>;
            if constexpr (std::is_same_v<T, std::string>) {
                if constexpr (std::is_same_v<S, std::string>) value = stored;
                else if constexpr (std::is_same_v<S, bool>) value = stored ? "true" : "false";
                else value = std::to_string(stored);
            } else if constexpr (std::is_same_v<S, std::string>) {
                if constexpr (std::is_same_v<T, bool>) value = Same(stored, "true") || stored == "1";
                else value = static_cast<T>(std::strtod(stored.c_str(), nullptr));
            } else {
                value = static_cast<T>(stored);
            }
        },
        it->second);
    return true;
}

}  // namespace

bool CDriver::InitialSetting(std::string_view name, std::string& value) const { return Read(initialSettings_, name, value); }
bool CDriver::InitialSetting(std::string_view name, LONG& value) const { return Read(initialSettings_, name, value); }
bool CDriver::InitialSetting(std::string_view name, double& value) const { return Read(initialSettings_, name, value); }
bool CDriver::InitialSetting(std::string_view name, bool& value) const { return Read(initialSettings_, name, value); }

}  // namespace zpv::driver
