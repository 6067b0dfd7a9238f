// The configuration store: driver sessions, hardware assets, software modules and logical names
// in one XML file, modelled on the published object model of the IVI configuration store.
//
//   <IviConfigurationStore>
//     <SoftwareModule name="ZPV4870" prefix="ZPV4870" modulePath="libzpv4870.so.1" progId="ZPV4870.ZPV4870">
//       <PhysicalNames repCap="OutputPhase"><Name>OutputPhase1</Name></PhysicalNames>
//       <Structure name="Configurable Initial Settings"><Item name="model" type="String" value="ZPV-4816-Standard"/></Structure>
//     </SoftwareModule>
//     <HardwareAsset name="Bench1" resourceDescriptor="TCPIP0::192.168.1.20::5025::SOCKET"/>
//     <DriverSession name="Bench1Session" softwareModule="ZPV4870" hardwareAsset="Bench1" simulate="false"
//                    cache="true" rangeCheck="true" queryInstrStatus="false" interchangeCheck="false"
//                    recordCoercions="false" driverSetup="Trace=true">
//       <VirtualName name="Phase" mapTo="OutputPhase"><Range min="1" max="3" startingPhysicalIndex="1"/></VirtualName>
//       <Structure name="Configurable Initial Settings">...</Structure>
//     </DriverSession>
//     <LogicalName name="PowerSource" session="Bench1Session"/>
//   </IviConfigurationStore>
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

namespace zpv::config {

// A data component: a typed item ("String", "Integer", "Real", "Boolean") or a "Structure".
struct DataComponent {
    std::string name;
    std::string type;
    std::string value;
    std::vector<DataComponent> children;
};

struct SoftwareModule {
    std::string name, prefix, modulePath, progId;
    std::vector<std::pair<std::string, std::vector<std::string>>> physicalNames;  // rep cap -> names
    std::vector<DataComponent> dataComponents;
};

struct HardwareAsset {
    std::string name, resourceDescriptor;
};

struct VirtualRange {
    std::int64_t min = 0, max = 0, startingPhysicalIndex = 0;
};

struct VirtualName {
    std::string name, mapTo;
    std::vector<VirtualRange> ranges;
};

struct DriverSession {
    std::string name, softwareModule, hardwareAsset;
    bool cache = true, interchangeCheck = false, queryInstrStatus = false, rangeCheck = true, recordCoercions = false,
         simulate = false;
    std::string driverSetup;
    std::vector<VirtualName> virtualNames;
    std::vector<DataComponent> dataComponents;
};

struct LogicalName {
    std::string name, session;
};

struct Store {
    std::vector<SoftwareModule> modules;
    std::vector<HardwareAsset> assets;
    std::vector<DriverSession> sessions;
    std::vector<LogicalName> logicalNames;

    // A logical name's session, or the session of that name; names compare in any letter case.
    const DriverSession* FindSession(std::string_view name) const;
    const SoftwareModule* FindModule(std::string_view name) const;
    const HardwareAsset* FindAsset(std::string_view name) const;

    // Makes the lookups above take constant time until the lists change (a store of many
    // thousand entries is checked once per Initialize).
    void BuildIndex();

private:
    struct Index {
        std::size_t modules = 0, assets = 0, sessions = 0, logicalNames = 0;  // the sizes indexed
        std::unordered_map<std::string, std::size_t> module, asset, session, logicalName;  // lower-cased name -> place
    };
    bool IndexCurrent() const;
    Index index_;
    bool indexed_ = false;
};

// The store's file: ZPV4870_CONFIG_STORE, else $XDG_CONFIG_HOME (or ~/.config)/ivi/
// configuration-store.xml, else /etc/ivi/configuration-store.xml; the first that exists.
// Empty when there is none (ZPV4870_CONFIG_STORE is returned even when it does not exist yet).
std::string StorePath();

struct LoadResult {
    bool found = false;  // false: no store file at all
    Store store;
    std::string error;   // "<file>:<line>: <what is wrong>" for a store that cannot be read
};

LoadResult LoadStore(const std::string& path);
// The store from XML text; name says where the text came from in errors.
LoadResult ParseStore(std::string_view text, const std::string& name);
std::string SerializeStore(const Store& store);

// The "Configurable Initial Settings" structure among data components, or null.
const DataComponent* InitialSettings(const std::vector<DataComponent>& components);

}  // namespace zpv::config
