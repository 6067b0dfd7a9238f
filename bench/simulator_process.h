// The bundled simulator as a process of its own, the way a user's program meets an instrument:
// spawned with SOCKET, VXI-11 (own portmapper) and HiSLIP on free loopback ports, which it prints,
// and stopped with SIGTERM when the benchmark ends.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace bench {

class SimulatorProcess {
public:
    SimulatorProcess() {
        const char* program = std::getenv("ZPV4870_SIM");
        std::vector<std::string> words = {program ? program : ZPV4870_SIM_PROGRAM, "--port", "0", "--vxi11",
                                          "--portmapper-port", "0", "--hislip", "--hislip-port", "0"};
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const bool spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (!spawned) {
            pid_ = -1;
            close(out[0]);
            return;
        }
        // "port 40123" lines until the four ports are known (or the simulator gives up).
        FILE* lines = fdopen(out[0], "r");
        char line[256];
        while (!ok() && std::fgets(line, sizeof line, lines)) {
            char key[64];
            unsigned port = 0;
            if (std::sscanf(line, "%63s %u", key, &port) == 2) ports_[key] = static_cast<std::uint16_t>(port);
        }
        output_ = lines;  // kept open: the simulator must never write into a closed pipe
        if (ok()) setenv("ZPV4870_VXI11_PORTMAPPER_PORT", std::to_string(Port("portmapper")).c_str(), 1);
    }
    ~SimulatorProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (output_) std::fclose(output_);
    }
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    bool ok() const {
        return pid_ > 0 && ports_.count("port") && ports_.count("hislip") && ports_.count("vxi11") &&
               ports_.count("portmapper");
    }
    std::uint16_t Port(const std::string& name) const {
        const auto found = ports_.find(name);
        return found == ports_.end() ? 0 : found->second;
    }

private:
    pid_t pid_ = -1;
    FILE* output_ = nullptr;
    std::map<std::string, std::uint16_t> ports_;
};

}  // namespace bench
