// Helpers shared by the dialog tests: waiting for the workers while the event
// loop runs, fresh folders, the sample files and the profile folder.
#pragma once
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <ostream>

// Failed comparisons show the texts, not their code units.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

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

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline std::string SamplePath(const char* name) { return std::string(TLX_SOURCE_DIR) + "/samples/" + name; }

// A temporary folder that also holds the profile of the test.
struct TestFolder {
    QTemporaryDir dir;
    TestFolder() { qputenv("TLXEXPORT_CONFIG_DIR", dir.filePath("config").toUtf8()); }
    QString Path(const QString& name) const { return dir.filePath(name); }
};

// HOME points into a test folder while this lives.
struct TestHome {
    QByteArray previous = qgetenv("HOME");
    explicit TestHome(const QString& home) {
        QDir().mkpath(home);
        qputenv("HOME", home.toUtf8());
    }
    ~TestHome() { qputenv("HOME", previous); }
};

}  // namespace tvk::test
