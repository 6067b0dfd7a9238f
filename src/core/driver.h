// The driver object's framework part: session state, Initialize/Close, the option string and the
// instrument status poll. The concrete driver class binds it to its interfaces through _Driver<T>.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "core/node.h"
#include "platform/config/config_store.h"
#include "core/rep_cap.h"
#include "core/virtual_names.h"
#include "errors/error_reporter.h"
#include "io/enum_lookup_context.h"
#include "io/instr_error_poller.h"
#include "io/visa_com_session.h"
#include "trace/call_tracer.h"
#include "trace/trace_context.h"
#include "zpv4870_runtime.h"

namespace zpv::driver {

// The six operation options, in this order.
struct OptionFlags {
    bool cache = true;
    bool interchangeCheck = false;
    bool queryInstrumentStatus = false;
    bool rangeCheck = true;
    bool recordCoercions = false;
    bool simulate = false;
};

// Facts about the driver that never change.
struct DriverConstants {
    std::string identifier;
    std::string vendor;
    std::string description;
    std::string revision;
    std::string groupCapabilities;
    std::string supportedModels;
    std::string defaultSimulationModel;
    LONG specificationMajorVersion = 0;
    LONG specificationMinorVersion = 0;
    bool interchangeCheckSupported = false;
    LONG selfTestTimeoutMs = 0;
    LONG disableTimeoutMs = 0;
    LONG resetTimeoutMs = 0;
};

class CDriver : public CNode, public io::IInstrErrorPoller, public io::IEnumLookupContext {
public:
    // Session lifecycle. resourceName null means the caller passed no resource name at all.
    HRESULT InitializeSession(const std::string* resourceName, bool idQuery, bool reset,
                              std::string_view optionString);
    HRESULT CloseSession();

    bool IsInitialized() const { return initialized_; }
    bool IsSimulating() const { return flags_.simulate; }
    const OptionFlags& Options() const { return flags_; }
    OptionFlags& Options() { return flags_; }
    const OptionFlags& InitialOptions() const { return initialFlags_; }
    const DriverConstants& Constants() const { return constants_; }

    // Option and DriverSetup values by name (any letter case); empty when absent.
    std::string GetOptionValue(std::string_view name) const;
    std::string GetDriverSetupValue(std::string_view name) const;
    const std::string& DriverSetupText() const { return driverSetupText_; }

    // Instrument identity; ModelName is empty until Initialize succeeds.
    std::string ModelName() const { return initialized_ ? model_ : std::string(); }
    const std::string& InstrumentManufacturer() const { return manufacturer_; }
    const std::string& InstrumentModelText() const { return model_; }
    const std::string& InstrumentSerialNumber() const { return serialNumber_; }
    const std::string& InstrumentFirmwareRevision() const { return firmwareRevision_; }
    const std::string& IdentityResponse() const { return identityResponse_; }
    const std::string& ResourceDescriptor() const { return resourceDescriptor_; }
    const std::string& LogicalName() const { return logicalName_; }

    errors::IErrorReporter& Reporter() { return *reporter_; }
    io::CVisaComSession& Io() { return io_; }
    trace::CTraceContext& Trace() { return trace_; }
    // The call recorder while a trace file is open; null otherwise, which keeps the frame cheap.
    trace::ICallTracer* Tracer() { return trace_.Recording() ? &trace_ : nullptr; }

    // Option string handling; each returns the first failure's status.
    HRESULT ParseOptionString(std::string_view options);
    HRESULT ProcessInitOption(std::string_view nameIn, std::string_view valueIn);
    HRESULT ProcessDriverSetup(std::string_view driverSetup);
    HRESULT ProcessDriverSetupOption(std::string_view key, std::string_view value);

    // Reads the event status register after an exchange when QueryInstrumentStatus is on.
    HRESULT PollInstrumentStatus() override;

    // "*CLS" unless simulating.
    HRESULT ClearStatus();

    // What an enum keyword lookup needs: the call in progress and the instrument model.
    std::string_view CurrentCallContext() const override;
    std::string_view InstrumentModel() const override { return initialized_ ? model_ : std::string_view(); }

    // Repeated capabilities: the collections created at Initialize, keyed by class name.
    LONG RepCapCount(std::string_view className) const;
    // The object selected by a name: blank on a one-object collection, a virtual name, or a
    // physical name in any letter case. Reports the unknown-selector error.
    HRESULT FindRepCap(std::string_view className, std::string_view name, repcap::CRepCap** node,
                       IUnknown** unknown);
    // The one-based index's name: its virtual name when one maps to it, else its physical name.
    HRESULT RepCapNameAt(std::string_view className, const char* repCapName, LONG index, std::string& name);
    // Every per-instance object, depth first.
    std::vector<repcap::CRepCap*> AllRepCaps() const;

    // Name tables, filled from the configuration store.
    std::string ResolveVirtualName(std::string_view name) const;
    std::string Alias(std::string_view physicalName) const;
    std::string DisplayName(std::string_view repCapName, std::string_view physicalName) const;
    void SetVirtualName(std::string_view virtualName, std::string_view mapped);
    void SetAlias(std::string_view name, std::string_view replacement);

    // The configurable initial settings of the session (or software module) in the configuration
    // store, by name in any letter case. A reader converts to its type and says whether the name
    // exists.
    bool InitialSetting(std::string_view name, std::string& value) const;
    bool InitialSetting(std::string_view name, LONG& value) const;
    bool InitialSetting(std::string_view name, double& value) const;
    bool InitialSetting(std::string_view name, bool& value) const;

    // Invalidates the stored simulated values of the driver and of every per-instance object.
    void InvalidateSimulatedValues();

    // The lock every object of the session holds for a whole member. The objects share one I/O
    // session, and a query is a write and a read that no other member may come between.
    std::recursive_mutex& MemberLock() { return memberLock_; }

protected:
    CDriver(DriverConstants constants, std::unique_ptr<errors::CErrorReporter> reporter);
    ~CDriver() override;

    // Hooks of the concrete driver.
    virtual HRESULT InitializeIo();
    // The object's controlling IUnknown (the outer object's when aggregated): what the
    // per-instance objects' references hold.
    virtual IUnknown* ControllingUnknown() = 0;
    // Runs IIviDriverUtility::Reset through the object's own interface, frame and all.
    virtual HRESULT ResetThroughInterface() = 0;

    void SetReporter(std::unique_ptr<errors::CErrorReporter> reporter) {
        reporter_ = std::move(reporter);
        io_.SetReporter(reporter_.get());
    }

private:
    // The configuration store's part of ResolveSession.
    HRESULT LoadDriverConfiguration(const config::Store& store, const config::DriverSession* session);
    void ReadInitialSettings(const std::vector<config::DataComponent>& components);
    HRESULT ResolveFromStore(const config::Store& store, const std::string& resourceName, std::string_view optionString);

    std::recursive_mutex memberLock_;
    std::unordered_map<std::string, std::variant<std::string, LONG, double, bool>> initialSettings_;
    // The collection's hold on one object: ownership, not a reference, so that the objects do
    // not keep their driver alive through the driver's own collections.
    struct RepCapRef {
        repcap::CRepCap* node = nullptr;
        RepCapRef() = default;
        RepCapRef(RepCapRef&& other) noexcept : node(std::exchange(other.node, nullptr)) {}
        RepCapRef& operator=(RepCapRef&& other) noexcept {
            std::swap(node, other.node);
            return *this;
        }
        ~RepCapRef();
    };
    HRESULT BuildNodeTree();
    HRESULT CreateChildren(CNode& node);
    void ReleaseNodeTree();
    const std::vector<RepCapRef>* Collection(std::string_view className) const;

    HRESULT ResolveSession(const std::string& resourceName, std::string_view optionString);
    HRESULT OpenIoSession();
    // Initialize after the trace is prepared: the I/O session, identity, phases and reset.
    HRESULT OpenSession(bool idQuery, bool reset);
    HRESULT QueryIdentity();
    void CloseIo();
    void ClearSessionData();

    DriverConstants constants_;
    std::unique_ptr<errors::CErrorReporter> reporter_;
    OptionFlags flags_;
    OptionFlags initialFlags_;
    bool resetRequested_ = false;
    bool idQueryRequested_ = false;
    bool initialized_ = false;
    bool interfaceTypeZero_ = false;

    std::string manufacturer_;
    std::string model_;
    std::string serialNumber_;
    std::string firmwareRevision_;
    std::string identityResponse_;
    std::string resourceDescriptor_;
    std::string logicalName_;

    std::map<std::string, std::string> optionMap_;
    std::map<std::string, std::string> driverSetupMap_;
    std::string driverSetupText_;

    std::map<std::string, std::vector<RepCapRef>, std::less<>> collections_;
    VirtualNameTable virtualNames_;
    std::unordered_map<std::string, std::string> aliases_;  // lower-cased name -> replacement

    io::CVisaComSession io_;
    trace::CTraceContext trace_;
};

// Binds the framework to a concrete driver class T.
template <class T>
class _Driver : public CDriver {
protected:
    using CDriver::CDriver;
};

}  // namespace zpv::driver
