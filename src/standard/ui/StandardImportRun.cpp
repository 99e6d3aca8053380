#include "standard/ui/StandardImportRun.h"

#include "components/OutputLog.h"
#include "components/QrDatatype.h"
#include "components/QrProgressWnd.h"
#include "repository/ColumnLimits.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"
#include "standard/BuiltinStandard.h"
#include "standard/StandardTexts.h"
#include "standard/StandardValidation.h"
#include "standard/ui/StandardImportTexts.h"

#include <QFileInfo>
#include <QThread>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

namespace {

using namespace StandardImportText;
using State = StandardImportOutcome::State;

struct ReadResult
{
    bool ok = false;
    PublicStandard standard;
    QString error;
};

// The workbook is large (the 7th edition has over 11,000 rows in three sheets): read off the
// UI thread so the progress window stays alive and its cancel answers at once. A cancelled
// read finishes in the background and is thrown away.
bool ReadWithProgress(QWidget* parent, const StandardImportChoice& choice, ReadResult& result, bool& cancelled)
{
    const BuiltinStandard::Edition* builtin = choice.builtin ? BuiltinStandard::Find(choice.edition) : nullptr;
    if (choice.builtin && !builtin) {
        result.error = kBuiltinMissing;
        return true;
    }
    const QStringList files = choice.files;
    QFuture<ReadResult> future = QtConcurrent::run([builtin, files] {
        ReadResult r;
        r.ok = builtin ? BuiltinStandard::Read(*builtin, r.standard, r.error)
                       : PublicStandardReader::Read(files, r.standard, r.error);
        return r;
    });
    CQrProgressWnd::Show(0, kDialogTitle, kReading, parent, true);
    cancelled = false;
    while (!future.isFinished()) {
        if (CQrProgressWnd::IsCanceling()) {
            cancelled = true;
            break;
        }
        QThread::msleep(10);
    }
    CQrProgressWnd::Hide();
    if (cancelled)
        return false;
    result = future.result();
    return true;
}

// A refusal with the first rows that make it, as the command line lists them.
QString RefusalText(const QString& refusal, const std::vector<PublicStandardProblem>& rows)
{
    constexpr size_t kShown = 10;
    QStringList lines{refusal};
    for (size_t i = 0; i < rows.size() && i < kShown; ++i)
        lines << rows[i].Text();
    if (rows.size() > kShown)
        lines << kMoreRows.arg(rows.size() - kShown);
    return lines.join(u'\n');
}

// Into the dictionary the window holds; a failed save puts back what was there.
bool ImportIntoDictionary(const PublicStandard& standard, StandardImportSummary& summary)
{
    CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    const WordIndex byPhysical = settings.m_mapWordsByPhysical;
    const WordIndex byLogical = settings.m_mapWordsByLogical;
    const DomainIndex domains = settings.m_mapDomains;
    StandardImport::ImportIntoDictionary(settings, standard, summary);
    if (settings.Save())
        return true;
    settings.m_mapWordsByPhysical = byPhysical;
    settings.m_mapWordsByLogical = byLogical;
    settings.m_mapDomains = domains;
    settings.Touch();
    return false;
}

} // namespace

QString StandardImportTarget(const StandardImportChoice& choice)
{
    if (!choice.toRepository)
        return kIntoDictionary;
    const QString name = !choice.area.areaName.isEmpty() ? choice.area.areaName
                         : !choice.areaLabel.isEmpty()   ? choice.areaLabel
                                                         : choice.area.areaId;
    return kIntoArea.arg(choice.area.areaId, name);
}

StandardImportOutcome RunStandardImport(QWidget* parent, const StandardImportChoice& choice)
{
    StandardImportOutcome outcome;
    QStringList names;
    for (const QString& f : choice.files)
        names << QFileInfo(f).fileName();
    const BuiltinStandard::Edition* edition = BuiltinStandard::Find(choice.edition);
    outcome.source =
        choice.builtin ? (edition ? edition->name : choice.edition) : kFromFiles.arg(names.join(QStringLiteral(", ")));

    ReadResult read;
    bool cancelled = false;
    if (!ReadWithProgress(parent, choice, read, cancelled)) {
        outcome.state = State::Cancelled;
        outcome.message = kCancelled;
        return outcome;
    }
    if (!read.ok) {
        outcome.message = kReadFailed.arg(read.error);
        return outcome;
    }
    // The same refusals as the command line: nothing is written from files that are not whole
    // or hold values the target cannot store.
    const StandardValidation::Admission admission =
        StandardValidation::Admit(read.standard, choice.toRepository, false);
    if (!admission.refusal.isEmpty()) {
        outcome.message = kFailed.arg(RefusalText(admission.refusal, admission.rows));
        return outcome;
    }
    if (!choice.toRepository) {
        const std::vector<PublicStandardProblem> bad =
            StandardValidation::ForDictionary(read.standard, CColumnLimits::Bundled(GlobalEnum::DBMS_SQLITE));
        if (!bad.empty()) {
            outcome.message = kFailed.arg(RefusalText(StandardTexts::kDictionaryCannotHold, bad));
            return outcome;
        }
    }

    if (!choice.toRepository) {
        if (!ImportIntoDictionary(read.standard, outcome.summary)) {
            outcome.summary = StandardImportSummary();
            outcome.message = kSaveFailed;
            return outcome;
        }
    } else {
        CRepositoryConnection& connection = CRepositoryConnection::Instance();
        CSqlBaseGate* gate = connection.OpenGate();
        ISqlExecutor* db = connection.Database();
        if (!gate || !db) {
            outcome.message = kFailed.arg(kNotConnected);
            return outcome;
        }
        const std::vector<PublicStandardProblem> bad = StandardValidation::ForRepository(
            read.standard, CColumnLimits::Read(*db), choice.area.areaId, choice.area.areaName);
        if (!bad.empty()) {
            outcome.message = kFailed.arg(RefusalText(StandardTexts::kRepositoryCannotHold, bad));
            return outcome;
        }
        QString error;
        // What the area holds before, for the result's comparison with the new edition.
        PublicStandard before;
        QString beforeError;
        const bool compare = choice.area.replace &&
                             StandardDiff::ReadArea(*db, choice.area.areaId, before, beforeError) &&
                             !(before.words.empty() && before.terms.empty() && before.domains.empty());
        switch (StandardImport::ImportIntoRepository(*db, *gate, read.standard, choice.area, outcome.summary, error)) {
        case StandardImport::Outcome::Imported:
            break;
        case StandardImport::Outcome::Refused:
            outcome.state = State::Refused;
            outcome.message = kRefused.arg(choice.area.areaId);
            return outcome;
        case StandardImport::Outcome::Cancelled:
            outcome.state = State::Cancelled;
            outcome.message = kCancelled;
            return outcome;
        case StandardImport::Outcome::Failed:
            outcome.message = kFailed.arg(error);
            return outcome;
        }
        if (compare) {
            // The area's own registrations stay; they are no part of what the edition changed.
            StandardDiff::KeepEditionRows(before, read.standard);
            outcome.diff = StandardDiff::Compare(before, read.standard);
            outcome.diff.oldLabel = StandardImportTarget(choice);
            outcome.diff.newLabel = outcome.source;
            outcome.hasDiff = true;
        }
    }
    outcome.state = State::Imported;
    const StandardImportSummary& s = outcome.summary;
    QString line = kLogged.arg(outcome.source, StandardImportTarget(choice), QString::number(s.words),
                               QString::number(s.nonStandardWords), QString::number(s.domains));
    if (choice.toRepository)
        line += kLoggedTerms.arg(s.terms);
    OutputLog::Post(line);
    return outcome;
}
