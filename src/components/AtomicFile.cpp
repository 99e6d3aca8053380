#include "components/AtomicFile.h"

#include "components/Platform.h"

#include <QDir>
#include <QFileInfo>

QString WriteFailureText(const QString& path, int errnum)
{
    const QString reason = Platform::IsNoSpace(errnum) ? ResourceText::kNoSpace
                           : errnum != 0               ? Platform::ErrorText(errnum)
                                                       : QStringLiteral("쓰기에 실패했습니다");
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
}

QString NamingFile(const QString& path, const QString& error)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (error.startsWith(shown + u':') || error.startsWith(path + u':'))
        return error;
    return QStringLiteral("%1: %2").arg(shown, error.isEmpty() ? QStringLiteral("쓰기에 실패했습니다") : error);
}

CAtomicFile::CAtomicFile(const QString& path) : QSaveFile(path), m_path(path) {}

bool CAtomicFile::Open()
{
    m_errno = 0;
    m_error.clear();
    if (open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return true;
    const int errnum = Platform::LastError();
    m_error = QFileInfo(m_path).absoluteDir().exists() && errnum != 0
                  ? WriteFailureText(m_path, errnum)
                  : QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_path), errorString());
    return false;
}

qint64 CAtomicFile::writeData(const char* data, qint64 len)
{
    const qint64 written = QSaveFile::writeData(data, len);
    if (written != len && m_errno == 0)
        m_errno = Platform::LastError() != 0 ? Platform::LastError() : -1;
    return written;
}

bool CAtomicFile::Commit(bool whole)
{
    if (m_errno == 0 && (!whole || !isOpen() || error() != QFileDevice::NoError))
        m_errno = -1;
    if (m_errno == 0) {
        if (commit())
            return true;
        m_errno = Platform::LastError() != 0 ? Platform::LastError() : -1;
    } else if (isOpen()) {
        cancelWriting();
        commit(); // with the writing cancelled this only drops the temporary file
    }
    if (m_error.isEmpty())
        m_error = m_errno > 0 ? WriteFailureText(m_path, m_errno)
                              : QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_path), errorString());
    return false;
}
