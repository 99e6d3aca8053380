#include "standard/FixScript.h"

#include "analysis/TermAnalysis.h"
#include "exchange/AnalysisDocument.h"
#include "settings/AnalyzeSettings.h"
#include "standard/ConformanceCheck.h"

#include <QHash>
#include <QSet>
#include <algorithm>

using ModelSource::Dialect;

namespace FixScript {
namespace {

// The key a DBMS compares column names by.
QString KeyOf(const QString& stored, Dialect dialect)
{
    return dialect == Dialect::PostgreSql || dialect == Dialect::Oracle ? stored : stored.toLower();
}

// A standard physical name as that DBMS would store it when written without quotes.
QString Folded(const QString& name, Dialect dialect)
{
    if (dialect == Dialect::PostgreSql)
        return name.toLower();
    if (dialect == Dialect::Oracle)
        return name.toUpper();
    return name;
}

QString Literal(const QString& text, Dialect dialect)
{
    QString s = text;
    if (dialect == Dialect::MySql)
        s.replace(u'\\', QStringLiteral("\\\\"));
    s.replace(u'\'', QStringLiteral("''"));
    return u'\'' + s + u'\'';
}

// A comment line of the script: one line, whatever the names hold.
QString Note(const QString& text)
{
    QString line = text;
    line.replace(u'\n', u' ').replace(u'\r', u' ');
    return QStringLiteral("-- ") + line + u'\n';
}

QString TableRef(const ModelSource::ColumnFacts& f, Dialect dialect)
{
    return f.schema.isEmpty() ? Quote(f.table, dialect) : Quote(f.schema, dialect) + u'.' + Quote(f.table, dialect);
}

struct Standard
{
    QString logical, physical;
};

// The standard of an attribute when it is unambiguous.
bool StandardOf(const TermTargetResult& r, Standard& out)
{
    if (r.words.empty())
        return false;
    const bool allStandard =
        std::all_of(r.words.begin(), r.words.end(), [](const TermWordResult& w) { return w.found && w.standard; });
    if (!r.registered && !(allStandard && r.words.back().classWord))
        return false;
    QStringList logical;
    for (const TermWordResult& w : r.words) {
        if (!w.found || w.physicalName.isEmpty())
            return false;
        logical << w.logicalName;
    }
    out.logical = r.registered ? r.name : logical.join(QString());
    out.physical = r.physicalName;
    return !out.physical.isEmpty() && !out.physical.contains(u'(');
}

} // namespace

QString Quote(const QString& name, Dialect dialect)
{
    if (dialect == Dialect::MySql) {
        QString s = name;
        return u'`' + s.replace(u'`', QStringLiteral("``")) + u'`';
    }
    QString s = name;
    return u'"' + s.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString Build(const CTermAnalysis& analysis, const ModelSource::AttributeList& model, Dialect dialect,
              const CAnalyzeSettings& settings, const ConformanceReport* report, Counts& counts)
{
    counts = Counts();
    // Type findings of registered terms, by attribute: the domain to use.
    QHash<QString, QString> typeFindings;
    if (report)
        for (const ConformanceEntry& e : report->entries[size_t(eFindingTypeMismatch)])
            typeFindings.insert(e.attribute, e.replacement);
    // The columns of each table as they will be after the renames planned so far.
    QHash<QString, QSet<QString>> tableColumns;
    for (const ModelSource::ColumnFacts& f : model.facts)
        tableColumns[f.schema + u'\x1f' + f.table].insert(KeyOf(f.column, dialect));

    QString body;
    bool sqliteNoted = false;
    for (int i = 0; i < model.Columns(); ++i) {
        const QStringList& row = model.rows[i + 1];
        const ModelSource::ColumnFacts& f = model.facts[size_t(i)];
        QString name = row.value(ModelSource::ColAttribute);
        if (name.isEmpty())
            continue;
        settings.NormalizeAttributeName(name);
        const TermTargetResult* result = analysis.Result(name);
        Standard standard;
        if (!result || !StandardOf(*result, standard))
            continue;
        const QString table = TableRef(f, dialect);
        const QString where = row.value(ModelSource::ColTable) + u'.' + row.value(ModelSource::ColColumn);
        QString column = f.column;
        const QString wanted = Folded(standard.physical, dialect);
        if (KeyOf(column, dialect) != KeyOf(wanted, dialect)) {
            QSet<QString>& columns = tableColumns[f.schema + u'\x1f' + f.table];
            if (columns.contains(KeyOf(wanted, dialect))) {
                body +=
                    Note(QStringLiteral("건너뜀: %1을(를) %2(으)로 바꾸면 같은 테이블의 컬럼과 이름이 겹칩니다 (%3)")
                             .arg(where, standard.physical, standard.logical));
                ++counts.leftOut;
            } else {
                body += Note(
                    QStringLiteral("표준 컬럼명과 다름: %1 → %2 (%3)").arg(where, standard.physical, standard.logical));
                body += QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3;\n")
                            .arg(table, Quote(column, dialect), Quote(wanted, dialect));
                columns.remove(KeyOf(column, dialect));
                columns.insert(KeyOf(wanted, dialect));
                column = wanted;
                ++counts.renames;
            }
        }
        const QString comment = row.value(ModelSource::ColComment);
        if (ModelSource::LogicalNameOfComment(comment) != standard.logical) {
            const qsizetype eol = comment.indexOf(u'\n');
            const QString fixed = standard.logical + (eol < 0 ? QString() : comment.mid(eol));
            const QString finding = QStringLiteral("표준 용어명과 다른 설명: %1 \"%2\" → \"%3\"")
                                        .arg(where, ModelSource::LogicalNameOfComment(comment), standard.logical);
            if (dialect == Dialect::Sqlite) {
                if (!sqliteNoted)
                    body += Note(QStringLiteral("SQLite는 컬럼 설명을 두지 않으므로 설명은 바꾸지 않습니다"));
                sqliteNoted = true;
                ++counts.leftOut;
            } else if (dialect == Dialect::MySql) {
                if (f.definition.isEmpty()) {
                    body += Note(finding + QStringLiteral(" (컬럼 정의를 몰라 바꾸지 않습니다)"));
                    ++counts.leftOut;
                } else {
                    body += Note(finding);
                    body += QStringLiteral("ALTER TABLE %1 MODIFY COLUMN %2 %3 COMMENT %4;\n")
                                .arg(table, Quote(column, dialect), f.definition, Literal(fixed, dialect));
                    ++counts.comments;
                }
            } else {
                body += Note(finding);
                body += QStringLiteral("COMMENT ON COLUMN %1.%2 IS %3;\n")
                            .arg(table, Quote(column, dialect), Literal(fixed, dialect));
                ++counts.comments;
            }
        }
        if (result->registered && typeFindings.contains(name)) {
            body += Note(QStringLiteral("데이터타입이 용어의 도메인과 다름: %1 %2, 도메인 %3")
                             .arg(where, row.value(ModelSource::ColType), typeFindings.value(name)));
            ++counts.typeNotes;
        }
    }
    QString script = Note(QStringLiteral("Termwise 표준 보정 스크립트 (%1): 컬럼 이름 %2건, 설명 %3건, 제외 %4건, "
                                         "데이터타입 참고 %5건")
                              .arg(ModelSource::DialectName(dialect))
                              .arg(counts.renames)
                              .arg(counts.comments)
                              .arg(counts.leftOut)
                              .arg(counts.typeNotes));
    script += Note(QStringLiteral("검토한 뒤 실행하십시오. Termwise는 이 스크립트를 실행하지 않습니다."));
    if (dialect == Dialect::PostgreSql)
        return script + QStringLiteral("BEGIN;\n") + body + QStringLiteral("COMMIT;\n");
    return script + body;
}

bool Write(const QString& path, const QString& script, QString& error)
{
    return AnalysisDocument::WriteFile(script.toUtf8(), path, &error);
}

} // namespace FixScript
