// zpv4870-sim: the simulated instrument as a program, serving TCP and optionally a pseudo-terminal.
#include <signal.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "zpv4870sim/instrument.h"
#include "zpv4870sim/lan_endpoints.h"
#include "zpv4870sim/models.h"
#include "zpv4870sim/pty_server.h"
#include "zpv4870sim/service_announcer.h"
#include "zpv4870sim/socket_server.h"

namespace {

using zpv::sim::InstrumentOptions;

constexpr const char* kUsage =
    "usage: zpv4870-sim [options]\n"
    "  --listen ADDRESS  IPv4 address every service binds to (default 127.0.0.1)\n"
    "  --port N          TCP port (default 5025; 0 picks a free one)\n"
    "  --no-socket       do not serve TCP\n"
    "  --pty             also serve a pseudo-terminal (its path is printed)\n"
    "  --vxi11           also serve VXI-11, with a portmapper of its own\n"
    "  --vxi11-port N    VXI-11 core channel port (default 0: a free one)\n"
    "  --portmapper-port N  port of that portmapper (default 111; 0 picks a free one)\n"
    "  --rpcbind         register VXI-11 with the system's portmapper on 111 instead\n"
    "  --hislip          also serve HiSLIP\n"
    "  --hislip-port N   HiSLIP port (default 4880; 0 picks a free one)\n"
    "  --model M         one of the twelve models (default ZPV-4803-Advanced)\n"
    "  --serial S        serial number in *IDN?\n"
    "  --firmware F      firmware revision in *IDN?\n"
    "  --delay-ms N      delay every answer by N ms\n"
    "  --drop-after N    close a connection when it sends its (N+1)-th message\n"
    "  --garbage         answer garbage\n"
    "  --oversize N      pad answers with blanks to N bytes\n"
    "  --mute            never answer\n"
    "  --log             print \"log open\", \"log < <message>\" and \"log closed\" lines for every client\n"
    "  --load-ohms R     load impedance in ohms (default 100)\n"
    "  --load-pf PF      load power factor (default 1)\n"
    "  --max-answer-bytes N  the longest answer served (default 67108864); longer: error -225\n"
    "  --max-held-bytes N    answers of all clients held at once (default 268435456)\n"
    "  --max-links N     VXI-11 links one connection may hold (default 16)\n"
    "  --max-queued N    unread answers one VXI-11 link keeps (default 64; more: error -350)\n"
    "  --portmapper-insecure  accept SET and UNSET from any caller, not only privileged ports of this host\n"
    "  --announce        publish the LAN services by DNS-SD through the Avahi daemon\n"
    "Prints \"model <m>\", \"listen <address>\", \"port <n>\", \"pty <path>\", \"vxi11 <n>\",\n"
    "\"portmapper <n>\", \"hislip <n>\" and \"announced\" lines, then serves until SIGINT or SIGTERM.\n";

template <typename T>
std::optional<T> Number(std::string_view text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool PortNumber(std::string_view text, std::uint16_t& port) {
    const auto value = Number<std::uint16_t>(text);
    if (value) port = *value;
    return value.has_value();
}

struct Settings {
    InstrumentOptions instrument;
    long port = 5025;
    bool socket = true;
    bool pty = false;
    bool announce = false;
    zpv::sim::LanOptions lan;
};

// Returns an error text, or nothing when the arguments are good.
std::optional<std::string> ParseArguments(int argc, char** argv, Settings& settings) {
    auto& faults = settings.instrument.faults;
    auto& load = settings.instrument.load;
    for (int i = 1; i < argc; ++i) {
        const std::string_view flag = argv[i];
        const auto value = [&]() -> std::optional<std::string_view> {
            if (i + 1 >= argc) return std::nullopt;
            return std::string_view(argv[++i]);
        };
        bool ok = true;
        if (flag == "--no-socket") settings.socket = false;
        else if (flag == "--pty") settings.pty = true;
        else if (flag == "--vxi11") settings.lan.vxi11 = true;
        else if (flag == "--rpcbind") settings.lan.vxi11 = settings.lan.rpcbind = true;
        else if (flag == "--hislip") settings.lan.hislip = true;
        else if (flag == "--portmapper-insecure") settings.lan.portmapperInsecure = true;
        else if (flag == "--announce") settings.announce = true;
        else if (flag == "--garbage") faults.garbage = true;
        else if (flag == "--mute") faults.mute = true;
        else if (flag == "--log")
            settings.instrument.log = [](std::string_view event) {
                std::printf("log %.*s\n", static_cast<int>(event.size()), event.data());
                std::fflush(stdout);
            };
        else if (flag == "--help" || flag == "-h") return std::string();
        else {
            const auto text = value();
            if (!text) return "missing value after " + std::string(flag);
            if (flag == "--model") settings.instrument.model = *text;
            else if (flag == "--serial") settings.instrument.serial = *text;
            else if (flag == "--firmware") settings.instrument.firmware = *text;
            else if (flag == "--listen") {
                const auto address = zpv::sim::ListenAddress::Parse(*text);
                ok = address.has_value();
                if (ok) settings.lan.listen = *address;
            } else if (flag == "--port") ok = (settings.port = Number<long>(*text).value_or(-1)) >= 0 && settings.port < 65536;
            else if (flag == "--vxi11-port") ok = PortNumber(*text, settings.lan.vxi11Port);
            else if (flag == "--portmapper-port") ok = PortNumber(*text, settings.lan.portmapperPort);
            else if (flag == "--hislip-port") ok = PortNumber(*text, settings.lan.hislipPort);
            else if (flag == "--delay-ms") {
                const auto ms = Number<long>(*text);
                ok = ms && *ms >= 0;
                faults.answerDelay = std::chrono::milliseconds(ms.value_or(0));
            } else if (flag == "--drop-after") ok = (faults.dropAfter = Number<int>(*text).value_or(-1)) >= 0;
            else if (flag == "--max-answer-bytes")
                ok = (settings.instrument.limits.maxAnswerBytes = Number<size_t>(*text).value_or(0)) > 0;
            else if (flag == "--max-held-bytes")
                ok = (settings.instrument.limits.maxHeldBytes = Number<size_t>(*text).value_or(0)) > 0;
            else if (flag == "--max-links")
                ok = (settings.lan.vxi11Options.maxLinksPerConnection = Number<size_t>(*text).value_or(0)) > 0;
            else if (flag == "--max-queued")
                ok = (settings.lan.vxi11Options.maxQueuedAnswers = Number<size_t>(*text).value_or(0)) > 0;
            else if (flag == "--oversize") ok = (faults.oversize = Number<size_t>(*text).value_or(0)) > 0;
            else if (flag == "--load-ohms") ok = (load.impedance = Number<double>(*text).value_or(0)) > 0;
            else if (flag == "--load-pf") {
                load.powerFactor = Number<double>(*text).value_or(0);
                ok = load.powerFactor > 0 && load.powerFactor <= 1;
            } else return "unknown option " + std::string(flag);
            if (!ok) return "bad value for " + std::string(flag) + ": " + std::string(*text);
        }
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    if (const auto error = ParseArguments(argc, argv, settings)) {
        std::fputs(kUsage, error->empty() ? stdout : stderr);
        if (!error->empty()) std::fprintf(stderr, "zpv4870-sim: %s\n", error->c_str());
        return error->empty() ? 0 : 2;
    }

    // Server threads inherit the mask, so only sigwait below sees the stop signals.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    try {
        zpv::sim::Instrument instrument(settings.instrument);
        zpv::sim::SocketServer socket(instrument);
        zpv::sim::PtyServer pty(instrument);
        zpv::sim::LanEndpoints lan(instrument, settings.lan);
        std::printf("model %s\nlisten %s\n", instrument.Model().c_str(), settings.lan.listen.Text().c_str());
        if (settings.socket) {
            socket.Start(static_cast<std::uint16_t>(settings.port), settings.lan.listen);
            std::printf("port %u\n", static_cast<unsigned>(socket.Port()));
        }
        if (settings.pty) {
            pty.Start();
            std::printf("pty %s\n", pty.Path().c_str());
        }
        lan.Start();
        if (settings.lan.vxi11) std::printf("vxi11 %u\nportmapper %u\n", lan.Vxi11Port(), lan.PortmapperPort());
        if (settings.lan.hislip) std::printf("hislip %u\n", lan.HislipPort());
        zpv::sim::ServiceAnnouncer announcer;
        if (settings.announce) {
            std::vector<zpv::sim::AnnouncedService> services;
            if (settings.socket) services.push_back({"_scpi-raw._tcp", socket.Port()});
            if (settings.lan.vxi11) services.push_back({"_vxi-11._tcp", lan.PortmapperPort()});
            if (settings.lan.hislip) services.push_back({"_hislip._tcp", lan.HislipPort()});
            announcer.Start({std::string(zpv::sim::kManufacturer), instrument.Model(), settings.instrument.serial}, std::move(services));
            std::printf("announced\n");
        }
        std::fflush(stdout);
        int received = 0;
        sigwait(&signals, &received);
        lan.Stop();
        pty.Stop();
        socket.Stop();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zpv4870-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
