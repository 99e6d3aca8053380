#include "exchange/ModelSource.h"

#include "analysis/DataType.h"
#include "analysis/DomainAnalysis.h"
#include "analysis/LatinCase.h"
#include "analysis/TermAnalysis.h"
#include "analysis/WordAnalysis.h"
#include "exchange/ModelSourceTexts.h"

#include <QFileInfo>
#include <QVarLengthArray>
#include <algorithm>

namespace ModelSource {

Dialect DialectOfName(const QString& name)
{
    const QString n = name.trimmed().toLower();
    if (n == u"oracle")
        return Dialect::Oracle;
    if (n == u"postgresql" || n == u"postgres" || n == u"pg")
        return Dialect::PostgreSql;
    if (n == u"mysql" || n == u"mariadb")
        return Dialect::MySql;
    if (n == u"sqlite")
        return Dialect::Sqlite;
    return Dialect::Unknown;
}

QString DialectName(Dialect dialect)
{
    switch (dialect) {
    case Dialect::Oracle:
        return QStringLiteral("oracle");
    case Dialect::PostgreSql:
        return QStringLiteral("postgresql");
    case Dialect::MySql:
        return QStringLiteral("mysql");
    case Dialect::Sqlite:
        return QStringLiteral("sqlite");
    case Dialect::Unknown:
        break;
    }
    return QString();
}

const QStringList& SheetHeader()
{
    return ModelSourceTexts::kHeader;
}

int AttributeList::WithoutLogicalName() const
{
    int n = 0;
    for (int r = 1; r < rows.size(); ++r)
        n += rows[r].value(ColAttribute).isEmpty() ? 1 : 0;
    return n;
}

QString ColumnType::Display() const
{
    return GlobalFunc::BuildDataType(name, length, scale);
}

namespace {

bool IsMySqlIntegerOrList(const QString& name)
{
    static const QStringList kDropped = {
        QStringLiteral("TINYINT"), QStringLiteral("SMALLINT"), QStringLiteral("MEDIUMINT"),
        QStringLiteral("INT"),     QStringLiteral("INTEGER"),  QStringLiteral("BIGINT"),
        QStringLiteral("YEAR"),    QStringLiteral("ENUM"),     QStringLiteral("SET")};
    return kDropped.contains(name.section(u' ', 0, 0));
}

} // namespace

ColumnType NormalizeType(Dialect dialect, const QString& text)
{
    ColumnType type;
    const qsizetype open = text.indexOf(u'(');
    QString args;
    QString name = text;
    if (open >= 0) {
        // The matching parenthesis; quotes inside ENUM lists may hold parentheses.
        int depth = 0;
        bool quoted = false;
        qsizetype close = -1;
        for (qsizetype i = open; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c == u'\'')
                quoted = !quoted;
            else if (!quoted && c == u'(')
                ++depth;
            else if (!quoted && c == u')' && --depth == 0) {
                close = i;
                break;
            }
        }
        if (close < 0)
            close = text.size();
        args = text.mid(open + 1, close - open - 1);
        name = text.left(open) + u' ' + text.mid(close + 1);
    }
    type.name = name.simplified().toUpper();
    if (args.isEmpty() || (dialect == Dialect::MySql && IsMySqlIntegerOrList(type.name)))
        return type;
    QString length = args.section(u',', 0, 0).simplified();
    QString scale = args.section(u',', 1).simplified();
    // VARCHAR2(20 BYTE), VARCHAR2(20 CHAR): the unit is not part of the length.
    for (QString* part : {&length, &scale}) {
        const qsizetype space = part->indexOf(u' ');
        if (space > 0)
            *part = part->left(space);
    }
    type.length = length;
    type.scale = scale;
    return type;
}

QString DisplayName(const QString& stored)
{
    bool letter = false, ascii = true;
    for (const QChar c : stored) {
        if (c.isUpper())
            return stored;
        letter = letter || c.isLower();
        ascii = ascii && c.unicode() < 0x80;
    }
    if (!letter)
        return stored;
    // Most names are ASCII: their letters are Latin, upper-cased as they are copied.
    return ascii ? LatinCase::Folded(stored) : stored.toUpper();
}

namespace {

// Where the name of a comment ends: its first sentence or list punctuation.
qsizetype NameEnd(const QString& comment)
{
    const auto ends = [](char16_t c) {
        switch (c) {
        case u'.':
        case u',':
        case u':':
        case u';':
        case u'(':
        case u'[':
        case u'\n':
        case u'\r':
        case u'\u3002':
        case u'\uFF0E':
        case u'\uFF0C':
        case u'\uFF1A':
        case u'\uFF1B':
        case u'\uFF08':
        case u'\uFF3B':
        case u'\u3001':
            return true;
        default:
            return false;
        }
    };
    // The name also ends at a " - " before any of those: looked for in the same pass, not in
    // the whole comment.
    const qsizetype n = comment.size();
    const QChar* c = comment.constData();
    for (qsizetype i = 0; i < n; ++i) {
        if (ends(c[i].unicode()))
            return i;
        if (c[i] == u' ' && i + 2 < n && c[i + 1] == u'-' && c[i + 2] == u' ')
            return i;
    }
    return n;
}

// Whether simplified() would give the text back as it is: no space at either end, and only
// single plain spaces inside.
bool IsSimplified(QStringView text)
{
    bool afterSpace = true; // the start counts as one
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u > u' ' && u < 0x7F) || (u >= 0xAC00 && u <= 0xD7A3) || !c.isSpace()) {
            afterSpace = false;
            continue;
        }
        if (afterSpace || c != u' ')
            return false;
        afterSpace = true;
    }
    return !afterSpace || text.isEmpty();
}

bool IsNoise(QStringView token)
{
    if (token.size() == 1 && token[0].unicode() < 0x80 && token[0].isLetter())
        return true; // Y, N: a code value
    return std::all_of(token.begin(), token.end(), [](QChar c) { return c.isDigit(); });
}

// A head that reads as a sentence is a description, not a name.
bool IsSentence(const QVarLengthArray<QStringView, 8>& tokens)
{
    static const char16_t* const kEndings[] = {u"니다", u"한다", u"된다", u"이다", u"있다", u"없다", u"했다", u"였다"};
    if (tokens.size() > 6)
        return true;
    const QStringView last = tokens.back();
    for (const char16_t* ending : kEndings)
        if (last.size() > 2 && last.endsWith(QStringView(ending)))
            return true;
    // The plain present of any verb: a syllable closed by ㄴ, or 는, then 다 (나타낸다, 받는다).
    if (last.size() > 2 && last.endsWith(u'다')) {
        const char16_t before = last[last.size() - 2].unicode();
        const bool hangul = before >= 0xAC00 && before <= 0xD7A3;
        if (before == u'는' || (hangul && (before - 0xAC00) % 28 == 4))
            return true;
    }
    return false;
}

} // namespace

CommentParts SplitComment(const QString& comment)
{
    CommentParts parts;
    const qsizetype end = NameEnd(comment);
    // The description keeps its leading punctuation, so a rewrite is the name and what follows.
    parts.description = comment.mid(end);
    while (!parts.description.isEmpty() && parts.description.back().isSpace())
        parts.description.chop(1);
    QString head = comment.left(end);
    // Punctuation inside the name separates words; "_" is a separator of its own. The head is
    // the comment's own text until a character must change: most names need no copy.
    const auto separates = [](QChar c) {
        const char16_t u = c.unicode();
        if (u >= 0xAC00 && u <= 0xD7A3)
            return false; // a Hangul syllable, the most of a Korean name
        return !c.isLetterOrNumber() && u != u'_' && !c.isSpace() && !c.isMark();
    };
    const qsizetype first = std::find_if(head.cbegin(), head.cend(), separates) - head.cbegin();
    if (first < head.size())
        std::replace_if(head.begin() + first, head.end(), separates, QChar(u' '));
    // Tokens as views of the simplified head, which is the name itself when none is noise.
    const QString simple = IsSimplified(head) ? head : std::move(head).simplified();
    // The simplified head has single spaces between its words.
    QVarLengthArray<QStringView, 8> tokens;
    bool noise = false;
    for (qsizetype from = 0; from < simple.size();) {
        qsizetype to = simple.indexOf(u' ', from);
        if (to < 0)
            to = simple.size();
        const QStringView token = QStringView(simple).mid(from, to - from);
        if (IsNoise(token))
            noise = true;
        else
            tokens.append(token);
        from = to + 1;
    }
    if (tokens.isEmpty() || IsSentence(tokens))
        return parts;
    if (!noise) {
        parts.name = simple;
        return parts;
    }
    for (const QStringView token : tokens) {
        if (!parts.name.isEmpty())
            parts.name += u' ';
        parts.name += token;
    }
    return parts;
}

QString LogicalNameOfComment(const QString& comment)
{
    return SplitComment(comment).name;
}

void AppendColumn(AttributeList& list, const QString& schema, const QString& table, const QString& tableComment,
                  const QString& column, const QString& comment, const ColumnType& type, const QString& definition)
{
    if (list.rows.isEmpty())
        list.rows.append(SheetHeader());
    QSet<QString>& texts = list.sharedTexts;
    // One hash of the text: insert keeps the copy already there.
    const auto shared = [&texts](const QString& text) { return text.isEmpty() ? text : *texts.insert(text); };
    AttributeList::TableTexts& t = list.lastTable;
    if (!t.set || table != t.table || schema != t.schema || tableComment != t.comment)
        t = {true, shared(schema), shared(table), shared(tableComment), shared(DisplayName(table))};
    const QString storedColumn = shared(column);
    const QString shownColumn = shared(DisplayName(storedColumn));
    const QString logical = shared(LogicalNameOfComment(comment));
    list.rows.append({t.shownTable, t.comment, shownColumn, logical, shared(comment), shared(type.Display()),
                      shared(type.length), shared(type.scale), logical.isEmpty() ? shownColumn : logical});
    list.facts.push_back({t.schema, t.table, storedColumn, shared(definition)});
}

void Designate(int form, ColumnRoles& roles)
{
    roles.Reset();
    switch (form) {
    case 0: // logical
        roles.Designate(WordAnalysis::RoleName, ColAttribute);
        roles.Designate(WordAnalysis::RoleDefinition, ColComment);
        roles.Designate(WordAnalysis::RoleOpposite, ColColumn);
        roles.Designate(WordAnalysis::RoleReference, ColTable);
        break;
    case 1: // physical
        roles.Designate(WordAnalysis::RoleName, ColColumn);
        roles.Designate(WordAnalysis::RoleDefinition, ColComment);
        roles.Designate(WordAnalysis::RoleOpposite, ColAttribute);
        roles.Designate(WordAnalysis::RoleReference, ColTable);
        break;
    case 2: // domain: a column without a comment is still a target, under its column name
        roles.Designate(DomainAnalysis::RoleAttribute, ColDomainName);
        roles.Designate(DomainAnalysis::RoleColumn, ColColumn);
        roles.Designate(DomainAnalysis::RoleType, ColType);
        roles.Designate(DomainAnalysis::RoleLength, ColLength);
        roles.Designate(DomainAnalysis::RoleScale, ColScale);
        roles.Designate(DomainAnalysis::RoleReference, ColTable);
        break;
    default: // term
        roles.Designate(CTermAnalysis::RoleAttribute, ColAttribute);
        roles.Designate(CTermAnalysis::RoleColumn, ColColumn);
        roles.Designate(CTermAnalysis::RoleType, ColType);
        roles.Designate(CTermAnalysis::RoleLength, ColLength);
        roles.Designate(CTermAnalysis::RoleScale, ColScale);
        roles.Designate(CTermAnalysis::RoleDefinition, ColComment);
        roles.Designate(CTermAnalysis::RoleReference, ColTable);
        break;
    }
}

bool IsDatabaseUri(const QString& input)
{
    static const char* const kSchemes[] = {"postgresql://", "postgres://", "mysql://",
                                           "mariadb://",    "sqlite:",     "oracle://"};
    for (const char* scheme : kSchemes)
        if (input.startsWith(QLatin1String(scheme), Qt::CaseInsensitive))
            return true;
    return false;
}

bool IsDdlPath(const QString& input)
{
    return !IsDatabaseUri(input) && QFileInfo(input).suffix().compare(QLatin1String("sql"), Qt::CaseInsensitive) == 0;
}

} // namespace ModelSource
