#include "exchange/ModelSource.h"

#include "analysis/DataType.h"
#include "analysis/DomainAnalysis.h"
#include "analysis/TermAnalysis.h"
#include "analysis/WordAnalysis.h"
#include "exchange/ModelSourceTexts.h"

#include <QFileInfo>

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
    bool letter = false;
    for (const QChar c : stored) {
        if (c.isUpper())
            return stored;
        letter = letter || c.isLower();
    }
    return letter ? stored.toUpper() : stored;
}

QString LogicalNameOfComment(const QString& comment)
{
    const qsizetype end = comment.indexOf(u'\n');
    return (end < 0 ? comment : comment.left(end)).trimmed();
}

void AppendColumn(AttributeList& list, const QString& schema, const QString& table, const QString& tableComment,
                  const QString& column, const QString& comment, const ColumnType& type, const QString& definition)
{
    if (list.rows.isEmpty())
        list.rows.append(SheetHeader());
    QSet<QString>& texts = list.sharedTexts;
    const auto shared = [&texts](const QString& text) {
        if (text.isEmpty())
            return text;
        const auto it = texts.constFind(text);
        if (it != texts.cend())
            return *it;
        texts.insert(text);
        return text;
    };
    const QString storedColumn = shared(column);
    const QString shownColumn = shared(DisplayName(storedColumn));
    const QString logical = shared(LogicalNameOfComment(comment));
    list.rows.append({shared(DisplayName(table)), shared(tableComment), shownColumn, logical, shared(comment),
                      shared(type.Display()), shared(type.length), shared(type.scale),
                      logical.isEmpty() ? shownColumn : logical});
    list.facts.push_back({shared(schema), shared(table), storedColumn, shared(definition)});
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
