// SIGINT, SIGTERM and SIGHUP ask the running read or export to stop, so that
// it takes its own stop path (its log texts, its temporaries discarded)
// instead of dying half way. The handler only raises the stop flag: a second
// signal while the run cleans up changes nothing.
#pragma once

namespace tvk {
class CTLXReader;
}

namespace tlxcli {

// While it lives, a signal asks `reader` to stop (the handlers stay
// installed afterwards, and only note the signal).
class CStopOnSignals {
public:
    explicit CStopOnSignals(tvk::CTLXReader& reader);
    ~CStopOnSignals();
    CStopOnSignals(const CStopOnSignals&) = delete;
    CStopOnSignals& operator=(const CStopOnSignals&) = delete;
};
// The first of the three signals received, or 0.
int ReceivedSignal();
// 128 + that signal: 130, 143 or 129.
int SignalExitStatus();

}  // namespace tlxcli
