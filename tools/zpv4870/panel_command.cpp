// panel: the soft front panel, a web page for one instrument session, until Ctrl-C.
#include <arpa/inet.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "commands.h"
#include "interrupts.h"
#include "panel/panel_server.h"

extern char** environ;

namespace zpv::cli {

namespace {

// 128 random bits as hex: the key every request of the page carries.
std::string NewToken() {
    std::random_device random;
    std::string token;
    for (int i = 0; i < 4; ++i) {
        char word[9];
        std::snprintf(word, sizeof word, "%08x", static_cast<unsigned>(random()));
        token += word;
    }
    return token;
}

bool IsLoopback(const std::string& address) {
    in_addr v4{};
    if (::inet_pton(AF_INET, address.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
    return address == "::1" || address == "localhost";
}

void OpenBrowser(const std::string& url) {
    const char* argv[] = {"xdg-open", url.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        std::fprintf(stderr, "zpv4870: could not start the browser (xdg-open); open the address above\n");
}

}  // namespace

int Panel(const Common& common, const PanelOptions& options) {
    if (!IsLoopback(options.listen) && !options.allowRemote)
        throw UsageError("refusing to listen on " + options.listen +
                         ": the panel would answer other machines; add --allow-remote if that is meant");
    if (options.port < 0 || options.port > 65535) throw UsageError("--port takes 0 to 65535");
    PanelServer server(common.session, NewToken());
    const std::uint16_t port = server.Start(options.listen, static_cast<std::uint16_t>(options.port));
    const std::string host = options.listen == "0.0.0.0" ? "127.0.0.1" : options.listen;
    const std::string url = "http://" + (host.find(':') != std::string::npos ? "[" + host + "]" : host) + ":" +
                            std::to_string(port) + "/?token=" + server.Token();
    std::printf("Panel: %s\n", url.c_str());
    std::fflush(stdout);
    if (options.open) OpenBrowser(url);
    CatchInterrupts();
    while (!Interrupted()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    server.Stop();
    if (options.offOnExit) {
        std::string why;
        const bool off = server.SwitchOutputsOff(&why);
        std::fprintf(stderr, "zpv4870: the outputs %s\n",
                     off ? "were switched off" : ("could NOT all be switched off (" + why + "): switch them off by hand").c_str());
        return off ? 0 : 1;
    }
    return 0;
}

}  // namespace zpv::cli
