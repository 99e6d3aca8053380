#include "analysis/TermAnalyzeCommand.h"

#include "analysis/AnalysisResultJson.h"
#include "analysis/TermAnalysis.h"
#include "analysis/TermDocument.h"
#include "components/OutputLog.h"
#include "components/QrExcelSheet.h"
#include "components/QrProgressWnd.h"
#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char* const kUsage = "usage: termwise analyze term --input FILE --repo URI [--area ID] [options] --output FILE\n"
                           "  FILE in:  .xlsx/.xls (with --attr and --type), .ztst term document, .json term request\n"
                           "  FILE out: .xlsx export, .ztst document, .json result\n"
                           "  --attr/--column/--def/--ref/--type/--length/--scale LETTER   column designations\n"
                           "  --skip-first-row   leave out the sheet's first row\n"
                           "  --area ID          standard area (STD_AREA_ID); a document or request names its own\n"
                           "  --data-dir DIR     common data folder (settings and dictionary)\n";

int Fail(const QString& message)
{
    std::fprintf(stderr, "termwise analyze: %s\n", message.toLocal8Bit().constData());
    return 1;
}

int Usage(const QString& message)
{
    if (!message.isEmpty())
        std::fprintf(stderr, "termwise analyze: %s\n", message.toLocal8Bit().constData());
    std::fputs(kUsage, stderr);
    return 2;
}

// Disconnects and restores the quiet progress when the command ends, however it ends.
struct CommandScope
{
    ~CommandScope()
    {
        CRepositoryConnection::Instance().OnRepositoryDisconnected();
        CQrProgressWnd::SetBackend(nullptr);
    }
};

bool ReadSheet(const QString& path, QVector<QStringList>& rows, QString& error)
{
    CQrExcelSheet sheet(true);
    if (!sheet.OpenFile(path, false)) {
        error = QStringLiteral("not vaild excel file");
        if (!sheet.GetLastError().isEmpty())
            error += QStringLiteral(" (") + sheet.GetLastError() + u')';
        return false;
    }
    const int count = sheet.GetRowCount();
    rows.reserve(count);
    for (int r = 0; r < count; ++r) {
        QStringList cells;
        sheet.GetRowData(cells, r, -1);
        rows.append(cells);
    }
    return true;
}

bool WriteExport(const CTermAnalysis& term, const QString& path, QString& error)
{
    CQrExcelSheet sheet(true);
    if (!sheet.OpenFile(path, true)) {
        error = sheet.GetLastError();
        return false;
    }
    int row = 0;
    sheet.SetRowDataRange(TermTexts::kExportColumns, row++);
    for (const QStringList& cells : term.ExportRows())
        sheet.SetRowDataRange(cells, row++);
    if (!sheet.Save(1)) {
        error = sheet.GetLastError();
        return false;
    }
    return true;
}

bool WriteBytes(const QString& path, const QByteArray& bytes, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

int ColumnLettersToIndex(const QString& letters)
{
    if (letters.isEmpty() || letters.size() > 3)
        return -1;
    int index = 0;
    for (QChar c : letters) {
        const QChar u = c.toUpper();
        if (u < u'A' || u > u'Z')
            return -1;
        index = index * 26 + (u.unicode() - u'A' + 1);
    }
    return index - 1;
}

int RunTermAnalyzeCommand(int argc, char** argv)
{
    QString input, output, uri, area, dataDir;
    bool skipFirstRow = false;
    int columns[CTermAnalysis::RoleCount] = {-1, -1, -1, -1, -1, -1, -1};
    const struct
    {
        const char* option;
        int role;
    } roleOptions[] = {
        {"--attr", CTermAnalysis::RoleAttribute}, {"--column", CTermAnalysis::RoleColumn},
        {"--type", CTermAnalysis::RoleType},      {"--length", CTermAnalysis::RoleLength},
        {"--scale", CTermAnalysis::RoleScale},    {"--def", CTermAnalysis::RoleDefinition},
        {"--ref", CTermAnalysis::RoleReference},
    };
    for (int i = 2; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(arg, "--skip-first-row") == 0) {
            skipFirstRow = true;
            continue;
        }
        if (i + 1 >= argc)
            return Usage(QStringLiteral("%1 needs a value").arg(QString::fromLocal8Bit(arg)));
        const QString value = QString::fromLocal8Bit(argv[++i]);
        if (std::strcmp(arg, "--input") == 0)
            input = value;
        else if (std::strcmp(arg, "--output") == 0)
            output = value;
        else if (std::strcmp(arg, "--repo") == 0)
            uri = value;
        else if (std::strcmp(arg, "--area") == 0)
            area = value;
        else if (std::strcmp(arg, "--data-dir") == 0)
            dataDir = value;
        else {
            bool known = false;
            for (const auto& r : roleOptions) {
                if (std::strcmp(arg, r.option) == 0) {
                    columns[r.role] = ColumnLettersToIndex(value);
                    if (columns[r.role] < 0)
                        return Usage(
                            QStringLiteral("%1: not a column letter: %2").arg(QString::fromLocal8Bit(arg), value));
                    known = true;
                }
            }
            if (!known)
                return Usage(QStringLiteral("unknown option %1").arg(QString::fromLocal8Bit(arg)));
        }
    }
    if (input.isEmpty() || output.isEmpty() || uri.isEmpty())
        return Usage(QStringLiteral("--input, --output and --repo are required"));
    const QString inSuffix = QFileInfo(input).suffix().toLower();
    const QString outSuffix = QFileInfo(output).suffix().toLower();
    if (inSuffix != u"xlsx" && inSuffix != u"xls" && inSuffix != u"ztst" && inSuffix != u"json")
        return Usage(QStringLiteral("input must be .xlsx, .xls, .ztst or .json: %1").arg(input));
    if (outSuffix != u"xlsx" && outSuffix != u"ztst" && outSuffix != u"json")
        return Usage(QStringLiteral("output must be .xlsx, .ztst or .json: %1").arg(output));
    if ((inSuffix == u"xlsx" || inSuffix == u"xls") && area.isEmpty())
        return Usage(QStringLiteral("--area is required for a workbook"));

    std::unique_ptr<QCoreApplication> app;
    int appArgc = 1;
    if (!QCoreApplication::instance())
        app = std::make_unique<QCoreApplication>(appArgc, argv);
    if (!dataDir.isEmpty())
        qputenv("TERMWISE_DATA_DIR", QFile::encodeName(dataDir));
    CAnalyzeSettings::Instance().Load();
    if (!QFileInfo::exists(input))
        return Fail(QStringLiteral("no such file: %1").arg(input));

    CommandScope scope;
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    QString error;
    if (!connection.Open(uri, &error))
        return Fail(error);
    connection.OnRepositoryConnected();
    CQrProgressWnd::SetBackend(std::make_unique<CConsoleProgress>());

    CTermAnalysis term;
    const auto resolve = [&](const QString& areaId) {
        // The command line's area selector holds every current area of the repository.
        return CTermAnalysis::ResolveStandardArea(areaId, [&](const QString& name) {
            StandardAreaMap areas;
            CSqlBaseGate* gate = connection.OpenGate();
            return gate && gate->SelectStandardAreas(areas) && areas.count(name) > 0;
        });
    };
    if (inSuffix == u"xlsx" || inSuffix == u"xls") {
        QVector<QStringList> rows;
        if (!ReadSheet(input, rows, error))
            return Fail(error);
        term.SetSheet(std::move(rows));
        for (int role = 0; role < CTermAnalysis::RoleCount; ++role)
            if (columns[role] >= 0)
                term.Designations().Designate(role, columns[role]);
        term.SetExcludeFirstRow(skipFirstRow);
    } else {
        QFile file(input);
        if (!file.open(QIODevice::ReadOnly))
            return Fail(file.errorString());
        const QByteArray bytes = file.readAll();
        QString documentArea;
        std::vector<TermAnalysisTarget> targets;
        const bool ok = inSuffix == u"ztst" ? ReadTermDocument(bytes, documentArea, targets, error)
                                            : ReadTermRequest(bytes, documentArea, targets, error);
        if (!ok)
            return Fail(error);
        if (area.isEmpty())
            area = documentArea;
        term.SetTargets(targets);
    }
    if (!resolve(area))
        return Fail(TermTexts::kNoStandardArea);
    term.SetAreaId(area);

    const CTermAnalysis::RunResult run = term.Run();
    if (!run.ok)
        return Fail(run.message);

    bool written = false;
    if (outSuffix == u"json")
        written = WriteBytes(output, AnalysisResultJsonBytes(AnalysisResultJson(term)), error);
    else if (outSuffix == u"ztst")
        written = WriteBytes(output, WriteTermDocument(term), error);
    else
        written = WriteExport(term, output, error);
    if (!written)
        return Fail(QStringLiteral("cannot write %1: %2").arg(output, error));

    const QJsonObject totals = term.ToJson().value(QStringLiteral("totals")).toObject();
    std::printf("term analysis of area %s: %d targets, %d complete, %d registered terms, %d without domain\n",
                area.toUtf8().constData(), totals.value(QStringLiteral("targets")).toInt(),
                totals.value(QStringLiteral("complete")).toInt(), totals.value(QStringLiteral("registered")).toInt(),
                totals.value(QStringLiteral("withoutDomain")).toInt());
    return 0;
}
