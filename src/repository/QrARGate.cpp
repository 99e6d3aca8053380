#include "repository/QrARGate.h"

namespace {
struct Session
{
    bool initialized = false;
    QString user;
    QString alias;
};
Session& TheSession()
{
    static Session session;
    return session;
}
} // namespace

void QrARGate::InitializeCommander(int, void*)
{
    TheSession().initialized = true;
}

void QrARGate::FinalizeCommander(int)
{
    TheSession() = Session();
}

bool QrARGate::IsCommanderInitialized()
{
    return TheSession().initialized;
}

void QrARGate::SetUserProfile(const QString& userName)
{
    TheSession().user = userName;
}

void QrARGate::SetDbAliasName(const QString& alias)
{
    TheSession().alias = alias;
}

QString QrARGate::GetDbAliasName()
{
    return TheSession().alias;
}

QString QrARGate::GetUserNameW()
{
    return TheSession().user;
}
