// Ctrl-C and termination signals: the handler only notes the signal, and the run stops at its
// next file operation (see InterruptEnv), so that it reports what it did as a stopped run does.
// A second signal ends the program at once.
#pragma once

#include <atomic>

namespace ostra {

void InstallInterruptHandlers();
// Set once a signal came (or RequestInterrupt was called).
const std::atomic<bool>& InterruptFlag();
// Asks the run to stop as a signal does: for the window closed as the system shuts down.
void RequestInterrupt();
// The exit status of a program ended by a signal: 128 and the signal's number (130 for SIGINT,
// 143 for SIGTERM); 0 when none came (also after RequestInterrupt alone).
int InterruptExitStatus();

}  // namespace ostra
