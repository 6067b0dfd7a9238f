// The simulator served over every LAN protocol on loopback for the transport tests: one instrument
// behind SOCKET, VXI-11 (with its own portmapper, which the client finds through the environment)
// and HiSLIP.
#pragma once

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/visa/portmapper_client.h"
#include "platform/visa/resource_manager.h"
#include "zpv4870sim/hislip_server.h"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/instrument_lock.h"
#include "zpv4870sim/portmapper.h"
#include "zpv4870sim/socket_server.h"
#include "zpv4870sim/vxi11_server.h"

namespace zpv::visa::testing {

using Clock = std::chrono::steady_clock;

inline long ElapsedMs(Clock::time_point since) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

// A session opened through the resource manager; the test fails (with the manager's reason) if not.
inline std::unique_ptr<MessageSession> OpenOrFail(const std::string& name) {
    ResourceManager manager;
    std::unique_ptr<MessageSession> session;
    EXPECT_EQ(manager.Open(name, 2000, &session), VI_SUCCESS) << manager.ErrorDetail();
    return session;
}

inline ViStatus Send(MessageSession& session, const std::string& text) {
    return session.Write(text.data(), text.size(), nullptr, true);
}

inline ViStatus ReadText(MessageSession& session, std::size_t count, std::string* text) {
    std::string buffer(count, '\0');
    std::size_t returned = 0;
    ViStatus status = session.Read(buffer.data(), count, &returned);
    *text = buffer.substr(0, returned);
    return status;
}


struct LanSimulatorOptions {
    sim::Vxi11Options vxi11;
    sim::HislipOptions hislip;
};

class LanSimulator {
public:
    explicit LanSimulator(LanSimulatorOptions options = {})
        : socket_(instrument_),
          vxi11_(instrument_, options.vxi11, &lock_),
          hislip_(instrument_, options.hislip, &lock_) {
        socket_.Start(0);
        vxi11_.Start(0);
        hislip_.Start(0);
        portmapper_.Start(0);
        portmapper_.Set(sim::Vxi11Server::kCoreProgram, sim::Vxi11Server::kVersion, sim::Portmapper::kTcp,
                        vxi11_.Port());
        ::setenv(kPortmapperPortVariable, std::to_string(portmapper_.Port()).c_str(), 1);
    }
    ~LanSimulator() { ::unsetenv(kPortmapperPortVariable); }

    sim::Instrument& Instrument() { return instrument_; }
    sim::Vxi11Server& Vxi11() { return vxi11_; }
    sim::HislipServer& Hislip() { return hislip_; }
    sim::Portmapper& Portmapper() { return portmapper_; }

    std::string SocketName(int board = 0) const {
        return "TCPIP" + std::to_string(board) + "::127.0.0.1::" + std::to_string(socket_.Port()) + "::SOCKET";
    }
    // Different board numbers name different resources to the local lock table, so two sessions
    // of one process meet only in the instrument's own lock.
    std::string Vxi11Name(int board = 0) const { return "TCPIP" + std::to_string(board) + "::127.0.0.1::inst0::INSTR"; }
    std::string HislipName(int board = 0) const {
        return "TCPIP" + std::to_string(board) + "::127.0.0.1::hislip0," + std::to_string(hislip_.Port()) + "::INSTR";
    }

private:
    sim::Instrument instrument_;
    sim::InstrumentLock lock_;
    sim::SocketServer socket_;
    sim::Vxi11Server vxi11_;
    sim::HislipServer hislip_;
    sim::Portmapper portmapper_;
};

}  // namespace zpv::visa::testing
