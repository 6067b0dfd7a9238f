// Ctrl-C and SIGTERM as a flag the long-running commands look at, so they end the way they chose
// (outputs off, what is finished written) instead of dying mid-exchange.
#pragma once

namespace zpv::cli {

// From now on SIGINT, SIGTERM and SIGHUP (the terminal went away) only raise the flag; it starts
// lowered. A system call they interrupt fails with EINTR rather than going on.
void CatchInterrupts();
bool Interrupted();
// The signal that raised the flag (0 when it is lowered), and lowering it again, for a prompt that
// takes Ctrl-C as "forget this line".
int InterruptSignal();
void ClearInterrupt();

// The exit status of a command ended by an interrupt, as a shell reports SIGINT.
inline constexpr int kInterruptedStatus = 130;

}  // namespace zpv::cli
