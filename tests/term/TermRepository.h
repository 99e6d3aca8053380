#pragma once
// A small standard area in a real repository database ("AR"), on SQLite or on the PostgreSQL
// of scripts/with-postgres (TERMWISE_TEST_PG).
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

struct TermRepository
{
    // "sqlite" or "postgres". False with `skipReason` set when the backend is not available.
    bool Open(const QString& backend, QString& skipReason);
    void Close();
    bool Exec(const QString& sql, const QVariantList& values = {});

    void AddArea(const QString& id, const QString& name, const QString& parent = QString());
    void AddWord(const QString& area, const QString& id, const QString& logical, const QString& physical,
                 bool classWord, bool standard = true, const QString& full = QString());
    void AddTerm(const QString& area, const QString& id, const QString& logical, const QString& physical,
                 const QString& domainId);
    void AddDomain(const QString& area, const QString& id, const QString& keyDomain, const QString& name,
                   const QString& logicalType, int length, int scale);
    // A word row that ended: never current.
    void AddOldWord(const QString& area, const QString& id, const QString& logical, const QString& physical);

    bool LoadDemo();
    // The standard used by most tests, in area "A1" ("공통표준"), with a second area "A2".
    void LoadStandard();

    QString m_schema; // PostgreSQL: the per-test schema
    QString m_file;
    bool m_open = false;
    QStringList m_errors;
};

#include <ostream>
// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
