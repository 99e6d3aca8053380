#include "components/ResourceTexts.h"

#include "components/Platform.h"

#include <QLocale>

namespace ResourceText {
namespace {
QString Megabytes(quint64 bytes)
{
    return QLocale::c().toString(qulonglong((bytes + (1 << 20) - 1) >> 20)) + QStringLiteral(" MB");
}
} // namespace

QString NoMemory()
{
    const quint64 peak = Platform::AddressSpacePeak();
    const quint64 limit = Platform::AddressSpaceLimit();
    QString text = kNoMemory;
    if (peak && limit)
        text += QStringLiteral(" (최대 %1 사용, 한도 %2)").arg(Megabytes(peak), Megabytes(limit));
    else if (peak)
        text += QStringLiteral(" (최대 %1 사용)").arg(Megabytes(peak));
    return text;
}

} // namespace ResourceText
