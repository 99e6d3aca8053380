#include "repository/PasswordStore.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace {

// Runs a keychain job to its end. The job may finish inside start() (no service at all), so
// the loop only waits when it has not. False when it did not finish in time.
bool RunJob(QKeychain::Job& job)
{
    bool done = false;
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        done = true;
        loop.quit();
    });
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    job.start();
    if (!done) {
        QTimer::singleShot(3000, &loop, &QEventLoop::quit); // a keychain that does not answer soon is none
        loop.exec();
    }
    return done;
}

} // namespace

CKeychainPasswordStore::CKeychainPasswordStore(const QString& service) : m_service(service) {}

bool CKeychainPasswordStore::IsAvailable(QString* reason)
{
    if (m_available < 0) {
        // A read of a key nobody writes: "not found" proves that a service answered.
        QKeychain::ReadPasswordJob job(m_service);
        job.setKey(QStringLiteral("termwise-keychain-probe"));
        const bool finished = RunJob(job);
        const bool ok = finished && (job.error() == QKeychain::NoError || job.error() == QKeychain::EntryNotFound);
        m_available = ok ? 1 : 0;
        m_reason = ok ? QString() : finished ? job.errorString() : QStringLiteral("키체인이 응답하지 않습니다");
        if (!ok && m_reason.isEmpty())
            m_reason = QStringLiteral("키체인 오류 %1").arg(int(job.error()));
    }
    if (reason)
        *reason = m_reason;
    return m_available == 1;
}

bool CKeychainPasswordStore::Write(const QString& key, const QString& password, QString* error)
{
    if (!IsAvailable(error))
        return false;
    QKeychain::WritePasswordJob job(m_service);
    job.setKey(key);
    job.setTextData(password);
    if (!RunJob(job) || job.error() != QKeychain::NoError) {
        if (error)
            *error = job.errorString();
        return false;
    }
    return true;
}

std::optional<QString> CKeychainPasswordStore::Read(const QString& key)
{
    if (!IsAvailable())
        return std::nullopt;
    QKeychain::ReadPasswordJob job(m_service);
    job.setKey(key);
    if (!RunJob(job) || job.error() != QKeychain::NoError)
        return std::nullopt;
    return job.textData();
}

void CKeychainPasswordStore::Remove(const QString& key)
{
    if (!IsAvailable())
        return;
    QKeychain::DeletePasswordJob job(m_service);
    job.setKey(key);
    RunJob(job);
}
