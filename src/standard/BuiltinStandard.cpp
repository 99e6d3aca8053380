#include "standard/BuiltinStandard.h"

#include "components/QrGlobalUtil.h"

#include <QDir>
#include <QFileInfo>

namespace BuiltinStandard {
namespace {
QString g_folder;
}

const std::vector<Edition>& Editions()
{
    static const std::vector<Edition> editions = {
        {QStringLiteral("8"), kFileName, kEdition, kAreaName},
        {QStringLiteral("7"), QStringLiteral("공공데이터_공통표준7차_제·개정(2024.11월).xlsx"),
         QStringLiteral("공통표준 7차 (2024-11, 행정안전부)"), QStringLiteral("공통표준 7차")},
    };
    return editions;
}

const Edition& Default()
{
    return Editions().front();
}

const Edition* Find(const QString& key)
{
    QString k = key.trimmed();
    if (k.startsWith(QLatin1String("builtin:")))
        k = k.mid(8);
    if (k.endsWith(u'차'))
        k.chop(1);
    if (k.isEmpty() || k == QLatin1String("builtin"))
        return &Default();
    for (const Edition& e : Editions())
        if (e.key == k)
            return &e;
    return nullptr;
}

QString Keys()
{
    QStringList keys;
    for (const Edition& e : Editions())
        keys << e.key;
    return keys.join(QStringLiteral(", "));
}

void SetFolder(const QString& folder)
{
    g_folder = folder;
}

QStringList Folders()
{
    const QString program = CQrGlobalUtil::GetPathProgram();
    QStringList folders;
    if (!g_folder.isEmpty())
        folders << g_folder;
    folders << program + QStringLiteral("/standard")
            << QDir::cleanPath(program + QStringLiteral("/../share/termwise/standard"));
    return folders;
}

QString Path(const Edition& edition)
{
    for (const QString& folder : Folders()) {
        const QString path = folder + u'/' + edition.fileName;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

bool Read(PublicStandard& out, QString& error)
{
    return Read(Default(), out, error);
}

bool Read(const Edition& edition, PublicStandard& out, QString& error)
{
    const QString path = Path(edition);
    if (path.isEmpty()) {
        out = PublicStandard();
        error = QStringLiteral("내장 공통표준 %1이(가) 없습니다 (찾은 곳: %2)")
                    .arg(edition.fileName, Folders().join(QStringLiteral(", ")));
        return false;
    }
    return PublicStandardReader::Read({path}, out, error);
}

} // namespace BuiltinStandard
