#include "components/QrDatabaseManager.h"
#include "settings/AnalyzeSettings.h"

#include "components/OutputLog.h"
#include "support/TestSupport.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class DictionaryDatabaseTest : public ::testing::Test
{
protected:
    void TearDown() override { CQrDatabaseManager::GetInstance().RemoveAll(); }

    void CreateDictionary(const QString& path)
    {
        CQrDatabaseManager& m = CQrDatabaseManager::GetInstance();
        ASSERT_TRUE(m.ConnectSqlite(path, u"SETUP"_qs));
        QSqlQuery q(m.Database(u"SETUP"_qs));
        ASSERT_TRUE(q.exec(u"CREATE TABLE QRC_DIC (LOG_NM VARCHAR(200), ENG_NM VARCHAR(400), DEFINITION TEXT)"_qs));
        ASSERT_TRUE(q.exec(u"INSERT INTO QRC_DIC VALUES ('고객', 'customer;client;', '물건을 사는 사람;;단골')"_qs));
        ASSERT_TRUE(q.exec(u"INSERT INTO QRC_DIC VALUES ('고객', 'customer', NULL)"_qs));
        ASSERT_TRUE(q.exec(u"INSERT INTO QRC_DIC VALUES ('번호', 'number', '차례')"_qs));
        q.finish();
        m.Remove(u"SETUP"_qs);
    }
    TempDataDir m_dir;
};

} // namespace

TEST_F(DictionaryDatabaseTest, LookupSplitsNamesAndDefinitions)
{
    CAnalyzeSettings s;
    std::set<QString> names, definitions;
    EXPECT_FALSE(s.LookupDictionaryNames(u"고객"_qs, names, definitions)); // no "DIC" yet

    EXPECT_FALSE(InitializeDictionaryDatabase()); // no file: skipped
    EXPECT_FALSE(CQrDatabaseManager::GetInstance().Has(u"DIC"_qs));
    CreateDictionary(CAnalyzeSettings::DatabasePath());
    ASSERT_TRUE(InitializeDictionaryDatabase());
    EXPECT_TRUE(CQrDatabaseManager::GetInstance().IsOpen(u"DIC"_qs));

    ASSERT_TRUE(s.LookupDictionaryNames(u"고객"_qs, names, definitions));
    EXPECT_EQ(names, (std::set<QString>{u"client"_qs, u"customer"_qs}));
    EXPECT_EQ(definitions, (std::set<QString>{u"단골"_qs, u"물건을 사는 사람"_qs}));
    names.clear();
    definitions.clear();
    ASSERT_TRUE(s.LookupDictionaryNames(u"없는말"_qs, names, definitions));
    EXPECT_TRUE(names.empty() && definitions.empty());
}

TEST_F(DictionaryDatabaseTest, DatabaseErrorIsLoggedAndReturnsFalse)
{
    // A database without the table.
    ASSERT_TRUE(CQrDatabaseManager::GetInstance().ConnectSqlite(m_dir.file(u"empty.db"_qs), u"DIC"_qs));
    CAnalyzeSettings s;
    std::set<QString> names, definitions;
    OutputLogCapture log;
    EXPECT_FALSE(s.LookupDictionaryNames(u"고객"_qs, names, definitions));
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(u"QRC_DIC"_qs)) << log.lines[0].toStdString();
}

TEST_F(DictionaryDatabaseTest, NamedConnections)
{
    CQrDatabaseManager& m = CQrDatabaseManager::GetInstance();
    QString error;
    EXPECT_FALSE(m.ConnectSqlite(m_dir.file(u"missing/folder/x.db"_qs), u"AR"_qs, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(m.Has(u"AR"_qs));
    EXPECT_FALSE(m.Database(u"AR"_qs).isValid());

    ASSERT_TRUE(m.ConnectSqlite(m_dir.file(u"a.db"_qs), u"AR"_qs));
    ASSERT_TRUE(m.ConnectSqlite(m_dir.file(u"b.db"_qs), u"AR"_qs)); // replaces the first
    EXPECT_EQ(m.Database(u"AR"_qs).databaseName(), m_dir.file(u"b.db"_qs));
    EXPECT_EQ(m.Names(), QStringList{u"AR"_qs});

    // A connection made elsewhere is registered and owned by the manager.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"elsewhere"_qs);
        db.setDatabaseName(m_dir.file(u"c.db"_qs));
        ASSERT_TRUE(db.open());
        m.AddDatabase(u"DIC"_qs, db);
    }
    EXPECT_TRUE(m.IsOpen(u"DIC"_qs));
    m.Remove(u"DIC"_qs);
    EXPECT_FALSE(m.Has(u"DIC"_qs));
    EXPECT_FALSE(QSqlDatabase::contains(u"elsewhere"_qs));
    EXPECT_TRUE(m.IsOpen(u"AR"_qs));
}
