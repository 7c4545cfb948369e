#include "cli/SignalStop.h"

#include <atomic>
#include <csignal>

#include "reader/TLXReader.h"

namespace tlxcli {
namespace {

volatile std::sig_atomic_t g_signal = 0;
std::atomic<tvk::CTLXReader*> g_reader{nullptr};
static_assert(std::atomic<tvk::CTLXReader*>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the handler may only touch lock-free atomics");

extern "C" void OnStopSignal(int signal) {
    if (g_signal == 0) g_signal = signal;
    if (tvk::CTLXReader* reader = g_reader.load()) reader->TryToStop();
}

}  // namespace

CStopOnSignals::CStopOnSignals(tvk::CTLXReader& reader) {
    g_reader.store(&reader);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a prompt waiting for a key ends at once, as Cancel.
    action.sa_flags = 0;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

CStopOnSignals::~CStopOnSignals() { g_reader.store(nullptr); }

int ReceivedSignal() { return g_signal; }

int SignalExitStatus() { return 128 + g_signal; }

}  // namespace tlxcli
