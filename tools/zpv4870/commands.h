// The commands of the zpv4870 tool. Each returns the exit status: 0 done, 1 the instrument or the
// driver failed (Failure), 2 a usage error (UsageError).
#pragma once

#include <stdexcept>
#include <optional>
#include <string>
#include <vector>

#include "c_session.h"

namespace zpv::cli {

// A mistake in what the user typed or wrote: exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Common {
    SessionOptions session;
    bool json = false;
};

int Identify(const Common& common);
// A name may be a group ("OutputPhase1", "ManualMode"): all its attributes; "" is every attribute.
// An attribute of a group that cannot be read is shown with why, and the exit status is 1.
int Get(const Common& common, const std::vector<std::string>& names);
int Set(const Common& common, const std::vector<std::string>& assignments);
int ListAttributes(const Common& common, const std::string& filter);
int Measure(const Common& common, double watchSeconds, const std::string& csvPath);
// On an interrupt or a failure mid-run the output is switched off unless leaveOn; an interrupt
// writes the results finished so far and returns 130.
int RunListProgram(const Common& common, const std::string& programPath, const std::string& csvPath, bool leaveOn);
int DrainErrors(const Common& common);
// Each command sent as typed, the answer of a query printed; the first one the instrument refuses
// fails with its own words, and nothing after it is sent.
int Scpi(const Common& common, const std::vector<std::string>& commands);
// The same at a prompt (line editing and history on a terminal; lines as they come from a pipe),
// going on after a refusal or failure. SIGTERM or a hang-up switches the output off.
int ScpiPrompt(const Common& common);
int Reset(const Common& common);
// The instruments on the LAN (VXI-11 broadcast, and DNS-SD with mdns) and on this machine.
int Find(const Common& common, double timeoutSeconds, bool mdns);
int ViewTrace(const Common& common, const std::string& tracePath, std::string htmlPath);

// A change or a look at the configuration store.
struct ConfigRequest {
    std::string action;  // path, show, validate, set-asset, set-session, set-name, remove-...
    std::string store;   // --store: this file instead of the one in use
    std::string name, value;
    // set-session changes only what it is given.
    std::optional<std::string> asset, model, driverSetup;
    std::optional<bool> simulate;
};
int Configure(const Common& common, const ConfigRequest& request);
int Register(const Common& common, bool perUser, bool unregister);

struct PanelOptions {
    std::string listen = "127.0.0.1";
    int port = 0;  // 0: a free one
    bool allowRemote = false;
    bool open = false;
    bool offOnExit = false;
};
// The soft front panel: a web page for the session until Ctrl-C; prints "Panel: <address>".
int Panel(const Common& common, const PanelOptions& options);

}  // namespace zpv::cli
