#include "components/QrGlobalUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QSysInfo>
#include <QUuid>

QString CQrGlobalUtil::GetPathCommonData()
{
    const QString env = qEnvironmentVariable("TERMWISE_DATA_DIR");
    if (!env.isEmpty())
        return QDir::cleanPath(env);
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/Quarro"));
}

QString CQrGlobalUtil::GetPathStandard()
{
    return GetPathCommonData() + QStringLiteral("/standard");
}

QString CQrGlobalUtil::GetPathProgram()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

QString CQrGlobalUtil::GetComputerNameW()
{
    return QSysInfo::machineHostName();
}

QString CQrGlobalUtil::GenerateUID(const QString& prefix)
{
    return prefix + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}
