#include "repository/ColumnLimits.h"

#include "components/QrDatatype.h"
#include "repository/RepositoryInit.h"
#include "repository/RepositorySql.h"
#include "repository/SqlExecutor.h"

#include <QRegularExpression>

namespace {

QString Key(const QString& table, const QString& column)
{
    return table.toUpper() + u'.' + column.toUpper();
}

bool IsOracle(int dbType)
{
    return dbType == GlobalEnum::DBMS_ORACLE || dbType == GlobalEnum::DBMS_ORACLE_OLD;
}

// "VARCHAR(200)", "VARCHAR2(200 CHAR)": the length and whether it counts bytes.
bool ParseType(const QString& type, bool oracle, FieldCheck::Limit& limit)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(N?VARCHAR2?|N?CHAR|CHARACTER VARYING)\s*\(\s*(\d+)\s*(BYTE|CHAR)?\s*\))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(type);
    if (!m.hasMatch())
        return false;
    limit.length = m.captured(2).toInt();
    const QString unit = m.captured(3).toUpper();
    // Oracle counts VARCHAR2 in bytes unless told otherwise; NVARCHAR2 in characters.
    limit.bytes = oracle && !m.captured(1).startsWith(u'N', Qt::CaseInsensitive) && unit != QLatin1String("CHAR");
    return true;
}

} // namespace

const QStringList& CColumnLimits::WrittenTables()
{
    static const QStringList tables = {QStringLiteral("STD_AREA"),        QStringLiteral("STD_DIC"),
                                       QStringLiteral("STD_DOM"),         QStringLiteral("STD_DOM_GRP"),
                                       QStringLiteral("STD_WORD_COMBI"),  QStringLiteral("STD_ANLY_WORD"),
                                       QStringLiteral("STD_ANLY_DOMAIN"), QStringLiteral("STD_ANLY_EXCEPT")};
    return tables;
}

void CColumnLimits::ParseSchema(const QString& script, bool oracle)
{
    static const QRegularExpression table(QStringLiteral(R"(CREATE\s+TABLE\s+(\w+)\s*\(([^;]*)\))"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression column(QStringLiteral(R"(^\s*(\w+)\s+(.+)$)"));
    for (auto it = table.globalMatch(script); it.hasNext();) {
        const QRegularExpressionMatch t = it.next();
        for (const QString& line : t.captured(2).split(u'\n')) {
            const QRegularExpressionMatch c = column.match(line);
            FieldCheck::Limit limit;
            if (c.hasMatch() && ParseType(c.captured(2), oracle, limit))
                m_limits[Key(t.captured(1), c.captured(1))] = limit;
        }
    }
}

CColumnLimits CColumnLimits::Bundled(int dbType)
{
    CColumnLimits limits;
    limits.ParseSchema(RepositorySchemaScript(dbType), IsOracle(dbType));
    return limits;
}

CColumnLimits CColumnLimits::Read(ISqlExecutor& database)
{
    const int type = database.GetDBType();
    CColumnLimits limits = Bundled(type);
    const bool oracle = IsOracle(type);
    const QString& statement = type == GlobalEnum::DBMS_SQLITE       ? RepositorySql::Sqlite::ColumnTypes
                               : type == GlobalEnum::DBMS_POSTGRESQL ? RepositorySql::Postgresql::ColumnLengths
                                                                     : RepositorySql::Oracle::ColumnLengths;
    for (const QString& table : WrittenTables()) {
        const SqlOutcome out = database.Execute(statement, {SqlParam::Text(table)});
        if (!out.ok)
            continue; // the bundled lengths stand
        std::map<QString, FieldCheck::Limit> read;
        for (size_t r = 0; r < out.rows.size(); ++r) {
            const QString column = out.rows.Value(r, 0);
            FieldCheck::Limit limit;
            if (type == GlobalEnum::DBMS_SQLITE) {
                if (!ParseType(out.rows.Value(r, 1), false, limit))
                    limit = {}; // TEXT and the like: no length
            } else if (oracle) {
                const bool chars = out.rows.Value(r, QStringLiteral("CHAR_USED")) == QLatin1String("C");
                limit.length =
                    out.rows.Value(r, chars ? QStringLiteral("CHAR_LENGTH") : QStringLiteral("DATA_LENGTH")).toInt();
                limit.bytes = !chars;
            } else {
                limit.length = out.rows.Value(r, 1).toInt(); // empty for TEXT
            }
            // A table of the same name in two schemas of the search path: the stricter wins.
            auto [at, fresh] = read.try_emplace(column.toUpper(), limit);
            if (!fresh && limit.length > 0 && (at->second.length == 0 || limit.length < at->second.length))
                at->second = limit;
        }
        for (const auto& [column, limit] : read)
            limits.m_limits[Key(table, column)] = limit;
    }
    return limits;
}

FieldCheck::Limit CColumnLimits::Of(const QString& table, const QString& column) const
{
    const auto it = m_limits.find(Key(table, column));
    return it == m_limits.end() ? FieldCheck::Limit{} : it->second;
}

QString CColumnLimits::Check(const QString& table, const QString& column, QStringView value,
                             FieldCheck::Lines lines) const
{
    const QString problem = FieldCheck::Problem(value, Of(table, column), lines);
    return problem.isEmpty() ? problem : column + QStringLiteral(": ") + problem;
}
