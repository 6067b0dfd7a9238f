#include "platform/visa/portmapper_client.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

#include "platform/visa/onc_rpc_client.h"
#include "platform/visa/tcp_connector.h"

namespace zpv::visa {

namespace {

constexpr std::uint32_t kPortmapperProgram = 100000;
constexpr std::uint32_t kPortmapperVersion = 2;
constexpr std::uint32_t kGetPort = 3;
constexpr std::uint32_t kProtocolTcp = 6;

}  // namespace

ViStatus PortmapperPort(ViUInt16* port, std::string* detail) {
    *port = kPortmapperPort;
    const char* text = std::getenv(kPortmapperPortVariable);
    if (!text || !*text) return VI_SUCCESS;
    unsigned value = 0;
    const char* end = text + std::strlen(text);
    auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc() || stop != end || value == 0 || value > 0xFFFF) {
        *detail = std::string(kPortmapperPortVariable) + "='" + text + "' is not a port number.";
        return VI_ERROR_INV_SETUP;
    }
    *port = static_cast<ViUInt16>(value);
    return VI_SUCCESS;
}

ViStatus LookUpRpcPort(const std::string& host, ViUInt16 portmapperPort, std::uint32_t program,
                       std::uint32_t version, const Deadline& deadline, ViUInt16* port, std::string* detail) {
    int fd = -1;
    std::string why;
    ViStatus status = ConnectTcp(host, portmapperPort, deadline, &fd, &why);
    if (Failed(status)) {
        *detail = "no portmapper: " + why;
        return status;
    }
    OncRpcClient portmapper(fd, kPortmapperProgram, kPortmapperVersion);
    std::vector<std::uint8_t> arguments;
    XdrWriter out(arguments);
    out.PutUint32(program);
    out.PutUint32(version);
    out.PutUint32(kProtocolTcp);
    out.PutUint32(0);
    RpcReply reply;
    status = portmapper.Call(kGetPort, arguments, 64, deadline, &reply);
    std::uint32_t answer = 0;
    if (!Failed(status)) {
        XdrReader in = reply.Results();
        if (!in.GetUint32(&answer) || answer > 0xFFFF) {
            status = VI_ERROR_IO;
            why = "its answer is not a port number";
        }
    } else {
        why = portmapper.LastError();
    }
    if (Failed(status)) {
        *detail = "the portmapper failed: " + why;
        return status == VI_ERROR_NSUP_OPER ? VI_ERROR_RSRC_NFOUND : status;
    }
    if (answer == 0) {
        *detail = "the portmapper does not list program " + std::to_string(program) + " version " +
                  std::to_string(version);
        return VI_ERROR_RSRC_NFOUND;
    }
    *port = static_cast<ViUInt16>(answer);
    return VI_SUCCESS;
}

}  // namespace zpv::visa
