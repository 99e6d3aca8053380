#include "components/OutputLog.h"
#include "components/QrProgressWnd.h"

#include <gtest/gtest.h>

TEST(Facades, ConsoleProgressSurvivesSteppingPastItsCount)
{
    CConsoleProgress progress;
    progress.Show(2, u"Termwise Process"_qs, u"Process analyze word"_qs, nullptr, true);
    for (int i = 0; i < 5; ++i)
        progress.StepIt(); // used to build a bar of negative length
    progress.Show(0, u"Termwise Read"_qs, QString(), nullptr, false);
    progress.StepIt();
    progress.Hide();
    SUCCEED();
}

TEST(Facades, CaptureRestoresThePreviousSink)
{
    QStringList outer;
    OutputLog::SetSink([&outer](const QString& text) { outer << text; });
    {
        OutputLogCapture capture;
        OutputLog::Post(u"inner"_qs);
        EXPECT_EQ(capture.lines, QStringList{u"inner"_qs});
    }
    OutputLog::Post(u"outer"_qs);
    OutputLog::SetSink([](const QString&) {});
    EXPECT_EQ(outer, QStringList{u"outer"_qs});
}
