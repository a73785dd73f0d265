// Session gates: the owning thread and the ending signals (see session_guard.hpp).
#include "foundation/session_guard.hpp"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <thread>
#include <unistd.h>

#include <zep/foundation.hpp>

#include "foundation/report_context.hpp"

namespace zep::guard {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kNoSignal = 0;
// Asked for by a second thread: the owner finishes the output and aborts.
constexpr int kEndAfterError = -1;

std::atomic<bool> open{false};
std::atomic<std::thread::id> owner{};
// The signal noted by the handler (or kEndAfterError); lock-free, so safe in a handler.
std::atomic<int> pending{kNoSignal};
static_assert(std::atomic<int>::is_always_lock_free);
bool installed[std::size(kSignals)] = {};

extern "C" void noteSignal(int sig) {
  int expected = kNoSignal;
  if (pending.compare_exchange_strong(expected, sig)) return;
  // A second signal while the first waits for a gate: the user insists.
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

const char* signalName(int sig) {
  switch (sig) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "A SIGNAL";
  }
}

void restoreSignals() {
  for (std::size_t k = 0; k < std::size(kSignals); ++k) {
    if (!installed[k]) continue;
    installed[k] = false;
    struct sigaction current {};
    sigaction(kSignals[k], nullptr, &current);
    // An application that put its own handler in place since keeps it.
    if (current.sa_handler == &noteSignal) std::signal(kSignals[k], SIG_DFL);
  }
}

[[noreturn]] void finishAndEnd(const char* routine, int what) {
  restoreSignals();
  if (what == kEndAfterError) {
    const std::string note = reports::finishOutput();
    if (!note.empty()) reports::writeError("-CNT.-", note);
    osabrt();
  }
  msgdmp("W", routine,
         std::string(signalName(what)) + " RECEIVED: THE OUTPUT IS FINISHED AND THE PROGRAM ENDS AS THE SIGNAL DOES.");
  const std::string note = reports::finishOutput();
  if (!note.empty()) msgdmp("W", "-CNT.-", note);
  std::fflush(nullptr);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, what);
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
  std::raise(what);
  _exit(128 + what);
}

// The routine of the last gate passed: where an allocation that nobody caught
// most likely failed.
const char* lastGate = "SGOPN";
std::terminate_handler previousTerminate = nullptr;
bool terminateInstalled = false;

// Memory that runs out where no caller-sized buffer is checked still ends in
// an error report and the output finisher, not in "terminate called ...".
[[noreturn]] void onTerminate() {
  bool outOfMemory = false;
  if (const std::exception_ptr e = std::current_exception()) {
    try {
      std::rethrow_exception(e);
    } catch (const std::bad_alloc&) {
      outOfMemory = true;
    } catch (...) {
    }
  }
  if (!outOfMemory) {
    if (previousTerminate != nullptr) previousTerminate();
    std::abort();
  }
  std::set_terminate(previousTerminate);
  reports::writeError(lastGate, "OUT OF MEMORY: AN ALLOCATION FAILED.");
  const std::string note = reports::finishOutput();
  if (!note.empty()) reports::writeError("-CNT.-", note);
  osabrt();
}

}  // namespace

void sessionOpened(bool finishOnSignal) {
  owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
  open.store(true, std::memory_order_release);
  if (!terminateInstalled) {
    terminateInstalled = true;
    previousTerminate = std::set_terminate(&onTerminate);
  }
  if (!finishOnSignal) return;
  for (std::size_t k = 0; k < std::size(kSignals); ++k) {
    if (installed[k]) continue;
    struct sigaction current {};
    if (sigaction(kSignals[k], nullptr, &current) != 0) continue;
    // Only where nothing was chosen: an application's handler, or an ignored
    // signal (nohup), is the application's decision.
    if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction mine {};
    mine.sa_handler = &noteSignal;
    sigemptyset(&mine.sa_mask);
    // No SA_RESTART: a read that blocks (a prompt on standard input) returns,
    // so that the program comes back to the library and ends.
    mine.sa_flags = 0;
    installed[k] = sigaction(kSignals[k], &mine, nullptr) == 0;
  }
}

void sessionClosed() {
  restoreSignals();
  open.store(false, std::memory_order_release);
}

void enter(const char* routine) {
  if (open.load(std::memory_order_acquire) && owner.load(std::memory_order_relaxed) != std::this_thread::get_id()) {
    static constexpr const char* kText =
        "CALLED FROM A SECOND THREAD WHILE A SESSION IS OPEN: THE LIBRARY IS SINGLE-THREADED.";
    // Going on would draw from two threads at once, so this call never returns,
    // whether or not an error callback hears of it.
    if (reports::errorsReturn()) msgdmp("E", routine, kText);
    else reports::writeError(routine, kText);
    int expected = kNoSignal;
    pending.compare_exchange_strong(expected, kEndAfterError);
    // The session's thread finishes the output and ends the process at its next
    // gate. One that stays away that long is idle: finish from here.
    for (int waited = 0; waited < 100; ++waited) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::string note = reports::finishOutput();
    if (!note.empty()) reports::writeError("-CNT.-", note);
    osabrt();
  }
  lastGate = routine;
  const int what = pending.load(std::memory_order_relaxed);
  if (what != kNoSignal && open.load(std::memory_order_relaxed)) finishAndEnd(routine, what);
}

}  // namespace zep::guard
