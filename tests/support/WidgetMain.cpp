#include "components/OutputLog.h"
#include "components/QrProgressWnd.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Chromium (Qt WebEngine) refuses to start as root with its sandbox on; tests and CI run as root.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    OutputLog::SetSink([](const QString&) {});
    CQrProgressWnd::SetBackend(nullptr);
    return RUN_ALL_TESTS();
}
