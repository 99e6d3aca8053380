#include "standard/ui/StandardOffer.h"

#include "components/OutputLog.h"
#include "components/ui/QrMessageBox.h"
#include "settings/AnalyzeSettings.h"
#include "standard/BuiltinStandard.h"
#include "standard/ui/StandardImportResultDlg.h"
#include "standard/ui/StandardImportTexts.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

using namespace StandardImportText;

namespace {
bool g_offered = false;
const QString kDeclinedKey = QStringLiteral("BuiltinStandardOffer/Declined");
// The program's settings store, beside ApplicationLook.
const QString kOrganization = QStringLiteral("Quarro");
const QString kApplication = QStringLiteral("LEXVAULT5");
} // namespace

bool IsStandardOfferDeclined()
{
    return QSettings(kOrganization, kApplication).value(kDeclinedKey, false).toBool();
}

void ResetStandardOfferForTests()
{
    g_offered = false;
}

EStandardOfferAnswer OfferBuiltinStandard(QWidget* parent)
{
    if (g_offered)
        return EStandardOfferAnswer::NotOffered;
    g_offered = true;
    const CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    if (!settings.m_mapWordsByPhysical.empty() || !settings.m_mapDomains.empty() || IsStandardOfferDeclined())
        return EStandardOfferAnswer::NotOffered;
    if (BuiltinStandard::Path().isEmpty()) {
        OutputLog::Post(kBuiltinMissing);
        return EStandardOfferAnswer::NotOffered;
    }

    QMessageBox box(QMessageBox::Question, QStringLiteral("Termwise"), kOfferText.arg(BuiltinStandard::kEdition),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("BuiltinStandardOffer"));
    box.setInformativeText(kOfferDetail);
    QPushButton* yes = box.addButton(kOfferYes, QMessageBox::YesRole);
    QPushButton* no = box.addButton(kOfferNo, QMessageBox::NoRole);
    QPushButton* never = box.addButton(kOfferNever, QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    if (box.clickedButton() == never) {
        QSettings(kOrganization, kApplication).setValue(kDeclinedKey, true);
        return EStandardOfferAnswer::Never;
    }
    if (box.clickedButton() != yes)
        return EStandardOfferAnswer::No;

    StandardImportChoice choice; // the built-in edition into the dictionary
    const StandardImportOutcome outcome = RunStandardImport(parent, choice);
    if (outcome.state == StandardImportOutcome::State::Imported) {
        CStandardImportResultDlg result(choice, outcome, parent);
        result.exec();
    } else if (outcome.state == StandardImportOutcome::State::Cancelled) {
        CQrMessageBox::Information(parent, outcome.message);
    } else {
        CQrMessageBox::Warning(parent, outcome.message);
    }
    return EStandardOfferAnswer::Yes;
}
