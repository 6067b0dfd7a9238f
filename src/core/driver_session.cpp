// Initialize and Close of a driver session.
#include "core/driver.h"

#include "keywords/enum_command_maps.h"
#include "keywords/model_table.h"
#include "core/option_string.h"

namespace zpv::driver {

namespace {

// Event status register bits that mean the instrument saw an error: query, device-dependent,
// execution and command error.
constexpr long kEsrErrorBits = 0x3C;

// Fills the one "%s" of a detail text.
std::string Formatted(std::string_view format, std::string_view value) {
    std::string out(format);
    if (auto at = out.find("%s"); at != std::string::npos) out.replace(at, 2, value);
    return out;
}

}  // namespace

CDriver::CDriver(DriverConstants constants, std::unique_ptr<errors::CErrorReporter> reporter)
    : constants_(std::move(constants)), reporter_(std::move(reporter)) {}

CDriver::~CDriver() = default;

std::string CDriver::GetOptionValue(std::string_view name) const {
    auto it = optionMap_.find(ToLower(name));
    return it == optionMap_.end() ? std::string() : it->second;
}

std::string CDriver::GetDriverSetupValue(std::string_view name) const {
    auto it = driverSetupMap_.find(ToLower(name));
    return it == driverSetupMap_.end() ? std::string() : it->second;
}

void CDriver::ClearSessionData() {
    resourceDescriptor_.clear();
    logicalName_.clear();
    optionMap_.clear();
    driverSetupMap_.clear();
    driverSetupText_.clear();
    manufacturer_.clear();
    model_.clear();
    serialNumber_.clear();
    firmwareRevision_.clear();
    identityResponse_.clear();
    flags_ = OptionFlags{};
    trace_.Reset();
    initialSettings_.clear();
    virtualNames_.Clear();
}

HRESULT CDriver::ResolveSession(const std::string& resourceName, std::string_view optionString) {
    ClearSessionData();
    // Without a store the resource name is the descriptor and the option string alone sets the options.
    const config::LoadResult store = config::LoadStore(config::StorePath());
    HRESULT hr = S_OK;
    if (!store.error.empty()) {
        hr = reporter_->Report<errors::MessageId::UnrecoverableFailure>("The configuration store cannot be read: " +
                                                                         store.error);
    } else if (store.found) {
        hr = ResolveFromStore(store.store, resourceName, optionString);
    } else {
        resourceDescriptor_ = resourceName;
        hr = ParseOptionString(optionString);
    }
    if (FAILED(hr)) return hr;

    if (flags_.simulate && model_.empty()) model_ = constants_.defaultSimulationModel;
    initialFlags_ = flags_;
    return S_OK;
}

HRESULT CDriver::InitializeSession(const std::string* resourceName, bool idQuery, bool reset,
                                   std::string_view optionString) {
    if (!resourceName) return reporter_->ReportInvalidInteger("Initialize", "ResourceName", 0, "%d");
    if (initialized_) return reporter_->Report<errors::MessageId::AlreadyInitialized>();

    idQueryRequested_ = idQuery;
    resetRequested_ = reset;

    HRESULT hr = ResolveSession(*resourceName, optionString);
    if (FAILED(hr)) return hr;

    if (flags_.interchangeCheck && !constants_.interchangeCheckSupported)
        return reporter_->Report<errors::MessageId::BadOptionValue>("Interchange checking is not supported by the driver.", "True");

    hr = trace_.Prepare(constants_.identifier, *reporter_);
    if (FAILED(hr)) return hr;

    hr = OpenSession(idQuery, reset);
    // A failed Initialize ends its trace with its own record, the failure and why; the next
    // Initialize starts a file of its own.
    if (FAILED(hr)) trace_.MarkClosing();
    return hr;
}

HRESULT CDriver::OpenSession(bool idQuery, bool reset) {
    HRESULT hr = InitializeIo();
    if (FAILED(hr)) return hr;

    initialized_ = true;

    // From here on a failure closes the session again.
    auto fail = [this](HRESULT status) {
        CloseIo();
        initialized_ = false;
        return status;
    };

    if (flags_.queryInstrumentStatus) {
        hr = ClearStatus();
        if (FAILED(hr)) return fail(hr);
    }
    hr = QueryIdentity();
    if (FAILED(hr)) return fail(hr);

    if (idQuery && !IsModelSupported(model_))
        return fail(reporter_->Report<errors::MessageId::IdQueryFailed>(Formatted("Unrecognized model: %s.", model_)));

    hr = BuildNodeTree();
    if (FAILED(hr)) {
        ReleaseNodeTree();
        return fail(hr);
    }

    if (reset && FAILED(ResetThroughInterface())) return fail(reporter_->Report<errors::MessageId::ResetFailed>());
    return S_OK;
}

HRESULT CDriver::InitializeIo() {
    interfaceTypeZero_ = false;
    HRESULT hr = OpenIoSession();
    if (FAILED(hr) || flags_.simulate) return hr;

    // DriverSetup IOTimeout (milliseconds) holds from the first exchange, the identity query
    // included; the System.IOTimeout property changes it later.
    if (const long timeoutMs = ReadLeadingDecimal(GetDriverSetupValue("IOTimeout")); timeoutMs > 0) {
        hr = io_.SetTimeout(timeoutMs);
        if (FAILED(hr)) return hr;
    }

    io::InterfaceType type;
    hr = io_.GetInterfaceType(&type);
    if (FAILED(hr)) return hr;
    if (type == io::InterfaceType::Gpib) interfaceTypeZero_ = true;
    if (type == io::InterfaceType::Serial) {
        io::SerialSettings serial;
        const std::string baud(TrimWhite(GetDriverSetupValue("BaudRate")));
        serial.baudRate = baud.empty() ? 9600 : ReadLeadingDecimal(baud);
        hr = io_.ConfigureSerial(serial);
    }
    return hr;
}

HRESULT CDriver::OpenIoSession() {
    if (flags_.simulate) return S_OK;
    // DriverSetup MaxResponseBytes bounds what one read may take; 0 or nothing: the default.
    const long maxResponse = ReadLeadingDecimal(GetDriverSetupValue("MaxResponseBytes"));
    io_.SetMaxResponseBytes(maxResponse > 0 ? static_cast<std::size_t>(maxResponse) : 0);
    // DriverSetup IoLog=<file> (or "-", standard error) logs every transfer on the wire.
    io_.SetIoLog(std::string(TrimWhite(GetDriverSetupValue("IoLog"))));
    HRESULT hr = io_.Open(resourceDescriptor_, this, reporter_.get(), &keywords::CEnumCommandMaps::Instance(), this);
    if (hr == errors::StatusOfMessage(static_cast<unsigned>(errors::MessageId::ResourceUnknown)).status)
        return reporter_->Report<errors::MessageId::ResourceUnknown>(
            Formatted("Resource descriptor = %s.", resourceDescriptor_) +
            (io_.OpenFailure().empty() ? std::string() : "\r\n" + io_.OpenFailure()));
    return hr;
}

void CDriver::CloseIo() {
    if (!flags_.simulate) io_.Close();
}

HRESULT CDriver::ClearStatus() { return flags_.simulate ? S_OK : io_.Printf("*CLS"); }

std::string_view CDriver::CurrentCallContext() const {
    const MethodInfo* call = CurrentMethodInfo();
    return call ? std::string_view(call->displayName) : std::string_view();
}

HRESULT CDriver::QueryIdentity() {
    if (flags_.simulate) return S_OK;
    std::string answer;
    HRESULT hr = io_.Queryf("*IDN?", "%$Ct", &answer);
    if (FAILED(hr)) return hr;

    identityResponse_ = std::string(TrimWhite(answer));
    std::string* fields[] = {&manufacturer_, &model_, &serialNumber_, &firmwareRevision_};
    for (std::string* field : fields) field->clear();
    std::string_view rest(identityResponse_);
    for (std::string* field : fields) {
        const auto comma = rest.find(',');
        *field = std::string(TrimWhite(rest.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return S_OK;
}

HRESULT CDriver::CloseSession() {
    if (!initialized_) return reporter_->Report<errors::MessageId::NotInitialized>();
    trace_.MarkClosing();
    CloseIo();
    SimulatedValues().Clear();
    initialized_ = false;

    HRESULT hr = S_OK;
    for (repcap::CRepCap* child : AllRepCaps()) {
        hr = child->OnClose();
        if (FAILED(hr)) break;
    }
    if (SUCCEEDED(hr)) hr = OnClose();
    ReleaseNodeTree();
    return hr;
}

HRESULT CDriver::PollInstrumentStatus() {
    if (!flags_.queryInstrumentStatus) return S_OK;
    // The typed query neither polls nor leaves anything behind, so the poll cannot recurse.
    std::string answer;
    const HRESULT hr = io_.QueryValue("*ESR?", &answer);
    if (SUCCEEDED(hr) && (ReadLeadingDecimal(answer) & kEsrErrorBits) == 0) return S_OK;
    return reporter_->Report<errors::MessageId::InstrumentStatus>();
}

}  // namespace zpv::driver
