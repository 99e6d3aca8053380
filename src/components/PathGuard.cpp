#include "components/PathGuard.h"

#include <QDir>
#include <QFileInfo>

namespace PathGuard {

QString FileOf(const QString& pathOrUri)
{
    QString path = pathOrUri.trimmed();
    if (path.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)) {
        path = path.mid(7);
        if (path.startsWith(QLatin1String("//")))
            path = path.mid(2);
    } else if (path.contains(QLatin1String("://"))) {
        return {};
    }
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    // Not there yet: its folder may still be reached through a link or "..".
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : folder + u'/' + info.fileName();
}

QString Clash(const std::vector<Named>& inputs, const std::vector<Named>& outputs)
{
    for (size_t o = 0; o < outputs.size(); ++o) {
        const QString out = FileOf(outputs[o].path);
        if (out.isEmpty())
            continue;
        for (const Named& in : inputs)
            if (FileOf(in.path) == out)
                return QStringLiteral("%1 %2은(는) %3으로 읽는 파일과 같은 파일입니다. 읽는 파일을 덮어쓰지 않도록 "
                                      "다른 파일을 주십시오")
                    .arg(outputs[o].option, QDir::toNativeSeparators(outputs[o].path), in.option);
        for (size_t p = 0; p < o; ++p)
            if (FileOf(outputs[p].path) == out)
                return QStringLiteral("%1 %2은(는) %3과(와) 같은 파일입니다. 출력마다 다른 파일을 주십시오")
                    .arg(outputs[o].option, QDir::toNativeSeparators(outputs[o].path), outputs[p].option);
    }
    return {};
}

} // namespace PathGuard
