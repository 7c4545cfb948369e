// Helpers shared by the dialog tests: waiting for the workers while the event
// loop runs, fresh folders, the sample files and the profile folder.
#pragma once
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <functional>

namespace tvk::test {

// Runs the event loop until `done` holds; false after `ms` milliseconds.
inline bool WaitUntil(const std::function<bool()>& done, int ms = 60000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

inline std::string SamplePath(const char* name) { return std::string(TLX_SOURCE_DIR) + "/samples/" + name; }

// A temporary folder that also holds the profile of the test.
struct TestFolder {
    QTemporaryDir dir;
    TestFolder() { qputenv("TLXEXPORT_CONFIG_DIR", dir.filePath("config").toUtf8()); }
    QString Path(const QString& name) const { return dir.filePath(name); }
};

}  // namespace tvk::test
