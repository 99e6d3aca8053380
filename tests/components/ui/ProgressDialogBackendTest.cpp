#include "components/ui/ProgressDialogBackend.h"

#include <QElapsedTimer>
#include <QWidget>
#include <gtest/gtest.h>

TEST(ProgressDialogBackend, StepsCancelAndReopen)
{
    QWidget frame;
    frame.show();
    CProgressDialogBackend progress(&frame);
    progress.Show(100000, QStringLiteral("Termwise Process"), QStringLiteral("분석 중"), nullptr, true);
    ASSERT_NE(progress.Dialog(), nullptr);
    EXPECT_EQ(progress.Dialog()->windowTitle(), QStringLiteral("Termwise Process"));
    EXPECT_EQ(progress.Dialog()->parentWidget(), &frame); // the main frame owns it by default

    // stepping 100,000 items costs little: the event loop runs only every few tens of ms
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 100000; ++i) {
        progress.StepIt();
        if (progress.IsCanceling())
            break;
    }
    EXPECT_LT(t.elapsed(), 2000);
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
    progress.SetMsg(QStringLiteral("x"));
    EXPECT_EQ(progress.Dialog()->labelText(), QStringLiteral("x"));
    progress.Hide();
    EXPECT_EQ(progress.Dialog(), nullptr);
    progress.StepIt(); // after Hide: ignored
}
