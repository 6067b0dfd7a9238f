// An open VISA-like resource as the I/O session's connection: statuses become HRESULTs, failures
// are reported with the transport's own description, and the session's timeout rule is applied.
#pragma once

#include <memory>

#include "errors/error_reporter.h"
#include "io/instrument_connection.h"
#include "io/instrument_connector.h"
#include "platform/visa/message_session.h"
#include "platform/visa/resource_manager.h"
#include "platform/visa/session_attribute_ids.h"

namespace zpv::io {

class VisaConnection final : public IInstrumentConnection {
public:
    VisaConnection(std::unique_ptr<visa::MessageSession> session, errors::IErrorReporter& reporter);
    ~VisaConnection() override;

    HRESULT Read(BYTE* buffer, LONG count, LONG* actual, LONG timeoutMs) override;
    HRESULT Write(const BYTE* data, LONG count, LONG* written, LONG timeoutMs) override;

    HRESULT GetAttributes(SessionAttributes* attributes) override;
    HRESULT SetAttributes(const SessionAttributes& attributes) override;

    HRESULT Close() override;
    HRESULT ReadStatusByte(SHORT* statusByte) override;
    HRESULT Lock(LockMode mode, LONG timeoutMs, std::string_view requestedKey, std::string* accessKey) override;
    HRESULT Unlock() override;
    HRESULT DiscardLateInput() override;
    HRESULT GetInterfaceType(InterfaceType* type) override;
    HRESULT GetResourceClass(std::string* resourceClass) override;
    HRESULT GetResourceName(std::string* resourceName) override;

    // A VISA attribute by identifier; the transport's status is reported when it cannot answer.
    HRESULT ReadAttribute(visa::ViAttr id, visa::AttributeValue* value);

    // Serial line settings, in the order given, by attribute.
    HRESULT SetSerialAttribute(visa::SerialAttribute attribute, ULONG value);

private:
    // S_OK for the successes, the reported failure otherwise.
    HRESULT Check(visa::ViStatus status);
    // Runs op with timeoutMs in force (kUseSessionTimeout: the session's), restoring it afterwards.
    template <class Op>
    HRESULT WithTimeout(LONG timeoutMs, Op op);

    std::unique_ptr<visa::MessageSession> session_;
    errors::IErrorReporter& reporter_;
};

// Opens resources through the VISA-like resource manager.
class VisaConnector final : public IInstrumentConnector {
public:
    HRESULT Connect(std::string_view descriptor, LONG openTimeoutMs, errors::IErrorReporter& reporter,
                    std::unique_ptr<IInstrumentConnection>* connection) override;
    // The connection made by the last successful Connect (owned by the session), for the
    // settings only a VISA resource has.
    VisaConnection* Last() const { return last_; }
    void Forget() { last_ = nullptr; }
    // Why the last Connect failed, in the transport's words ("connection refused by ...").
    const std::string& LastFailure() const { return lastFailure_; }

private:
    VisaConnection* last_ = nullptr;
    std::string lastFailure_;
};

}  // namespace zpv::io
