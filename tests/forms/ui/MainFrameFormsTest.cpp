#include "FormRoadTestUtil.h"
#include "app/ui/MainFrame.h"
#include "forms/ui/AnalysisForms.h"
#include "forms/ui/AnalyzeDomainForm.h"
#include "forms/ui/AnalyzeLogicalWordForm.h"
#include "forms/ui/AnalyzePhysicalWordForm.h"

#include <QGroupBox>
#include <QMdiSubWindow>

// The main frame opens the three forms through the registered factories, one of each, and
// hands them requests from other programs, which they analyse at once.
TEST(MainFrameForms, FactoriesAndRequests)
{
    FreshDictionary dic;
    dic.AddWord(u"CUST"_qs, u"고객"_qs);
    dic.AddWord(u"NM"_qs, u"명"_qs);
    UiScript ui;
    CMainFrame::ClearRegistrations();
    RegisterAnalysisForms();
    {
        CMainFrame frame;
        const struct
        {
            EAnalysisFormKind kind;
            QString title;
        } cases[] = {{EAnalysisFormKind::Logical, u"단어 분석 [논리]"_qs},
                     {EAnalysisFormKind::Physical, u"단어 분석 [물리]"_qs},
                     {EAnalysisFormKind::Domain, u"도메인 분석"_qs}};
        for (const auto& c : cases) {
            QMdiSubWindow* sub = frame.OpenOrActivateForm(c.kind);
            ASSERT_NE(sub, nullptr);
            auto* target = dynamic_cast<IAnalysisRequestTarget*>(sub->widget());
            ASSERT_NE(target, nullptr);
            EXPECT_EQ(target->FormKind(), c.kind);
            EXPECT_EQ(sub->widget()->windowTitle(), c.title);
            EXPECT_EQ(frame.OpenOrActivateForm(c.kind), sub); // one of each kind
        }

        frame.HandleRequest(1, uR"({"termwise":[{"attributeName":"고객명","columnName":"CUST_NM"},
                                                 {"attributeName":"고객명2"}]})"_qs);
        auto* logical = qobject_cast<CAnalyzeLogicalWordForm*>(frame.FormWindow(EAnalysisFormKind::Logical)->widget());
        ASSERT_NE(logical, nullptr);
        EXPECT_EQ(logical->Mode(), 2);
        EXPECT_EQ(logical->TargetGroup()->title(), u"대상 목록 ( 1 / 1 )"_qs);

        // Malformed text changes nothing and shows nothing.
        const size_t shown = ui.messages.size();
        frame.HandleRequest(0, u"{\"termwise\":["_qs);
        auto* physical =
            qobject_cast<CAnalyzePhysicalWordForm*>(frame.FormWindow(EAnalysisFormKind::Physical)->widget());
        ASSERT_NE(physical, nullptr);
        EXPECT_EQ(physical->Mode(), 0);
        EXPECT_EQ(ui.messages.size(), shown);

        // Closing a form lets the frame open a new one.
        frame.FormWindow(EAnalysisFormKind::Domain)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(frame.FormWindow(EAnalysisFormKind::Domain), nullptr);
    }
    CMainFrame::ClearRegistrations();
}
