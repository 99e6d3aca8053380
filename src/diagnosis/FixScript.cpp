#include "diagnosis/FixScript.h"

#include "analysis/TermAnalysis.h"
#include "settings/AnalyzeSettings.h"
#include "standard/ConformanceCheck.h"

#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <algorithm>
#include <unordered_map>

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

namespace {

// What the first pass decided for one column; the second writes it.
enum Action : quint8 {
    kRename = 1,
    kClash = 2,          // the rename is left out
    kComment = 4,        // the dialect's comment statement
    kCommentLeftOut = 8, // MySQL without the column's definition, or SQLite
    kTypeNote = 16,
};
// An attribute's result and standard, worked out once however many columns carry it.
struct Known
{
    QString name; // normalised, as the analysis knows it
    const TermTargetResult* result = nullptr;
    Standard standard;
};
using KnownAttributes = std::unordered_map<QString, Known>; // by the name as the model has it

struct Planned
{
    int row; // data row of the model
    const Known* attribute;
    quint8 actions;
};

std::vector<Planned> PlanFixes(const CTermAnalysis& analysis, const ModelSource::AttributeList& model, Dialect dialect,
                               const CAnalyzeSettings& settings, const QHash<QString, QString>& typeFindings,
                               KnownAttributes& known, Counts& counts)
{
    std::vector<Planned> plan;
    // The readers give a table's columns together: one table at a time, its column names (as
    // they will be after the renames planned so far) built only when a rename is wanted.
    int begin = 0;
    while (begin < model.Columns()) {
        const ModelSource::ColumnFacts& first = model.facts[size_t(begin)];
        int end = begin + 1;
        while (end < model.Columns() && model.facts[size_t(end)].table == first.table &&
               model.facts[size_t(end)].schema == first.schema)
            ++end;
        QSet<QString> columns;
        bool columnsBuilt = false;
        for (int i = begin; i < end; ++i) {
            const QStringList& row = model.rows[i + 1];
            const QString attribute = row.value(ModelSource::ColAttribute);
            if (attribute.isEmpty())
                continue;
            auto [it, created] = known.try_emplace(attribute);
            Known& k = it->second;
            if (created) {
                k.name = attribute;
                settings.NormalizeAttributeName(k.name);
                k.result = analysis.Result(k.name);
                if (k.result && !StandardOf(*k.result, k.standard))
                    k.result = nullptr;
            }
            if (!k.result)
                continue;
            const Standard& standard = k.standard;
            quint8 actions = 0;
            const QString column = KeyOf(model.facts[size_t(i)].column, dialect);
            const QString wanted = KeyOf(Folded(standard.physical, dialect), dialect);
            if (column != wanted) {
                if (!columnsBuilt) {
                    for (int j = begin; j < end; ++j)
                        columns.insert(KeyOf(model.facts[size_t(j)].column, dialect));
                    columnsBuilt = true;
                }
                if (columns.contains(wanted)) {
                    actions |= kClash;
                    ++counts.leftOut;
                } else {
                    columns.remove(column);
                    columns.insert(wanted);
                    actions |= kRename;
                    ++counts.renames;
                }
            }
            if (ModelSource::LogicalNameOfComment(row.value(ModelSource::ColComment)) != standard.logical) {
                if (dialect == Dialect::Sqlite ||
                    (dialect == Dialect::MySql && model.facts[size_t(i)].definition.isEmpty())) {
                    actions |= kCommentLeftOut;
                    ++counts.leftOut;
                } else {
                    actions |= kComment;
                    ++counts.comments;
                }
            }
            if (k.result->registered && typeFindings.contains(k.name)) {
                actions |= kTypeNote;
                ++counts.typeNotes;
            }
            if (actions)
                plan.push_back({i, &k, actions});
        }
        begin = end;
    }
    return plan;
}

// The script in UTF-8 pieces, so a script of a national model is never held whole.
class Output
{
public:
    explicit Output(QIODevice& device) : m_device(device) {}
    void Add(const QString& text)
    {
        m_text += text;
        if (m_text.size() >= 512 * 1024)
            Flush();
    }
    bool Flush()
    {
        const QByteArray bytes = m_text.toUtf8();
        m_text.clear();
        m_ok = m_ok && m_device.write(bytes) == bytes.size();
        return m_ok;
    }

private:
    QIODevice& m_device;
    QString m_text;
    bool m_ok = true;
};

bool WriteScript(QIODevice& device, const CTermAnalysis& analysis, const ModelSource::AttributeList& model,
                 Dialect dialect, const CAnalyzeSettings& settings, const ConformanceReport* report, Counts& counts)
{
    counts = Counts();
    // Type findings of registered terms, by attribute: the domain to use.
    QHash<QString, QString> typeFindings;
    if (report)
        for (const ConformanceEntry& e : report->entries[size_t(eFindingTypeMismatch)])
            typeFindings.insert(e.attribute, e.replacement);
    KnownAttributes known;
    const std::vector<Planned> plan = PlanFixes(analysis, model, dialect, settings, typeFindings, known, counts);

    Output out(device);
    out.Add(Note(QStringLiteral("Termwise 표준 보정 스크립트 (%1): 컬럼 이름 %2건, 설명 %3건, 제외 %4건, "
                                "데이터타입 참고 %5건")
                     .arg(ModelSource::DialectName(dialect))
                     .arg(counts.renames)
                     .arg(counts.comments)
                     .arg(counts.leftOut)
                     .arg(counts.typeNotes)));
    out.Add(Note(QStringLiteral("검토한 뒤 실행하십시오. Termwise는 이 스크립트를 실행하지 않습니다.")));
    if (dialect == Dialect::PostgreSql)
        out.Add(QStringLiteral("BEGIN;\n"));
    bool sqliteNoted = false;
    for (const Planned& p : plan) {
        const QStringList& row = model.rows[p.row + 1];
        const ModelSource::ColumnFacts& f = model.facts[size_t(p.row)];
        const Standard& standard = p.attribute->standard;
        const QString table = TableRef(f, dialect);
        const QString where = row.value(ModelSource::ColTable) + u'.' + row.value(ModelSource::ColColumn);
        QString column = f.column;
        if (p.actions & kClash) {
            out.Add(Note(QStringLiteral("건너뜀: %1을(를) %2(으)로 바꾸면 같은 테이블의 컬럼과 이름이 겹칩니다 (%3)")
                             .arg(where, standard.physical, standard.logical)));
        } else if (p.actions & kRename) {
            const QString wanted = Folded(standard.physical, dialect);
            out.Add(Note(
                QStringLiteral("표준 컬럼명과 다름: %1 → %2 (%3)").arg(where, standard.physical, standard.logical)));
            out.Add(QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3;\n")
                        .arg(table, Quote(column, dialect), Quote(wanted, dialect)));
            column = wanted;
        }
        if (p.actions & (kComment | kCommentLeftOut)) {
            const QString comment = row.value(ModelSource::ColComment);
            const qsizetype eol = comment.indexOf(u'\n');
            const QString fixed = standard.logical + (eol < 0 ? QString() : comment.mid(eol));
            const QString finding = QStringLiteral("표준 용어명과 다른 설명: %1 \"%2\" → \"%3\"")
                                        .arg(where, ModelSource::LogicalNameOfComment(comment), standard.logical);
            if (dialect == Dialect::Sqlite) {
                if (!sqliteNoted)
                    out.Add(Note(QStringLiteral("SQLite는 컬럼 설명을 두지 않으므로 설명은 바꾸지 않습니다")));
                sqliteNoted = true;
            } else if (p.actions & kCommentLeftOut) {
                out.Add(Note(finding + QStringLiteral(" (컬럼 정의를 몰라 바꾸지 않습니다)")));
            } else if (dialect == Dialect::MySql) {
                out.Add(Note(finding));
                out.Add(QStringLiteral("ALTER TABLE %1 MODIFY COLUMN %2 %3 COMMENT %4;\n")
                            .arg(table, Quote(column, dialect), f.definition, Literal(fixed, dialect)));
            } else {
                out.Add(Note(finding));
                out.Add(QStringLiteral("COMMENT ON COLUMN %1.%2 IS %3;\n")
                            .arg(table, Quote(column, dialect), Literal(fixed, dialect)));
            }
        }
        if (p.actions & kTypeNote) {
            out.Add(Note(QStringLiteral("데이터타입이 용어의 도메인과 다름: %1 %2, 도메인 %3")
                             .arg(where, row.value(ModelSource::ColType), typeFindings.value(p.attribute->name))));
        }
    }
    if (dialect == Dialect::PostgreSql)
        out.Add(QStringLiteral("COMMIT;\n"));
    return out.Flush();
}

} // namespace

bool Write(const QString& path, const CTermAnalysis& analysis, const ModelSource::AttributeList& model, Dialect dialect,
           const CAnalyzeSettings& settings, const ConformanceReport* report, Counts& counts, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !WriteScript(file, analysis, model, dialect, settings, report, counts) ||
        !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace FixScript
