// The dialog tests run offscreen in one QApplication.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

namespace {
// The offscreen platform warns about every window it cannot size; that noise
// hides real warnings.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains("propagateSizeHints")) return;
    qt_message_output(type, context, message);
}
}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietHandler);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TLXEXPORT_LANG", "en", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
