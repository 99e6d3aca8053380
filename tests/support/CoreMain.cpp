#include "components/OutputLog.h"
#include "components/QrProgressWnd.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    OutputLog::SetSink([](const QString&) {});
    CQrProgressWnd::SetBackend(nullptr);
    return RUN_ALL_TESTS();
}
