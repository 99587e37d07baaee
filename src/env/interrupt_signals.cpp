#include "env/interrupt_signals.h"

#include <csignal>

namespace ostra {

namespace {

std::atomic<bool> interrupted{false};
std::atomic<int> signalNumber{0};

extern "C" void OnInterrupt(int signal) {
  signalNumber.store(signal);
  interrupted.store(true);
  // The next one is not caught: a program that does not stop can still be ended.
  std::signal(signal, SIG_DFL);
}

}  // namespace

void InstallInterruptHandlers() {
  static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);
#ifdef _WIN32
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  std::signal(SIGBREAK, OnInterrupt);
#else
  // Without SA_RESTART: a question waiting for an answer is given up rather than kept waiting.
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
#endif
}

const std::atomic<bool>& InterruptFlag() {
  return interrupted;
}

void RequestInterrupt() {
  interrupted.store(true);
}

int InterruptExitStatus() {
  const int signal = signalNumber.load();
  return interrupted.load() && signal != 0 ? 128 + signal : 0;
}

}  // namespace ostra
