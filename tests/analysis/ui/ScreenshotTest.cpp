// Pictures of the forms and reports on the bundled sample, for the documentation. Runs only
// when TERMWISE_SCREENSHOTS names the folder to write into (scripts/screenshots sets it).
#include "FormRoadTestUtil.h"
#include "analysis/ui/AnalyzeDomainForm.h"
#include "analysis/ui/AnalyzeLogicalWordForm.h"
#include "analysis/ui/AnalyzePhysicalWordForm.h"
#include "reports/ui/DomainReportDlg.h"
#include "reports/ui/WordReportDlg.h"

#include <QDir>
#include <QFile>
#include <QCheckBox>
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
