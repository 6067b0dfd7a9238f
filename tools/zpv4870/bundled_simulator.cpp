#include "bundled_simulator.h"

#include <stdexcept>
#include <system_error>

#include "commands.h"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/socket_server.h"

namespace zpv::cli {

struct BundledSimulator::Running {
    explicit Running(sim::InstrumentOptions options) : instrument(std::move(options)), server(instrument) {}
    sim::Instrument instrument;
    sim::SocketServer server;
};

namespace {

sim::InstrumentOptions OptionsFor(const std::string& model) {
    sim::InstrumentOptions options;
    if (!model.empty()) options.model = model;
    return options;
}

}  // namespace

BundledSimulator::BundledSimulator(const std::string& model) {
    try {
        running_ = std::make_unique<Running>(OptionsFor(model));
    } catch (const std::invalid_argument&) {
        throw UsageError("--model " + model + " is not one of the twelve models (zpv4870 identify --simulate lists them)");
    }
    try {
        running_->server.Start(0);
    } catch (const std::system_error& e) {
        throw Failure(std::string("the bundled simulator could not listen on a loopback port: ") + e.what());
    }
}

BundledSimulator::~BundledSimulator() {
    if (running_) running_->server.Stop();
}

std::string BundledSimulator::Resource() const {
    return "TCPIP0::127.0.0.1::" + std::to_string(running_->server.Port()) + "::SOCKET";
}

}  // namespace zpv::cli
