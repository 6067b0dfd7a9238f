#include "interrupts.h"

#include <atomic>
#include <csignal>

namespace zpv::cli {

namespace {

std::atomic<int> gSignal{0};

extern "C" void OnInterrupt(int signal) { gSignal = signal; }

}  // namespace

void CatchInterrupts() {
    gSignal = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool Interrupted() { return gSignal != 0; }
int InterruptSignal() { return gSignal; }
void ClearInterrupt() { gSignal = 0; }

}  // namespace zpv::cli
