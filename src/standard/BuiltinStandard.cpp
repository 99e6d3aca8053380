#include "standard/BuiltinStandard.h"

#include "components/QrGlobalUtil.h"

#include <QDir>
#include <QFileInfo>

namespace BuiltinStandard {
namespace {
QString g_folder;
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

QString Path()
{
    for (const QString& folder : Folders()) {
        const QString path = folder + u'/' + kFileName;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

bool Read(PublicStandard& out, QString& error)
{
    const QString path = Path();
    if (path.isEmpty()) {
        out = PublicStandard();
        error = QStringLiteral("내장 공통표준 %1이(가) 없습니다 (찾은 곳: %2)")
                    .arg(kFileName, Folders().join(QStringLiteral(", ")));
        return false;
    }
    return PublicStandardReader::Read({path}, out, error);
}

} // namespace BuiltinStandard
