// The record access classes on SQLite and on the PostgreSQL server of the test run: cursor
// moves, paging, bookmarks, shared handles and the errors a caller sees.
#include "RepoTestDb.h"
#include "repository/AdoCommand.h"
#include "repository/AdoRecordset.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class AdoRecordAccessTest : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override
    {
        QString uri;
        if (GetParam() == TestDialect::Sqlite) {
            const QString path = m_dir.filePath(QStringLiteral("ado.db"));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)); // an empty file is an empty database
            uri = QStringLiteral("sqlite:") + path;
        } else {
            uri = TestPostgresUri();
            if (uri.isEmpty()) {
                if (RunningInCi())
                    FAIL() << "TERMWISE_TEST_PG is not set under CI";
                GTEST_SKIP() << "TERMWISE_TEST_PG is not set: run through scripts/with-postgres";
            }
        }
        ASSERT_TRUE(m_db.Open(uri));
        // Temporary tables keep parallel runs on one server apart.
        m_db.Execute(QStringLiteral("CREATE TEMP TABLE ado_t (n INTEGER, name VARCHAR(20))"));
    }

    void Fill(int rows)
    {
        CADOCommand insert(m_db, QStringLiteral("INSERT INTO ado_t (n, name) VALUES (?, ?)"));
        CADOParameter n(AdoType::Integer), name(AdoType::VarWChar, 20);
        insert.AddParameter(n);
        insert.AddParameter(name);
        for (int i = 1; i <= rows; ++i) {
            n.SetValue(i);
            name.SetValue(QStringLiteral("행%1").arg(i));
            ASSERT_EQ(insert.Execute(), 1);
        }
    }

    CADORecordset Select()
    {
        CADORecordset rs(m_db);
        rs.Open(QStringLiteral("SELECT n, name FROM ado_t ORDER BY n"));
        return rs;
    }

    QTemporaryDir m_dir;
    CADODatabase m_db;
};

AdoHResult CodeOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const CComError& error) {
        return error.Error();
    }
    return AdoCode::Ok;
}

TEST_P(AdoRecordAccessTest, MovesThroughThreeRowsWithBofAndEofAtBothEnds)
{
    Fill(3);
    CADORecordset rs = Select();
    EXPECT_FALSE(rs.IsBOF());
    EXPECT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.GetFieldCount(), 2);
    EXPECT_EQ(rs.GetAbsolutePosition(), 1);
    rs.MoveNext();
    rs.MoveNext();
    EXPECT_EQ(rs.GetFieldValue(QStringLiteral("NAME")).toString(), QStringLiteral("행3"));
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_TRUE(rs.IsEof());
    EXPECT_FALSE(rs.IsBof());
    EXPECT_EQ(rs.GetAbsolutePosition(), AdoPosition::Eof);
    EXPECT_EQ(CodeOf([&] { rs.MoveNext(); }), AdoCode::NoCurrentRecord);
    EXPECT_EQ(CodeOf([&] { rs.GetBookmark(); }), AdoCode::NoCurrentRecord);

    rs.MoveLast();
    EXPECT_EQ(rs.GetFieldValue(0).toInt(), 3);
    rs.MovePrevious();
    const QVariant second = rs.GetBookmark();
    rs.MovePrevious();
    rs.MovePrevious();
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_TRUE(rs.IsBof());
    EXPECT_FALSE(rs.IsEOF());
    EXPECT_EQ(CodeOf([&] { rs.MovePrevious(); }), AdoCode::NoCurrentRecord);

    rs.MoveFirst();
    EXPECT_EQ(rs.GetFieldValue(1).toString(), QStringLiteral("행1"));
    rs.SetBookmark(); // back to the row the bookmark was taken on
    EXPECT_EQ(rs.Bookmark(), second);
    EXPECT_EQ(rs.GetFieldValue(0).toInt(), 2);

    CADORecordset empty(m_db);
    empty.Open(QStringLiteral("SELECT n FROM ado_t WHERE n > 99"));
    EXPECT_TRUE(empty.IsBOF() && empty.IsEOF());
    EXPECT_EQ(CodeOf([&] { empty.MoveFirst(); }), AdoCode::NoCurrentRecord);
}

TEST_P(AdoRecordAccessTest, PagesOverTenRows)
{
    Fill(10);
    CADORecordset rs = Select();
    EXPECT_EQ(rs.GetPageSize(), 10);
    EXPECT_EQ(rs.GetPageCount(), 1);
    rs.SetPageSize(3);
    EXPECT_EQ(rs.GetPageCount(), 4);
    rs.SetAbsolutePage(4);
    EXPECT_EQ(rs.GetAbsolutePosition(), 10);
    EXPECT_EQ(rs.GetFieldValue(0).toInt(), 10);
    rs.SetAbsolutePage(2);
    EXPECT_EQ(rs.GetAbsolutePosition(), 4);
    rs.SetAbsolutePosition(6);
    EXPECT_EQ(rs.GetAbsolutePage(), 2);
    rs.SetAbsolutePosition(7);
    EXPECT_EQ(rs.GetAbsolutePage(), 3);
    EXPECT_EQ(CodeOf([&] { rs.SetAbsolutePage(5); }), AdoCode::InvalidArgument);
    EXPECT_EQ(CodeOf([&] { rs.SetAbsolutePosition(11); }), AdoCode::InvalidArgument);
    EXPECT_EQ(rs.GetAbsolutePosition(), 7);
}

TEST_P(AdoRecordAccessTest, ConnectionStateWithoutTouchingAnEmptyHandle)
{
    CADORecordset loose(AdoRecordsetPtr{});
    EXPECT_FALSE(loose.IsConnectionOpen());
    EXPECT_EQ(CodeOf([&] { loose.IsEOF(); }), AdoCode::Pointer);
    EXPECT_FALSE(CADORecordset().IsConnectionOpen());

    CADORecordset rs(m_db);
    EXPECT_TRUE(rs.IsConnectionOpen());
    EXPECT_EQ(CodeOf([&] { rs.IsEOF(); }), AdoCode::ObjectClosed);
    CADODatabase copy = m_db;
    copy.Close(); // the connection is shared: closing it through a copy closes it for all
    EXPECT_FALSE(rs.IsConnectionOpen());
    EXPECT_FALSE(m_db.IsOpen());
}

TEST_P(AdoRecordAccessTest, CopiesShareHandlesAndCountThem)
{
    const auto holders = [](const CADODatabase& db) { return db.GetActiveConnection().use_count() - 1; };
    EXPECT_EQ(holders(m_db), 1);
    {
        CADODatabase copy(m_db);
        EXPECT_EQ(holders(m_db), 2);
        CADODatabase& alias = copy;
        copy = alias; // self-assignment
        EXPECT_EQ(holders(m_db), 2);
        copy = m_db; // already shares the handle
        EXPECT_EQ(holders(m_db), 2);
        CADODatabase other;
        copy = other;
        EXPECT_EQ(holders(m_db), 1);
        EXPECT_EQ(holders(other), 2);
        copy = m_db;
    }
    EXPECT_EQ(holders(m_db), 1);
    EXPECT_TRUE(m_db.IsOpen()); // a copy going away leaves the connection open

    Fill(3);
    CADORecordset rs = Select();
    CADORecordset shared = rs;
    EXPECT_EQ(rs.GetRecordset().use_count(), 3);
    shared.MoveNext(); // one cursor behind both wrappers
    EXPECT_EQ(rs.GetAbsolutePosition(), 2);

    CADOParameter parameter(AdoType::VarWChar, 10, AdoType::ParamInput, QStringLiteral("p_name"));
    CADOParameter copy = parameter;
    EXPECT_EQ(parameter.GetParameter().use_count(), 3);
    copy.SetName(QStringLiteral("renamed"));
    EXPECT_EQ(copy.GetName(), QStringLiteral("renamed"));
    EXPECT_EQ(parameter.GetName(), QStringLiteral("p_name"));
    EXPECT_EQ(copy.GetParameter()->Name(), QStringLiteral("p_name"));
    copy.SetScale(2);
    EXPECT_EQ(parameter.GetParameter()->NumericScale(), 2);
}

TEST_P(AdoRecordAccessTest, FailuresThrowWithTheDriversMessage)
{
    try {
        m_db.Execute(QStringLiteral("SELECT * FROM ado_missing_table"));
        FAIL() << "no exception";
    } catch (const CComError& error) {
        EXPECT_EQ(error.Error(), AdoCode::Fail);
        EXPECT_TRUE(error.Description().contains(QStringLiteral("ado_missing_table"))) << error.what();
        EXPECT_EQ(m_db.GetLastErrorString(), error.Description());
        EXPECT_EQ(m_db.GetLastError(), quint32(AdoCode::Fail));
    }
    const QString opened = m_db.GetConnectionString();
    EXPECT_EQ(CodeOf([&] { m_db.Open(QStringLiteral("sqlite:/nonexistent/other.db")); }), AdoCode::ObjectOpen);
    EXPECT_EQ(m_db.GetConnectionString(), opened) << "the open connection keeps its string";
    CADORecordset rs(m_db);
    EXPECT_EQ(CodeOf([&] { rs.Open(QStringLiteral("SELEC n FROM ado_t")); }), AdoCode::Fail);
    EXPECT_FALSE(rs.GetLastErrorString().isEmpty());

    CADODatabase closed;
    EXPECT_EQ(CodeOf([&] { closed.Open(QStringLiteral("sqlite:/nonexistent/ado.db")); }), AdoCode::Fail);
    EXPECT_TRUE(closed.GetLastErrorString().contains(QStringLiteral("/nonexistent/ado.db")));
    EXPECT_EQ(CodeOf([&] { CADODatabase(AdoConnectionPtr{}).BeginTransaction(); }), AdoCode::Pointer);
}

TEST_P(AdoRecordAccessTest, NestedTransactionsKeepOrDropTheirWork)
{
    EXPECT_EQ(m_db.BeginTransaction(), 1);
    Fill(1);
    EXPECT_EQ(m_db.BeginTransaction(), 2);
    Fill(2);
    EXPECT_EQ(m_db.RollbackTransaction(), AdoCode::Ok); // drops only the inner two rows
    EXPECT_EQ(m_db.CommitTransaction(), AdoCode::Ok);
    EXPECT_EQ(Select().GetRecordCount(), 1);
    EXPECT_EQ(CodeOf([&] { m_db.CommitTransaction(); }), AdoCode::IllegalOperation);
    EXPECT_EQ(m_db.Execute(QStringLiteral("UPDATE ado_t SET name = 'x'")), 1);
    EXPECT_EQ(m_db.GetRecordsAffected(), 1);

    if (GetParam() == TestDialect::Postgresql) {
        // A command's own time limit does not replace the session's.
        m_db.Execute(QStringLiteral("SET statement_timeout = '7s'"));
        CADOCommand update(m_db, QStringLiteral("UPDATE ado_t SET name = 'y'"));
        update.SetTimeout(3);
        EXPECT_EQ(update.Execute(), 1);
        CADORecordset limit(m_db);
        limit.Open(QStringLiteral("SELECT current_setting('statement_timeout')"));
        EXPECT_EQ(limit.GetFieldValue(0).toString(), QStringLiteral("7s"));
    }
}

INSTANTIATE_TEST_SUITE_P(Dialects, AdoRecordAccessTest, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

} // namespace
