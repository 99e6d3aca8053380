#include "diagnosis/FixScript.h"

#include "analysis/LatinCase.h"
#include "diagnosis/FixScriptSql.h"
#include "standard/StandardTexts.h"

#include <QHash>
#include <QSaveFile>
#include <QStringBuilder>
#include <algorithm>
#include <vector>

using ModelSource::Dialect;

namespace FixScript {
namespace {

namespace Sql = FixScriptSql;

// A standard physical name as the server stores it written without quotes: PostgreSQL folds
// only A-Z to lower case, Oracle a-z to upper; MySQL and SQLite keep what is written.
QString Stored(const QString& name, Dialect dialect)
{
    if (dialect == Dialect::PostgreSql)
        return LatinCase::Lowered(name);
    if (dialect == Dialect::Oracle)
        return LatinCase::Folded(name);
    return name;
}

// The key a server compares column names by.
QString KeyOf(const QString& stored, Dialect dialect)
{
    switch (dialect) {
    case Dialect::MySql:
        return stored.toLower();
    case Dialect::Sqlite:
        return LatinCase::Lowered(stored);
    default:
        return stored;
    }
}

// The longest name the server keeps whole; 0: no limit. Longer names are cut or refused by
// the server, so the script refuses them itself.
bool OverLimit(const QString& name, Dialect dialect, QString& limit)
{
    switch (dialect) {
    case Dialect::PostgreSql:
        limit = QStringLiteral("63바이트");
        return name.toUtf8().size() > 63;
    case Dialect::MySql:
        limit = QStringLiteral("64자");
        return name.size() > 64;
    case Dialect::Oracle:
        limit = QStringLiteral("128바이트");
        return name.toUtf8().size() > 128;
    default:
        return false;
    }
}

bool OverCommentLimit(const QString& text, Dialect dialect)
{
    return (dialect == Dialect::MySql && text.size() > 1024) ||
           (dialect == Dialect::Oracle && text.toUtf8().size() > 4000);
}

// A string literal that ends where the server and its client both see it end, whatever their
// settings: PostgreSQL writes E'' (whose meaning no setting changes) when there is a backslash;
// MySQL escapes backslashes, as its client always reads them and the script turns them on.
QString Literal(const QString& text, Dialect dialect)
{
    QString s = text;
    if (dialect == Dialect::MySql) {
        s.replace(u'\\', QStringLiteral("\\\\"));
        s.replace(QChar(0x1A), QStringLiteral("\\Z")); // end of file to some clients
        s.replace(u'\r', QStringLiteral("\\r"));       // the client drops a CR before a line's end
    }
    s.replace(u'\'', QStringLiteral("''"));
    if (dialect == Dialect::PostgreSql && text.contains(u'\\')) {
        s.replace(u'\\', QStringLiteral("\\\\"));
        return QStringLiteral("E'") + s + u'\'';
    }
    return u'\'' + s + u'\'';
}

// A comment line of the script: one line whatever the names hold.
QString Note(const QString& text)
{
    QString line = QStringLiteral("-- ") % text % u'\n';
    const auto breaks = [](QChar c) {
        return c == u'\n' || c == u'\r' || c == QChar(0) || c == QChar(0x2028) || c == QChar(0x2029) ||
               c == QChar(0x85) || c == QChar(0x0B) || c == QChar(0x0C);
    };
    std::replace_if(line.begin() + 3, line.end() - 1, breaks, QChar(u' '));
    return line;
}

QString KeyRoles(unsigned char keys)
{
    QStringList roles;
    if (keys & ModelSource::PrimaryKey)
        roles << QStringLiteral("기본키");
    if (keys & ModelSource::ForeignKey)
        roles << QStringLiteral("외래키");
    if (keys & ModelSource::ReferencedKey)
        roles << QStringLiteral("다른 테이블이 참조하는 키");
    return roles.join(QStringLiteral(", "));
}

// The comment with its head replaced; empty when the head is not where the judge read it.
QString Rewritten(const QString& comment, const QString& head, const QString& standardName)
{
    if (comment.trimmed().isEmpty())
        return standardName;
    const qsizetype at = head.isEmpty() ? -1 : comment.indexOf(head);
    if (at < 0 || !comment.left(at).trimmed().isEmpty())
        return QString();
    return comment.left(at) + standardName + comment.mid(at + head.size());
}

// Oracle's SQL*Plus reads a script line by line, also inside a literal: it ends a statement at a
// line of "/" or "." or one that ends in ";", and runs a line that starts with its prefix "#" as
// a command of its own (HOST among them). Such a comment is left as a note.
bool EndsAnOracleStatement(const QString& text)
{
    QString lines = text;
    lines.replace(u'\r', u'\n');
    for (const QString& line : lines.split(u'\n')) {
        const QString t = line.trimmed();
        if (t == u"/" || t == u"." || t.endsWith(u';') || t.startsWith(u'#'))
            return true;
    }
    return false;
}

// A name over lines: SQL*Plus could end a statement or a PL/SQL block inside it.
bool HasLineBreak(const QString& name)
{
    for (const QChar c : name)
        if (c == u'\n' || c == u'\r' || c == QChar(0x0B) || c == QChar(0x0C) || c == QChar(0x85) ||
            c == QChar(0x2028) || c == QChar(0x2029))
            return true;
    return false;
}

// The words of a MySQL definition outside quotes and parentheses, upper case.
QStringList TopLevelWords(const QString& definition)
{
    QStringList words;
    QString word;
    int depth = 0;
    QChar quote;
    for (qsizetype i = 0; i < definition.size(); ++i) {
        const QChar c = definition[i];
        if (!quote.isNull()) {
            if (c == u'\\' && quote != u'`')
                ++i;
            else if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"' || c == u'`')
            quote = c;
        else if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (depth == 0 && (c.isLetterOrNumber() || c == u'_')) {
            word += c.toUpper();
            continue;
        }
        if (!word.isEmpty())
            words << word;
        word.clear();
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

// Why restating this definition could drop or add something; empty: it restates whole.
QString RestateProblem(const QString& definition)
{
    if (definition.isEmpty())
        return QStringLiteral("컬럼 정의를 모릅니다");
    static const QStringList kUnsafe = {
        QStringLiteral("PRIMARY"),    QStringLiteral("UNIQUE"),  QStringLiteral("KEY"),
        QStringLiteral("REFERENCES"), QStringLiteral("CHECK"),   QStringLiteral("CONSTRAINT"),
        QStringLiteral("GENERATED"),  QStringLiteral("AS"),      QStringLiteral("INVISIBLE"),
        QStringLiteral("SERIAL"),     QStringLiteral("COMMENT"), QStringLiteral("FIRST"),
        QStringLiteral("AFTER")};
    for (const QString& w : TopLevelWords(definition))
        if (kUnsafe.contains(w))
            return QStringLiteral("정의에 %1이(가) 있습니다").arg(w);
    return QString();
}

// The column type at the head of a MySQL definition, as information_schema's COLUMN_TYPE.
QString TypeOfDefinition(const QString& definition)
{
    qsizetype i = 0;
    const qsizetype n = definition.size();
    while (i < n && !definition[i].isSpace() && definition[i] != u'(')
        ++i;
    if (i < n && definition[i] == u'(') {
        int depth = 0;
        QChar quote;
        for (; i < n; ++i) {
            const QChar c = definition[i];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == u'\'' || c == u'"') {
                quote = c;
            } else if (c == u'(') {
                ++depth;
            } else if (c == u')' && --depth == 0) {
                ++i;
                break;
            }
        }
    }
    QString type = definition.left(i);
    for (const QString& word : definition.mid(i).split(u' ', Qt::SkipEmptyParts)) {
        const QString w = word.toLower();
        if (w != u"unsigned" && w != u"signed" && w != u"zerofill")
            break;
        type += u' ' + w;
    }
    return type.toLower();
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

struct Pending
{
    ModelSource::ColumnFacts facts;
    QString comment;
    ColumnStandard standard;
};

} // namespace

QString Quote(const QString& name, Dialect dialect)
{
    QString s = name;
    if (dialect == Dialect::MySql)
        return u'`' + s.replace(u'`', QStringLiteral("``")) + u'`';
    return u'"' + s.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

const QStringList& PlanHeader()
{
    return StandardTexts::kPlanHeader; // the report writes the sheet, a floor below
}

QStringList PlanCells(const PlanRow& r)
{
    return {r.schema, r.table, r.column, r.newColumn, r.logicalName, r.newLogicalName, r.change, r.reason};
}

struct Writer::Impl
{
    Options options;
    Output out;
    Counts counts;
    std::function<void(const PlanRow&)> plan;
    std::vector<Pending> table; // the columns of the table being read
    int step = 0;
    bool sqliteNoted = false;
    bool unqualifiedNoted = false;

    Impl(QIODevice& device, const Options& o) : options(o), out(device) {}
    Dialect D() const { return options.dialect; }

    QString TableRef(const ModelSource::ColumnFacts& f) const
    {
        return f.schema.isEmpty() ? Quote(f.table, D()) : Quote(f.schema, D()) + u'.' + Quote(f.table, D());
    }
    QString Where(const ModelSource::ColumnFacts& f) const
    {
        if (f.schema.isEmpty())
            return f.table % u'.' % f.column;
        return f.schema % u'.' % f.table % u'.' % f.column;
    }
    void Plan(const Pending& p, const QString& newColumn, const QString& newLogical, const QString& change,
              const QString& reason)
    {
        if (plan)
            plan(PlanRow{p.facts.schema, p.facts.table, p.facts.column, newColumn, p.standard.logicalName, newLogical,
                         change, reason});
    }
    void Refuse(const Pending& p, const QString& why, const QString& newColumn = QString(),
                const QString& newLogical = QString())
    {
        ++counts.leftOut;
        out.Add(Note(QStringLiteral("건너뜀: %1: %2").arg(Where(p.facts), why)));
        Plan(p, newColumn, newLogical, kChangeRefused, why);
    }
    QString StepNote(const QString& text) { return Note(u'[' % QString::number(++step) % QStringLiteral("] ") % text); }
    // MySQL: the schema as information_schema names it.
    QString SchemaLiteral(const ModelSource::ColumnFacts& f) const
    {
        return f.schema.isEmpty() ? Sql::MySql::kCurrentSchema : Literal(f.schema, D());
    }
    QString Skip(const QString& why) const { return Literal(Sql::MySql::kSkipped.arg(Literal(why, D())), D()); }

    void Head();
    void WriteTable();
    void Rename(const Pending& p, const QString& wanted);
    void Comment(const Pending& p, const QString& column);
};

void Writer::Impl::Head()
{
    // The settings first, before any byte outside ASCII: a client in another encoding (UHC,
    // SJIS) could read a line's end as half of a character.
    switch (D()) {
    case Dialect::PostgreSql:
        out.Add(Sql::Postgres::kHead);
        break;
    case Dialect::Sqlite:
        out.Add(Sql::Sqlite::kHead);
        break;
    case Dialect::MySql:
        out.Add(Sql::MySql::kHead);
        break;
    case Dialect::Oracle:
        out.Add(Sql::Oracle::kHead);
        break;
    default:
        break;
    }
    out.Add(Note(QStringLiteral("Termwise 표준 보정 스크립트 (%1)").arg(ModelSource::DialectName(D()))));
    out.Add(Note(QStringLiteral("검토한 뒤 실행하십시오. Termwise는 이 스크립트를 실행하지 않습니다.")));
    switch (D()) {
    case Dialect::PostgreSql:
    case Dialect::Sqlite:
        out.Add(Note(QStringLiteral("한 트랜잭션입니다: 어디서 실패해도 아무것도 바뀌지 않습니다.")));
        break;
    case Dialect::MySql:
        out.Add(Note(QStringLiteral("MySQL/MariaDB는 DDL마다 바로 커밋합니다. 중간에 멈추면 이 스크립트를 그대로 다시 "
                                    "실행하십시오: 단계마다 information_schema에서 이미 되었는지 보고 된 단계는 "
                                    "건너뜁니다.")));
        out.Add(Note(QStringLiteral("RENAME COLUMN은 MariaDB 10.5, MySQL 8.0 이상에서 됩니다. 실행할 수 없는 단계는 "
                                    "termwise_skipped 행으로 이유를 보여 줍니다.")));
        break;
    case Dialect::Oracle:
        out.Add(Note(QStringLiteral("Oracle은 DDL마다 바로 커밋합니다. 중간에 멈추면 이 스크립트를 그대로 다시 "
                                    "실행하십시오: 이름 변경은 ALL_TAB_COLUMNS(스키마 없는 테이블은 "
                                    "USER_TAB_COLUMNS)에서 옛 이름이 있고 새 이름이 없을 때만 실행되고, 설명은 다시 "
                                    "실행해도 같습니다.")));
        out.Add(Note(QStringLiteral("실행할 수 없는 이름 변경은 termwise_skipped 줄로 이유를 보여 줍니다.")));
        out.Add(Note(QStringLiteral("이름은 128바이트까지 받습니다. Oracle 12.1 이하는 30바이트까지입니다.")));
        break;
    default:
        break;
    }
}

void Writer::Impl::Rename(const Pending& p, const QString& wanted)
{
    const ModelSource::ColumnFacts& f = p.facts;
    const QString statement = Sql::kRename.arg(TableRef(f), Quote(f.column, D()), Quote(wanted, D()));
    out.Add(StepNote(QStringLiteral("컬럼명 변경: ") % Where(f) % QStringLiteral(" → ") % wanted % QStringLiteral(" (") %
                     p.standard.reason % u')'));
    if (D() == Dialect::Oracle) {
        const QString columns =
            f.schema.isEmpty() ? Sql::Oracle::kColumnsOfUser : Sql::Oracle::kColumnsOf.arg(Literal(f.schema, D()));
        out.Add(Sql::Oracle::kRenameStep.arg(
            columns, Literal(f.table, D()), Literal(f.column, D()), Literal(wanted, D()), Literal(statement, D()),
            Literal(QStringLiteral("termwise_skipped: %1: 컬럼이 없거나 새 이름이 이미 있습니다").arg(Where(f)), D())));
    } else if (D() == Dialect::MySql) {
        const QString choose = Sql::MySql::kRenameStep.arg(
            SchemaLiteral(f), Literal(f.table, D()), Literal(f.column, D()), Literal(wanted, D()),
            Literal(statement, D()), Skip(QStringLiteral("%1: 컬럼이 없습니다").arg(Where(f))));
        out.Add(Sql::MySql::kStep.arg(choose));
    } else {
        out.Add(statement + QStringLiteral(";\n"));
    }
    if (D() == Dialect::Oracle && wanted.toUtf8().size() > 30)
        out.Add(Note(QStringLiteral("Oracle 12.1 이하에서는 30바이트를 넘는 이 이름이 거부됩니다")));
    ++counts.renames;
    Plan(p, wanted, QString(), kChangeRename, p.standard.reason);
}

void Writer::Impl::Comment(const Pending& p, const QString& column)
{
    const ColumnStandard& s = p.standard;
    const QString fixed = Rewritten(p.comment, s.logicalName, s.standardName);
    const QString finding = QStringLiteral("설명 변경: ") % Where(p.facts) % QStringLiteral(" \"") % s.logicalName %
                            QStringLiteral("\" → \"") % s.standardName % u'"';
    if (D() == Dialect::Sqlite) {
        if (!sqliteNoted)
            out.Add(Note(QStringLiteral("SQLite는 컬럼 설명을 두지 않으므로 설명은 바꾸지 않습니다")));
        sqliteNoted = true;
        ++counts.leftOut;
        Plan(p, QString(), s.standardName, kChangeRefused, QStringLiteral("SQLite에는 컬럼 설명이 없습니다"));
        return;
    }
    if (fixed.isEmpty())
        return Refuse(
            p,
            QStringLiteral("설명의 머리에서 논리명 \"%1\"을(를) 찾지 못해 설명을 바꾸지 않습니다").arg(s.logicalName),
            QString(), s.standardName);
    if (fixed.contains(QChar(0)))
        return Refuse(p, QStringLiteral("설명에 NUL 문자가 있어 바꾸지 않습니다"), QString(), s.standardName);
    if (OverCommentLimit(fixed, D()))
        return Refuse(p, QStringLiteral("새 설명이 서버의 설명 길이 한도를 넘습니다"), QString(), s.standardName);
    if (D() == Dialect::Oracle && (HasLineBreak(column) || HasLineBreak(p.facts.table) || HasLineBreak(p.facts.schema)))
        return Refuse(p,
                      QStringLiteral("이름에 줄바꿈이 있어 SQL*Plus가 문장을 끊을 수 있으므로 설명을 바꾸지 않습니다"),
                      QString(), s.standardName);
    if (D() == Dialect::Oracle && EndsAnOracleStatement(fixed))
        return Refuse(
            p,
            QStringLiteral("설명의 한 줄이 SQL*Plus에서 문장을 끝냅니다; 직접 바꾸십시오: \"%1\"").arg(s.standardName),
            QString(), s.standardName);
    const ModelSource::ColumnFacts& f = p.facts;
    if (D() == Dialect::MySql) {
        const QString problem = RestateProblem(f.definition);
        if (!problem.isEmpty())
            return Refuse(p,
                          QStringLiteral("설명을 바꾸려면 컬럼 정의를 다시 써야 하는데 온전히 쓸 수 없습니다(%1). "
                                         "새 논리명: %2")
                              .arg(problem, s.standardName),
                          QString(), s.standardName);
        const QString statement =
            Sql::MySql::kModify.arg(TableRef(f), Quote(column, D()), f.definition, Literal(fixed, D()));
        const QString choose = Sql::MySql::kCommentStep.arg(
            SchemaLiteral(f), Literal(f.table, D()), Literal(column, D()), Literal(fixed, D()),
            Literal(TypeOfDefinition(f.definition), D()), Literal(statement, D()),
            Skip(QStringLiteral("%1: 컬럼이 바뀌었거나 다시 쓰면 잃는 속성이 있어 설명을 바꾸지 않습니다")
                     .arg(Where(f))));
        out.Add(StepNote(finding));
        out.Add(Sql::MySql::kStep.arg(choose));
    } else {
        out.Add(StepNote(finding));
        out.Add(Sql::kComment.arg(TableRef(f), Quote(column, D()), Literal(fixed, D())) + QStringLiteral(";\n"));
    }
    ++counts.comments;
    Plan(p, QString(), s.standardName, kChangeComment, s.reason);
}

void Writer::Impl::WriteTable()
{
    if (table.empty())
        return;
    if (table.front().facts.schema.isEmpty() && !unqualifiedNoted) {
        // A DDL script that names no schema: the tables are the connection's own.
        out.Add(Note(QStringLiteral("스키마(데이터베이스) 없이 읽은 테이블은 접속한 스키마에서 바뀝니다: 실행하기 전에 "
                                    "스키마를 확인하십시오")));
        unqualifiedNoted = true;
    }
    // The renames, and the names as the server compares them: a name that is taken, or wanted
    // twice, is refused for every column that wants it.
    std::vector<QString> target(table.size()), targetKey(table.size());
    size_t renames = 0;
    for (size_t i = 0; i < table.size(); ++i) {
        const Pending& p = table[i];
        if (p.standard.standardColumn.isEmpty())
            continue;
        const QString name = Stored(p.standard.standardColumn, D());
        QString key = KeyOf(name, D());
        if (key != KeyOf(p.facts.column, D())) {
            target[i] = name;
            targetKey[i] = std::move(key);
            ++renames;
        }
    }
    // A table of a few dozen columns is scanned; a wide one is hashed.
    std::vector<QString> columnKeys;
    QHash<QString, int> taken, wanted;
    const bool hashed = table.size() >= 64;
    if (renames > 0) {
        columnKeys.reserve(table.size());
        for (const Pending& p : table)
            columnKeys.push_back(KeyOf(p.facts.column, D()));
        if (hashed) {
            for (const QString& key : columnKeys)
                ++taken[key];
            for (const QString& key : targetKey)
                if (!key.isEmpty())
                    ++wanted[key];
        }
    }
    const auto clashes = [&](const QString& key) {
        if (hashed)
            return taken.value(key) > 0 || wanted.value(key) > 1;
        if (std::find(columnKeys.begin(), columnKeys.end(), key) != columnKeys.end())
            return true;
        return std::count(targetKey.begin(), targetKey.end(), key) > 1;
    };
    for (size_t i = 0; i < table.size(); ++i) {
        const Pending& p = table[i];
        const ColumnStandard& s = p.standard;
        QString column = p.facts.column;
        if (!target[i].isEmpty()) {
            const QString& name = target[i];
            const QString& key = targetKey[i];
            QString limit;
            if (p.facts.keys && !options.renameKeys) {
                ++counts.keysKept;
                ++counts.leftOut;
                const QString why = QStringLiteral("%1이므로 이름을 바꾸지 않습니다 (→ %2, --rename-keys로 바꿉니다)")
                                        .arg(KeyRoles(p.facts.keys), name);
                out.Add(Note(QStringLiteral("키 유지: %1: %2").arg(Where(p.facts), why)));
                Plan(p, name, QString(), kChangeKeyKept, why);
            } else if (name.contains(QChar(0)) || p.facts.column.contains(QChar(0))) {
                Refuse(p, QStringLiteral("이름에 NUL 문자가 있어 바꾸지 않습니다"), name);
            } else if (D() == Dialect::Oracle && (HasLineBreak(name) || HasLineBreak(p.facts.column) ||
                                                  HasLineBreak(p.facts.table) || HasLineBreak(p.facts.schema))) {
                Refuse(p, QStringLiteral("이름에 줄바꿈이 있어 SQL*Plus가 문장을 끊을 수 있으므로 바꾸지 않습니다"),
                       name);
            } else if (OverLimit(name, D(), limit)) {
                Refuse(p, QStringLiteral("새 이름 %1이(가) 이름 길이 한도(%2)를 넘어 바꾸지 않습니다").arg(name, limit),
                       name);
            } else if (clashes(key)) {
                Refuse(
                    p,
                    QStringLiteral("%1(으)로 바꾸면 같은 테이블의 다른 컬럼이나 다른 변경과 이름이 겹칩니다").arg(name),
                    name);
            } else {
                Rename(p, name);
                column = name;
            }
        }
        if (!s.standardName.isEmpty() && s.standardName != s.logicalName)
            Comment(p, column);
        if (!s.typeNote.isEmpty()) {
            ++counts.typeNotes;
            out.Add(Note(QStringLiteral("데이터타입 참고: %1: %2").arg(Where(p.facts), s.typeNote)));
            Plan(p, QString(), QString(), kChangeTypeNote, s.typeNote);
        }
    }
    table.clear();
}

Writer::Writer(QIODevice& device, const Options& options) : d(std::make_unique<Impl>(device, options))
{
    d->Head();
}

Writer::~Writer() = default;

void Writer::SetPlanSink(std::function<void(const PlanRow&)> sink)
{
    d->plan = std::move(sink);
}

void Writer::Add(ModelSource::ColumnFacts facts, const QString& comment, const ColumnStandard& standard)
{
    if (!d->table.empty() &&
        (d->table.front().facts.table != facts.table || d->table.front().facts.schema != facts.schema))
        d->WriteTable();
    d->table.push_back({std::move(facts), comment, standard});
}

bool Writer::Finish()
{
    d->WriteTable();
    const Counts& c = d->counts;
    d->out.Add(Note(QStringLiteral("요약: 컬럼 이름 %1건, 설명 %2건, 제외 %3건(키 %4건), 데이터타입 참고 %5건")
                        .arg(QString::number(c.renames), QString::number(c.comments), QString::number(c.leftOut),
                             QString::number(c.keysKept), QString::number(c.typeNotes))));
    if (d->D() == Dialect::PostgreSql)
        d->out.Add(Sql::Postgres::kTail);
    else if (d->D() == Dialect::Sqlite)
        d->out.Add(Sql::Sqlite::kTail);
    else if (d->D() == Dialect::MySql)
        d->out.Add(Sql::MySql::kTail);
    return d->out.Flush();
}

const Counts& Writer::GetCounts() const
{
    return d->counts;
}

bool WriteFileUnlessFailed(const QString& path, const Options& options, const std::function<bool(Writer&)>& feed,
                           Counts& counts, QString& error, std::function<void(const PlanRow&)> plan)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    bool ok = false;
    {
        Writer writer(file, options);
        writer.SetPlanSink(std::move(plan));
        if (!feed(writer)) {
            file.cancelWriting();
            error.clear();
            return false;
        }
        ok = writer.Finish();
        counts = writer.GetCounts();
    }
    if (!ok || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool WriteFile(const QString& path, const Options& options, const std::function<void(Writer&)>& feed, Counts& counts,
               QString& error, std::function<void(const PlanRow&)> plan)
{
    return WriteFileUnlessFailed(
        path, options,
        [&feed](Writer& writer) {
            feed(writer);
            return true;
        },
        counts, error, std::move(plan));
}

} // namespace FixScript
