#include "components/OutputLog.h"
#include "components/QrProgressWnd.h"

#include <gtest/gtest.h>

TEST(Facades, ConsoleProgressSurvivesSteppingPastItsCount)
{
    testing::internal::CaptureStderr();
    CConsoleProgress progress(true); // on a terminal
    progress.Show(2, u"Termwise Process"_qs, u"Process analyze word"_qs, nullptr, true);
    for (int i = 0; i < 5; ++i)
        progress.StepIt(); // used to build a bar of negative length
    progress.Show(0, u"Termwise Read"_qs, QString(), nullptr, false);
    progress.StepIt();
    progress.Hide();
    const std::string out = testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("[##############################] 100%"), std::string::npos) << out;
    EXPECT_EQ(out.find("101%"), std::string::npos) << out;
    EXPECT_EQ(out.find("#######################################"), std::string::npos) << out; // wider than the bar
}

TEST(Facades, ConsoleProgressOffATerminalWritesOneLinePerPieceOfWork)
{
    testing::internal::CaptureStderr();
    CConsoleProgress progress(false);
    progress.Show(1000, u"Termwise Process"_qs, u"Process analyze word"_qs, nullptr, true);
    for (int i = 0; i < 1000; ++i)
        progress.StepIt();
    progress.Hide();
    progress.ShowMarquee(u"Termwise Read"_qs, u"Read column description"_qs, nullptr);
    progress.Hide();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Process analyze word (1000)\nRead column description\n");
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
