// zpv4870: the driver from a shell. Exit status 0 done, 1 the instrument or the driver failed,
// 2 a usage error.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <optional>

#include "bundled_simulator.h"
#include "completion.h"
#include "commands.h"
#include "output.h"

namespace {

using namespace zpv::cli;

// The options every command that talks to an instrument takes.
void AddSessionOptions(CLI::App* command, Common& common) {
    command->add_option("RESOURCE", common.session.resource,
                        "resource descriptor, e.g. TCPIP0::192.168.1.20::5025::SOCKET, or a logical name "
                        "(none with --simulate)");
    command->add_flag("--simulate", common.session.simulate,
                      "no instrument: the bundled simulator runs inside the tool and every command works on it");
    command->add_option("--model", common.session.model, "the model to simulate, e.g. ZPV-4816-Standard");
    command->add_option("--timeout", common.session.timeoutMs, "I/O timeout in milliseconds")
        ->check(CLI::PositiveNumber);
    command->add_option("--options", common.session.options,
                        "more of the driver's option string, e.g. \"RangeCheck=false\"");
    command->add_flag_callback("--no-status-check", [&common] { common.session.statusCheck = false; },
                               "do not read the instrument's status after every call (on by default)");
}

// A failure on stderr, and under --json also as JSON on stdout, so a script reading stdout sees it.
int Report(const Common& common, const char* what, int status) {
    std::fprintf(stderr, "zpv4870: %s\n", what);
    if (common.json)
        std::printf("%s\n", JsonObject({{"error", JsonString(what)}, {"exit_status", std::to_string(status)}}).c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"zpv4870 - talk to a ZPV4870 AC power source from the shell", "zpv4870"};
    app.set_version_flag("--version", "zpv4870 1.0.0");
    app.require_subcommand(1);
    Common common;
    app.add_flag("--json", common.json, "print one JSON document instead of text for people");
    app.add_option("--io-log", common.session.ioLog,
                   "write every transfer on the wire to FILE (\"-\": standard error): time, session, direction, "
                   "bytes, status");

    std::vector<std::string> names, assignments;
    std::string filter, csv, program;
    double watch = 0;

    auto* identify = app.add_subcommand("identify", "maker, model, serial number, firmware and driver revision");
    AddSessionOptions(identify, common);
    auto* get = app.add_subcommand("get", "read attributes, e.g. OutputPhase1.VoltageLevel ManualMode.Frequency");
    AddSessionOptions(get, common);
    bool all = false;
    auto* getNames = get->add_option("NAME", names, "attribute names, or groups such as OutputPhase1 (zpv4870 attributes lists them)");
    get->add_flag("--all", all, "every attribute")->excludes(getNames);
    auto* set = app.add_subcommand("set", "write attributes, e.g. OutputPhase1.VoltageLevel=230 ManualMode.Range=high");
    AddSessionOptions(set, common);
    set->add_option("NAME=VALUE", assignments, "attributes and their values");
    auto* attributes = app.add_subcommand("attributes", "list the attributes: names, types, access, units, values");
    attributes->add_option("--filter", filter, "only names containing this text (any letter case)");
    auto* measure = app.add_subcommand("measure", "voltage, current, power and frequency per phase");
    AddSessionOptions(measure, common);
    measure->add_option("--watch", watch, "measure again every SECONDS until Ctrl-C")->check(CLI::PositiveNumber);
    measure->add_option("--csv", csv, "also write the readings to this CSV file");
    auto* list = app.add_subcommand("list", "list programs");
    list->require_subcommand(1);
    auto* run = list->add_subcommand("run", "build a list program from a YAML file, run it, show its results");
    AddSessionOptions(run, common);
    run->add_option("PROGRAM", program, "the YAML file of the list program");
    run->add_option("--csv", csv, "also write the results to this CSV file");
    bool leaveOn = false;
    run->add_flag("--leave-on", leaveOn, "on Ctrl-C or a failure mid-run, leave the output as it is (default: off)");
    std::vector<std::string> scpiCommands;
    auto* scpi = app.add_subcommand("scpi", "send commands as typed, e.g. \"OUTP:FREQ 50\" \"OUTP:FREQ?\"; print the answers");
    AddSessionOptions(scpi, common);
    scpi->add_option("COMMAND", scpiCommands, "SCPI commands and queries, each one word (quote it)");
    bool interactive = false;
    scpi->add_flag("-i,--interactive", interactive, "a prompt with line editing and history instead of COMMANDs");
    auto* errors = app.add_subcommand("errors", "read the instrument's error queue until it is empty");
    AddSessionOptions(errors, common);
    auto* reset = app.add_subcommand("reset", "reset the instrument");
    AddSessionOptions(reset, common);
    PanelOptions panelOptions;
    auto* panel = app.add_subcommand("panel", "a front panel in the browser for the instrument, until Ctrl-C");
    AddSessionOptions(panel, common);
    panel->add_option("--listen", panelOptions.listen, "the address to serve on (default 127.0.0.1)");
    panel->add_option("--port", panelOptions.port, "the port (default 0: a free one)");
    panel->add_flag("--allow-remote", panelOptions.allowRemote, "allow --listen on an address other machines reach");
    panel->add_flag("--open", panelOptions.open, "open the page in the desktop's browser");
    panel->add_flag("--off-on-exit", panelOptions.offOnExit, "switch the output off when the panel ends");
    double findSeconds = 1.0;
    bool mdns = false;
    auto* find = app.add_subcommand("find", "list the instruments on the LAN and on this machine, with resource strings");
    find->add_option("--timeout", findSeconds, "seconds to wait for answers (and again for *IDN?)")
        ->check(CLI::Range(0.01, 60.0));
    find->add_flag("--mdns", mdns, "also look for instruments that announce themselves by DNS-SD (Avahi)");
    std::string tracePath, htmlPath;
    auto* trace = app.add_subcommand("trace", "driver traces");
    trace->require_subcommand(1);
    auto* view = trace->add_subcommand("view", "render a trace file as an HTML page (FILE.html unless -o)");
    view->add_option("FILE", tracePath, "the trace, as DriverSetup Trace=true wrote it")->required();
    view->add_option("-o,--output", htmlPath, "the HTML file to write");
    ConfigRequest configRequest;
    auto* configure = app.add_subcommand("config", "the configuration store: logical names, sessions, hardware assets");
    configure->require_subcommand(1);
    configure->add_option("--store", configRequest.store, "this store file instead of the one in use");
    std::vector<CLI::App*> configActions;
    auto action = [&](const char* name, const char* help) {
        CLI::App* a = configure->add_subcommand(name, help);
        a->fallthrough();
        configActions.push_back(a);
        return a;
    };
    action("path", "the store file in use (or where a new one goes)");
    action("show", "the hardware assets, driver sessions and logical names");
    action("validate", "read the store and report the first mistake with its line");
    auto* setAsset = action("set-asset", "add or change a hardware asset: NAME RESOURCE");
    setAsset->add_option("NAME", configRequest.name)->required();
    setAsset->add_option("RESOURCE", configRequest.value)->required();
    auto* setSession = action("set-session", "add or change a driver session");
    setSession->add_option("NAME", configRequest.name)->required();
    // Each option changes its own field; what is not given stays as the store has it.
    setSession->add_option("--asset", configRequest.asset, "the hardware asset it talks to (\"\" for none)");
    setSession->add_flag_callback("--simulate", [&] { configRequest.simulate = true; }, "simulate the instrument");
    setSession->add_flag_callback("--no-simulate", [&] { configRequest.simulate = false; }, "talk to the instrument");
    setSession->add_option("--model", configRequest.model, "the model (an initial setting)");
    setSession->add_option("--driver-setup", configRequest.driverSetup, "the session's DriverSetup text");
    auto* setName = action("set-name", "add or change a logical name: NAME SESSION");
    setName->add_option("NAME", configRequest.name)->required();
    setName->add_option("SESSION", configRequest.value)->required();
    for (const char* what : {"remove-asset", "remove-session", "remove-name"})
        action(what, "remove an entry: NAME")->add_option("NAME", configRequest.name)->required();
    bool perUser = false, unregister = false;
    auto* registration = app.add_subcommand("register", "register the driver's classes so programs find it by ProgID");
    registration->add_flag("--user", perUser, "in the user's own registry rather than the machine's");
    registration->add_flag("-u,--unregister", unregister, "remove the registration");
    // The shell's completion asks here (share/bash-completion/zpv4870); not shown in --help.
    std::vector<std::string> completing;
    auto* complete = app.add_subcommand("complete", "candidates for the word being typed (for the shell)");
    complete->group("");
    complete->add_option("WORDS", completing)->allow_extra_args();
    for (CLI::App* command : app.get_subcommands({})) command->fallthrough();
    run->fallthrough();
    view->fallthrough();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }
    if (*complete) return Complete(app, completing);
    try {
        // With --simulate there is no RESOURCE: the first word is the command's own argument.
        std::vector<std::string>* more = *get ? &names : *set ? &assignments : *scpi ? &scpiCommands : nullptr;
        std::string* single = *run ? &program : nullptr;
        for (CLI::App* command : {identify, get, set, measure, run, scpi, errors, reset, panel}) {
            if (!*command) continue;
            const bool given = command->count("RESOURCE") > 0;
            if (!common.session.simulate) {
                if (!given) throw UsageError(command->get_name() + " needs a RESOURCE (or --simulate)");
                continue;
            }
            if (given && common.session.resource.find("::") != std::string::npos)
                throw UsageError("with --simulate the bundled simulator is the instrument: give no RESOURCE");
            if (given && !common.session.resource.empty()) {
                if (more) more->insert(more->begin(), common.session.resource);
                else if (single && single->empty()) *single = common.session.resource;
                else throw UsageError("with --simulate the bundled simulator is the instrument: give no RESOURCE");
            }
        }
        if (*set && assignments.empty()) throw UsageError("set needs NAME=VALUE assignments");
        if (*run && program.empty()) throw UsageError("list run needs the PROGRAM file");
        if (*scpi && scpiCommands.empty() && !interactive) throw UsageError("scpi needs the COMMANDs to send (or -i)");
        if (*scpi && !scpiCommands.empty() && interactive) throw UsageError("scpi -i takes no COMMANDs: type them");
        std::optional<BundledSimulator> simulator;
        if (common.session.simulate) {
            simulator.emplace(common.session.model);
            common.session.resource = simulator->Resource();
            common.session.simulate = false;
        }
        if (*identify) return Identify(common);
        if (*get) {
            if (!all && names.empty()) throw UsageError("get needs attribute names, a group, or --all");
            return Get(common, all ? std::vector<std::string>{""} : names);
        }
        if (*set) return Set(common, assignments);
        if (*attributes) return ListAttributes(common, filter);
        if (*measure) return Measure(common, watch, csv);
        if (*run) return RunListProgram(common, program, csv, leaveOn);
        if (*scpi) return interactive ? ScpiPrompt(common) : Scpi(common, scpiCommands);
        if (*errors) return DrainErrors(common);
        if (*reset) return Reset(common);
        if (*find) return Find(common, findSeconds, mdns);
        if (*panel) return Panel(common, panelOptions);
        if (*view) return ViewTrace(common, tracePath, htmlPath);
        if (*registration) return Register(common, perUser, unregister);
        for (CLI::App* a : configActions)
            if (*a) {
                configRequest.action = a->get_name();
                return Configure(common, configRequest);
            }
    } catch (const UsageError& e) {
        return Report(common, e.what(), 2);
    } catch (const std::exception& e) {  // Failure and whatever else went wrong
        return Report(common, e.what(), 1);
    }
    return 2;
}
