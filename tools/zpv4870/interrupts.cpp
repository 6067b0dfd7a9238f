#include "interrupts.h"

#include <atomic>
#include <csignal>

namespace zpv::cli {

namespace {

std::atomic<bool> gInterrupted{false};

extern "C" void OnInterrupt(int) { gInterrupted = true; }

}  // namespace

void CatchInterrupts() {
    gInterrupted = false;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() { return gInterrupted; }

}  // namespace zpv::cli
