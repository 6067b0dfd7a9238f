// A simulated instrument in a namespace of the virtual LAN (tests/lan/virtual_lan.sh), serving
// SOCKET, VXI-11 and HiSLIP on the standard ports of its own address. It can be killed as a
// power cut kills an instrument, and started again on the same address.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace zpv::test {

// The LAN the script made: one namespace and one address per instrument; empty outside it.
struct VirtualLanLayout {
    std::vector<std::string> namespaces;
    std::vector<std::string> addresses;

    static VirtualLanLayout FromEnvironment() {
        VirtualLanLayout lan;
        const auto split = [](const char* text) {
            std::vector<std::string> items;
            std::stringstream in(text ? text : "");
            for (std::string item; std::getline(in, item, ',');)
                if (!item.empty()) items.push_back(item);
            return items;
        };
        lan.namespaces = split(std::getenv("ZPV4870_TEST_LAN_NAMESPACES"));
        lan.addresses = split(std::getenv("ZPV4870_TEST_LAN_ADDRESSES"));
        if (lan.namespaces.size() != lan.addresses.size()) lan.namespaces.clear();
        return lan;
    }
};

class NamespacedSimulator {
public:
    NamespacedSimulator(std::string ns, std::string address, std::string model, std::string serial)
        : ns_(std::move(ns)), address_(std::move(address)), model_(std::move(model)), serial_(std::move(serial)) {}
    ~NamespacedSimulator() { Kill(); }
    NamespacedSimulator(const NamespacedSimulator&) = delete;
    NamespacedSimulator& operator=(const NamespacedSimulator&) = delete;

    // Starts it and waits until it serves; false (with the reason in Why()) when it does not.
    bool Start() {
        const char* program = std::getenv("ZPV4870_SIM");
        if (!program) return Fail("ZPV4870_SIM names no simulator");
        std::vector<std::string> words = {"/usr/sbin/ip",   "netns",     "exec",    ns_,          program,
                                          "--listen",       address_,    "--port",  "5025",       "--vxi11",
                                          "--portmapper-port", "111",    "--hislip", "--hislip-port", "4880",
                                          "--model",        model_,      "--serial", serial_};
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0) return Fail("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (spawned != 0) {
            close(out[0]);
            pid_ = -1;
            return Fail("cannot run ip netns exec");
        }
        output_ = fdopen(out[0], "r");
        char line[256];
        while (std::fgets(line, sizeof line, output_))
            if (std::string(line).rfind("hislip ", 0) == 0) return true;  // the last service it starts
        Kill();
        return Fail("the simulator in " + ns_ + " did not start");
    }

    // A power cut: SIGKILL, no goodbye on any connection.
    void Kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        if (output_) std::fclose(output_);
        output_ = nullptr;
    }

    const std::string& Namespace() const { return ns_; }
    const std::string& Address() const { return address_; }
    const std::string& Model() const { return model_; }
    const std::string& Serial() const { return serial_; }
    const std::string& Why() const { return why_; }

private:
    bool Fail(std::string why) {
        why_ = std::move(why);
        return false;
    }

    std::string ns_, address_, model_, serial_, why_;
    pid_t pid_ = -1;
    FILE* output_ = nullptr;
};

}  // namespace zpv::test
