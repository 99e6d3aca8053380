// Pictures of the forms and reports on the bundled sample, for the documentation. Runs only
// when TERMWISE_SCREENSHOTS names the folder to write into (scripts/screenshots sets it).
#include "FormRoadTestUtil.h"
#include "app/ui/MainFrame.h"
#include "app/ui/Translations.h"
#include "forms/ui/AnalysisForms.h"
#include "forms/ui/AnalyzeDomainForm.h"
#include "forms/ui/AnalyzeLogicalWordForm.h"
#include "forms/ui/AnalyzePhysicalWordForm.h"
#include "reports/DomainReport.h"
#include "reports/ui/DomainReportDlg.h"
#include "reports/ui/WordReportDlg.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {
QString ShotDir()
{
    return qEnvironmentVariable("TERMWISE_SCREENSHOTS");
}

void Save(QWidget* widget, const QString& name)
{
    QApplication::processEvents();
    const QPixmap shot = widget->grab();
    ASSERT_FALSE(shot.isNull());
    ASSERT_TRUE(shot.save(QDir(ShotDir()).filePath(name))) << name.toStdString();
}

template <class Form> void Shoot(const QString& prefix, const QStringList& designations, const QList<int>& columns)
{
    FreshDictionary dic;
    QDir().mkpath(dic.dir.standardPath());
    QFile::copy(QStringLiteral(TERMWISE_SOURCE_DIR "/resources/samples/termwise.json"),
                CAnalyzeSettings::SettingsPath());
    dic.Settings().Load();
    UiScript ui;
    Form form;
    form.resize(1280, 760);
    form.show();
    ui.paths.push_back(QStringLiteral(TERMWISE_SOURCE_DIR "/resources/samples/model.xlsx"));
    Click(form.OpenButton());
    for (int i = 0; i < designations.size(); ++i) {
        ui.choices.push_back(designations[i]);
        RightClickCell(form.Grid(), 2, columns[i]);
    }
    Click(form.ExcludeFirstRowCheck());
    Save(&form, prefix + QStringLiteral("-source.png"));
    Click(form.AnalyzeButton());
    Save(&form, prefix + QStringLiteral("-result.png"));
    if (prefix == u"logical"_qs || prefix == u"domain"_qs) {
        WhenModal([&](QWidget* modal) {
            modal->resize(980, 760);
            Save(modal, (prefix == u"logical"_qs ? u"word"_qs : u"domain"_qs) + QStringLiteral("-report.png"));
        });
        Click(form.ReportButton());
    }
}
} // namespace

TEST(Screenshots, FormsAndReports)
{
    if (ShotDir().isEmpty())
        GTEST_SKIP() << "TERMWISE_SCREENSHOTS not set";
    Shoot<CAnalyzeLogicalWordForm>(u"logical"_qs, {u"속성명 지정 (필수)"_qs, u"컬럼명 지정"_qs, u"속성정의 지정"_qs},
                                   {0, 1, 3});
    Shoot<CAnalyzePhysicalWordForm>(u"physical"_qs, {u"컬럼명 지정 (필수)"_qs, u"속성명 지정"_qs, u"컬럼정의 지정"_qs},
                                    {1, 0, 3});
    Shoot<CAnalyzeDomainForm>(u"domain"_qs, {u"속성명 지정 (필수)"_qs, u"컬럼명 지정"_qs, u"속성타입 지정 (필수)"_qs},
                              {0, 1, 2});
}

// The window as a new user meets it: roles in the source headers with the first row's
// captions, the question before an unsaved analysis goes, a report whose small bar is read,
// the ribbon in a narrow window.
TEST(Screenshots, NewUserWindow)
{
    if (ShotDir().isEmpty())
        GTEST_SKIP() << "TERMWISE_SCREENSHOTS not set";
    FreshDictionary dic;
    QDir().mkpath(dic.dir.standardPath());
    QFile::copy(QStringLiteral(TERMWISE_SOURCE_DIR "/resources/samples/termwise.json"),
                CAnalyzeSettings::SettingsPath());
    dic.Settings().Load();
    InstallQtTranslations(ProgramLocale());
    CMainFrame::ClearRegistrations();
    RegisterAnalysisForms();
    {
        UiScript ui;
        CMainFrame frame;
        frame.setWindowState(Qt::WindowNoState);
        frame.resize(1280, 800);
        frame.show();
        auto* form =
            qobject_cast<CAnalyzeLogicalWordForm*>(frame.OpenOrActivateForm(EAnalysisFormKind::Logical)->widget());
        ASSERT_NE(form, nullptr);
        ui.paths.push_back(QStringLiteral(TERMWISE_SOURCE_DIR "/resources/samples/model.xlsx"));
        Click(form->OpenButton());
        ui.choices = {u"속성명 지정 (필수)"_qs, u"컬럼명 지정"_qs};
        RightClickCell(form->Grid(), 2, 0);
        RightClickCell(form->Grid(), 2, 1);
        Click(form->ExcludeFirstRowCheck());
        Save(&frame, u"designation.png"_qs);
        Click(form->AnalyzeButton());

        // the real box, not the test's answer
        CQrMessageBox::SetHook({});
        WhenModal([](QWidget* modal) { Save(modal, u"discard.png"_qs); });
        EXPECT_FALSE(form->ConfirmDiscard());

        frame.resize(900, 600);
        Save(&frame, u"ribbon-narrow.png"_qs);
    }
    CMainFrame::ClearRegistrations();

    DomainReportInput input;
    input.analyzedCount = 21882;
    input.foundCount = 21748;
    input.missing = {{u"명+VARCHAR+100+"_qs, 61}, {u"번호+NUMBER+10+"_qs, 48}, {u"코드+CHAR+3+"_qs, 25}};
    CDomainReportDlg report(input);
    report.resize(980, 640);
    report.show();
    Save(&report, u"report-small-bar.png"_qs);
}
