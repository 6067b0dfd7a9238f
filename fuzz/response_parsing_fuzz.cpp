// Any bytes an instrument sends, parsed with the response formats the driver uses: the result is a
// value or a clear error, never a crash, a hang or a read past the data.
#include <cstddef>
#include <cstdint>
#include <string>

#include "keywords/enum_command_maps.h"
#include "errors/error_reporter.h"
#include "io/io_session.h"
#include "support/scripted_transport.h"

namespace {

class NoContext : public zpv::io::IEnumLookupContext {
public:
    std::string_view CurrentCallContext() const override { return "IZPV4870ManualMode.Range"; }
    std::string_view InstrumentModel() const override { return "ZPV-4832-Advanced"; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zpv::errors::CErrorReporter reporter(GUID_NULL, nullptr);
    static NoContext context;
    const std::string response(reinterpret_cast<const char*>(data), size);

    zpv::test::ScriptedConnector connector;
    zpv::io::CIoSession session(&reporter, &connector);
    session.SetEnumResolver(&zpv::keywords::CEnumCommandMaps::Instance(), &context);
    if (FAILED(session.Open("TCPIP0::127.0.0.1::5025::SOCKET", nullptr))) return 0;

    double real = 0;
    LONG integer = 0, code = 0, count = 8;
    LONG values[8] = {};
    BYTE block[64] = {};
    LONG blockSize = sizeof block;
    std::string text;
    BSTR wide = nullptr;
    const auto ask = [&](const char* format, auto... destinations) {
        // Split the response in two pieces so reads also see a count-reached boundary.
        connector.transport->Respond(response.substr(0, size / 2), false);
        connector.transport->Respond(response.substr(size / 2), true);
        session.Queryf("Q?", format, destinations...);
        connector.transport->ClearResponses();
    };
    ask("%lg", &real);
    ask("%d", &integer);
    ask("%d,%$Ct", &code, &text);
    ask("%{ZPV4870RangeEnum}s", &integer);
    ask("%$Bs", &wide);
    ask("%#,ld", &count, values);
    ask("%#b", &blockSize, block);
    ask("%$Bt", &wide);
    SysFreeString(wide);
    return 0;
}
