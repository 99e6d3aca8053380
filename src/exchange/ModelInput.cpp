#include "exchange/ModelInput.h"

#include "components/QrProgressWnd.h"
#include "exchange/CatalogReader.h"
#include "exchange/DdlReader.h"
#include "exchange/ModelSourceTexts.h"

#include <QFileInfo>

namespace ModelInput {
namespace {

// The progress window in steps of 5 %, so a million columns do not mean a million steps (and a
// small script does not redraw the console's bar a hundred times).
class PercentProgress
{
public:
    PercentProgress(const QString& text) { CQrProgressWnd::Show(kSteps, ModelSourceTexts::kReadTitle, text); }
    ~PercentProgress() { CQrProgressWnd::Hide(); }
    bool Step(qint64 done, qint64 total)
    {
        const int step = total > 0 ? int(done * kSteps / total) : 0;
        while (m_step < step) {
            CQrProgressWnd::StepIt();
            ++m_step;
        }
        return !CQrProgressWnd::IsCanceling();
    }

private:
    static constexpr int kSteps = 20;
    int m_step = 0;
};

QString DisplayOf(const RepositoryUri& uri)
{
    if (CatalogReader::DialectOf(uri.dbType) == ModelSource::Dialect::MySql)
        return QStringLiteral("mysql://%1@%2:%3/%4").arg(uri.user, uri.host).arg(uri.port).arg(uri.database);
    return uri.Display();
}

QString UriWithoutPassword(const QString& input)
{
    RepositoryUri uri;
    QString error;
    if (!CatalogReader::ParseUri(input, uri, error))
        return QStringLiteral("(URI)");
    return DisplayOf(uri);
}

} // namespace

bool IsModelInput(const QStringList& inputs)
{
    for (const QString& input : inputs)
        if (ModelSource::IsDdlPath(input) || ModelSource::IsDatabaseUri(input))
            return true;
    return false;
}

QString UsageProblem(const Request& request)
{
    int uris = 0, scripts = 0;
    for (const QString& input : request.inputs) {
        uris += ModelSource::IsDatabaseUri(input) ? 1 : 0;
        scripts += ModelSource::IsDdlPath(input) ? 1 : 0;
    }
    if (uris > 1 || (uris == 1 && request.inputs.size() > 1))
        return QStringLiteral("데이터베이스 URI를 주면 --input은 그것 하나뿐이어야 합니다");
    if (uris == 0 && scripts != request.inputs.size())
        return QStringLiteral("--input을 여러 번 주려면 모두 .sql 스크립트여야 합니다");
    if (scripts > 0 && (!request.schemas.isEmpty() || !request.tables.isEmpty()))
        return QStringLiteral("--schema와 --tables는 데이터베이스 URI에만 씁니다");
    return QString();
}

bool ReadCatalog(const RepositoryUri& uri, const QStringList& schemas, const QString& tables,
                 ModelSource::AttributeList& list, QString& error)
{
    PercentProgress progress(ModelSourceTexts::kReadCatalog.arg(DisplayOf(uri)));
    CatalogReader::Options options;
    options.schemas = schemas;
    if (!tables.isEmpty())
        options.tables = tables;
    options.progress = [&](qint64 done, qint64 total) { return progress.Step(done, total); };
    return CatalogReader::Read(uri, list, error, options);
}

bool Read(const Request& request, ModelSource::AttributeList& list, QString& error, DdlReader::Tables* tables)
{
    if (!request.inputs.isEmpty() && ModelSource::IsDatabaseUri(request.inputs.front())) {
        RepositoryUri uri;
        if (!CatalogReader::ParseUri(request.inputs.front(), uri, error))
            return false;
        return ReadCatalog(uri, request.schemas, request.tables, list, error);
    }
    for (const QString& file : request.inputs)
        if (!QFileInfo(file).isFile()) {
            error = ModelSourceTexts::kCannotOpen.arg(file);
            return false;
        }
    PercentProgress progress(ModelSourceTexts::kReadScript.arg(DisplayName(request)));
    DdlReader::Options options;
    options.dialect = request.dialect;
    options.progress = [&](qint64 done, qint64 total) { return progress.Step(done, total); };
    return DdlReader::Read(request.inputs, list, error, options, tables);
}

QString DisplayName(const Request& request)
{
    if (!request.inputs.isEmpty() && ModelSource::IsDatabaseUri(request.inputs.front()))
        return UriWithoutPassword(request.inputs.front());
    QStringList names;
    for (const QString& file : request.inputs)
        names << QFileInfo(file).fileName();
    return names.join(QStringLiteral(", "));
}

} // namespace ModelInput
