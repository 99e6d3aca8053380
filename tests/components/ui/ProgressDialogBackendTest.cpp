#include "components/ui/ProgressDialogBackend.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/UiHooks.h"

#include <QThread>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

TEST(ProgressDialogBackend, StepsCancelAndReopen)
{
    QWidget frame;
    frame.show();
    CProgressDialogBackend progress(&frame);
    progress.Show(100000, QStringLiteral("Termwise Process"), QStringLiteral("분석 중"), nullptr, true);
    ASSERT_NE(progress.Dialog(), nullptr);
    EXPECT_EQ(progress.Dialog()->windowTitle(), QStringLiteral("처리 중")) << "the window speaks Korean";
    EXPECT_EQ(progress.Dialog()->parentWidget(), &frame); // the main frame owns it by default

    // a long loop serves the event loop (repaints, the cancel button) while it steps; what that
    // costs per step is measured in bench/
    int served = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] { ++served; });
    tick.start();
    for (int i = 0; i < 100000; ++i) {
        progress.StepIt();
        if (progress.IsCanceling())
            break;
        if (i % 1000 == 0)
            QThread::usleep(1000); // the work of a step
    }
    tick.stop();
    EXPECT_GT(served, 0);
    EXPECT_EQ(progress.Value(), 100000);

    progress.Dialog()->cancel();
    EXPECT_TRUE(progress.IsCanceling());
    progress.Hide();
    EXPECT_FALSE(progress.IsCanceling());

    // a new window after Hide, not cancelled; the marquee has no range
    progress.ShowMarquee(QStringLiteral("Termwise Initialize"), QStringLiteral("Initialize dictionary engine"),
                         nullptr);
    ASSERT_NE(progress.Dialog(), nullptr);
    EXPECT_FALSE(progress.IsCanceling());
    EXPECT_EQ(progress.Dialog()->maximum(), 0);
    EXPECT_EQ(progress.Dialog()->windowTitle(), QStringLiteral("준비"));
    EXPECT_EQ(progress.Dialog()->labelText(), QStringLiteral("분석 사전을 준비하는 중입니다"));
    progress.SetMsg(QStringLiteral("x"));
    EXPECT_EQ(progress.Dialog()->labelText(), QStringLiteral("x"));
    progress.Hide();
    EXPECT_EQ(progress.Dialog(), nullptr);
    progress.StepIt(); // after Hide: ignored
}

// Texts of our own the engines keep in English reach the window in Korean; a driver's own words
// come under a Korean line; file filters are named in Korean.
TEST(WindowWording, TheWindowShowsKorean)
{
    const QString driver = QStringLiteral("relation \"std_area\" does not exist");
    EXPECT_EQ(CQrMessageBox::Shown(driver), CQrMessageBox::kForeignError + QStringLiteral("\n\n") + driver);
    const QString explained = QStringLiteral("저장소 연결이 끊어졌습니다\nFATAL: terminating connection");
    EXPECT_EQ(CQrMessageBox::Shown(explained), explained);
    EXPECT_EQ(CQrMessageBox::Shown(QStringLiteral("not exist standard system for analyze terms")),
              QStringLiteral("분석할 표준 분류체계가 없습니다"));
    const QString filters = CQrFileDialog::ToQtFilter(QStringLiteral(
        "Document Files(*.xlsx,*.xls,*.ztst)|*.xlsx;*.xls;*.ztst|SQL Files(*.sql)|*.sql|Excel Files(*.xlsx)|*.xlsx|"));
    EXPECT_EQ(filters,
              QStringLiteral("분석 대상 문서 (*.xlsx *.xls *.ztst);;SQL 스크립트 (*.sql);;Excel 파일 (*.xlsx)"));
}
