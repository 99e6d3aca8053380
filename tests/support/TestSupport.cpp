#include "TestSupport.h"

#include <QDir>
#include <QFile>

TempDataDir::TempDataDir()
{
    m_hadOld = qEnvironmentVariableIsSet("TERMWISE_DATA_DIR");
    m_old = qgetenv("TERMWISE_DATA_DIR");
    QDir(m_dir.path()).mkpath(QStringLiteral("standard"));
    qputenv("TERMWISE_DATA_DIR", m_dir.path().toUtf8());
}

TempDataDir::~TempDataDir()
{
    if (m_hadOld)
        qputenv("TERMWISE_DATA_DIR", m_old);
    else
        qunsetenv("TERMWISE_DATA_DIR");
}

QString TestDataPath(const QString& relative)
{
    return QStringLiteral(TERMWISE_TEST_DATA) + u'/' + relative;
}

QString ReadTextFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

void WriteTextFile(const QString& path, const QString& text)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text.toUtf8());
}
