#include "components/OutputLog.h"
#include "components/QrProgressWnd.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    OutputLog::SetSink([](const QString&) {});
    CQrProgressWnd::SetBackend(nullptr);
    return RUN_ALL_TESTS();
}
