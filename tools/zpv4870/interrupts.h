// Ctrl-C and SIGTERM as a flag the long-running commands look at, so they end the way they chose
// (outputs off, what is finished written) instead of dying mid-exchange.
#pragma once

namespace zpv::cli {

// From now on SIGINT and SIGTERM only raise the flag; it starts lowered.
void CatchInterrupts();
bool Interrupted();

// The exit status of a command ended by an interrupt, as a shell reports SIGINT.
inline constexpr int kInterruptedStatus = 130;

}  // namespace zpv::cli
