// The connector's headless parts: profiles and where their passwords go, matching another
// program's connection information to a profile, and the dictionary tool's arguments.
#include "components/QrDatabaseManager.h"
#include "repository/QrDbConnector.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

// A keychain in memory; "available" says whether a service answers.
class FakeKeychain : public IPasswordStore
{
public:
    explicit FakeKeychain(bool available) : m_available(available) {}
    bool IsAvailable(QString* reason) override
    {
        if (reason)
            *reason = m_available ? QString() : QStringLiteral("no secret service");
        return m_available;
    }
    bool Write(const QString& key, const QString& password, QString*) override
    {
        if (!m_available)
            return false;
        entries[key] = password;
        return true;
    }
    std::optional<QString> Read(const QString& key) override
    {
        auto it = entries.find(key);
        return it == entries.end() ? std::nullopt : std::optional<QString>(it->second);
    }
    void Remove(const QString& key) override { entries.erase(key); }
    std::map<QString, QString> entries;

private:
    bool m_available;
};

ConnectionProfile PgProfile(const QString& name, bool save)
{
    ConnectionProfile p;
    p.name = name;
    p.dbType = 11;
    p.host = QStringLiteral("db.local");
    p.database = QStringLiteral("meta");
    p.dbUser = QStringLiteral("arman");
    p.arUser = QStringLiteral("홍길동");
    p.savePassword = save;
    return p;
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ConnectionProfileTest, PasswordsGoToTheKeychainOrTheSessionNeverToAFile)
{
    qunsetenv("TERMWISE_DB_PASSWORD");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("termwise.ini"));
    const QString secret = QStringLiteral("s3cr3t-암호");
    for (bool keychainUp : {true, false}) {
        SCOPED_TRACE(keychainUp ? "keychain" : "no keychain");
        QFile::remove(file);
        FakeKeychain keychain(keychainUp);
        {
            QSettings settings(file, QSettings::IniFormat);
            CConnectionProfileStore store(&keychain, &settings);
            QString warning;
            ASSERT_TRUE(store.Save(PgProfile(QStringLiteral("운영"), true), secret, &warning));
            EXPECT_EQ(warning.isEmpty(), keychainUp);
            EXPECT_EQ(store.Password(*store.Find(QStringLiteral("운영"))), secret); // this session
            settings.sync();
        }
        EXPECT_FALSE(FileBytes(file).contains(secret.toUtf8()));
        EXPECT_FALSE(FileBytes(file).contains(QByteArray("s3cr3t")));
        EXPECT_EQ(keychain.entries.size(), keychainUp ? 1u : 0u);

        // the next run: the password comes back only from a keychain
        QSettings settings(file, QSettings::IniFormat);
        CConnectionProfileStore next(&keychain, &settings);
        const std::optional<ConnectionProfile> loaded = next.Find(QStringLiteral("운영"));
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->savePassword, keychainUp);
        EXPECT_EQ(loaded->arUser, QStringLiteral("홍길동"));
        EXPECT_EQ(next.Password(*loaded), keychainUp ? std::optional<QString>(secret) : std::nullopt);

        // no longer kept: the keychain forgets it too
        ConnectionProfile unsaved = *loaded;
        unsaved.savePassword = false;
        next.Save(unsaved, secret);
        EXPECT_TRUE(keychain.entries.empty());
        next.Remove(QStringLiteral("운영"));
        EXPECT_TRUE(next.Profiles().empty());
    }
}

TEST(ConnectionProfileTest, RequestsFindTheProfileOfTheirDatabaseSourceAndUser)
{
    ConnectionProfile sqlite;
    sqlite.name = QStringLiteral("local");
    sqlite.dbType = 13;
    sqlite.path = QStringLiteral("/data/repo/meta.db");
    ConnectionProfile pg = PgProfile(QStringLiteral("pg"), false);
    ConnectionProfile pgOtherPort = PgProfile(QStringLiteral("pg6543"), false);
    pgOtherPort.port = 6543;
    ConnectionProfile ora;
    ora.name = QStringLiteral("ora");
    ora.dbType = 1;
    ora.host = QStringLiteral("orahost");
    ora.database = QStringLiteral("ORCL");
    ora.dbUser = QStringLiteral("SCOTT");
    const std::vector<ConnectionProfile> profiles = {sqlite, pg, pgOtherPort, ora};
    struct Case
    {
        const char* database;
        const char* source;
        const char* user;
        int expected;
    };
    const Case cases[] = {
        {"meta", "db.local", "arman", 1},           {"meta", "DB.LOCAL:5432", "arman", 1},
        {"meta", "db.local:6543", "arman", 2},      {"meta", "db.local:7000", "arman", -1},
        {"meta", "db.local", "Arman", -1}, // PostgreSQL user names keep their case
        {"other", "db.local", "arman", -1},         {"meta", "elsewhere", "arman", -1},
        {"ORCL", "orahost:1521", "scott", 3}, // Oracle's do not
        {"meta.db", "/data/repo/meta.db", "", 0},   {"", "/data/repo/../repo/meta.db", "", 0},
        {"meta.db", "/data/other/meta.db", "", -1}, {"", "", "", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.database << " " << c.source << " " << c.user);
        EXPECT_EQ(FindMatchingProfile(profiles, QString::fromUtf8(c.database), QString::fromUtf8(c.source),
                                      QString::fromUtf8(c.user)),
                  c.expected);
    }
}

TEST(ConnectionInfoTest, DictionaryToolArgumentsFollowTheRecordAndLeavePasswordsOut)
{
    EXPECT_EQ(LexicorArguments(
                  QStringLiteral(R"({"ArConnectionInfo":{"DataSource":"db.local:5432","DatabaseName":"meta"}})")),
              (QStringList{QStringLiteral("meta"), QStringLiteral("db.local:5432")}));
    EXPECT_EQ(
        LexicorArguments(QStringLiteral(
            R"({"ArConnectionInfo":{"DataSource":"h","DbUserPassword":"pw","DbUserId":"u","ArUserPassword":"pw2",)"
            R"("ArUserId":"a","DatabaseName":"d","AuthenticationMethod":"Database","DbUserPasswordSaveYn":"Y",)"
            R"("ArUserPasswordSaveYn":"N","AuthenticationServerUseYn":"N","Extra":"x","Port":5432}})")),
        (QStringList{"d", "Database", "a", "N", "N", "u", "Y", "h"}));
    for (const char* bad : {"", "{", "[]", R"({"ArConnectionInfo":"x"})", R"({"Other":{}})"}) {
        EXPECT_TRUE(LexicorArguments(QString::fromUtf8(bad)).isEmpty()) << bad;
        EXPECT_FALSE(ParseArConnectionInfo(QString::fromUtf8(bad))) << bad;
    }

    // the record of a profile carries its password only when the profile keeps it
    const QString kept = BuildArConnectionInfo(PgProfile(QStringLiteral("pg"), true), QStringLiteral("pw"));
    const QString notKept = BuildArConnectionInfo(PgProfile(QStringLiteral("pg"), false), std::nullopt);
    EXPECT_EQ(ParseArConnectionInfo(kept)->value(QStringLiteral("DbUserPassword")).toString(), QStringLiteral("pw"));
    EXPECT_FALSE(ParseArConnectionInfo(notKept)->contains(QStringLiteral("DbUserPassword")));
    EXPECT_EQ(LexicorArguments(kept), (QStringList{"meta", "Database", "홍길동", "N", "N", "arman", "Y", "db.local"}));
}

TEST(ConnectorTest, ConnectDirectArOpensTheMatchingSqliteProfile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("meta.db"));
    ASSERT_EQ(RunRepositoryCommand({QStringLiteral("init"), QStringLiteral("sqlite:") + path}), 0);
    FakeKeychain keychain(false);
    QSettings settings(dir.filePath(QStringLiteral("profiles.ini")), QSettings::IniFormat);
    CQrDbConnector& connector = CQrDbConnector::GetInstance();
    connector.SetStorage(&keychain, &settings);
    ConnectionProfile profile;
    profile.name = QStringLiteral("로컬 저장소");
    profile.dbType = 13;
    profile.path = path;
    profile.arUser = QStringLiteral("architect");
    connector.Profiles().Save(profile, QString());

    EXPECT_EQ(connector.ConnectDirectAr(QStringLiteral("meta.db"), dir.filePath(QStringLiteral("other.db")), {}), 0);
    EXPECT_FALSE(CRepositoryConnection::Instance().Exists());
    ASSERT_EQ(connector.ConnectDirectAr(QStringLiteral("meta.db"), path, {}), 1);
    EXPECT_TRUE(CRepositoryConnection::Instance().IsConnected());
    EXPECT_EQ(connector.GetArDbAlias(), QStringLiteral("로컬 저장소"));
    EXPECT_EQ(connector.GetArUserName(QStringLiteral("AR")), QStringLiteral("architect"));
    EXPECT_EQ(LexicorArguments(connector.GetConnInfoForLexicor()),
              (QStringList{"meta.db", "Database", "architect", "N", "N", path}));

    // a URI connection is known by its file's name
    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    ASSERT_TRUE(connector.ConnectUri(QStringLiteral("sqlite:") + path));
    EXPECT_EQ(connector.GetArDbAlias(), QStringLiteral("meta.db"));
    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    CQrDbConnector::DestroyInstance();
}

} // namespace
