#pragma once
// What a repository area holds before it is brought to a new edition, matched row by row with
// that edition. A current row is the edition's when the edition file holds it (its name and
// abbreviation, current or listed as withdrawn) or names a current row the same way; a
// synonym or forbidden word is when an import wrote it. Everything else the area's owners
// registered themselves, and it is kept as it is.
//
// The import asks for each row of the new edition which earlier row it continues (same id,
// so history and word combinations stay linked): an unchanged row is left alone, a changed
// one closed and written again, and after the last row the edition's rows nobody continued
// are the withdrawn ones, closed as well. Closing sets the validity end; nothing is deleted.
#include "standard/PublicStandardReader.h"

#include <QString>
#include <array>
#include <map>
#include <vector>

class ISqlExecutor;

class CAreaUpgrade
{
public:
    enum Table { Words, NonStandard, Domains, Terms, kTables };

    struct Prior
    {
        QString id;
        QString signature; // the stored values, joined as the import joins what it would write
        bool edition = false;
        bool matched = false;
        bool changed = false;
    };
    struct Counts
    {
        int added = 0, changed = 0, unchanged = 0, withdrawn = 0, kept = 0;
    };

    bool Load(ISqlExecutor& db, const QString& areaId, const PublicStandard& standard, QString& error);

    // The earlier row a row of the new edition continues, or null for an added row; it is
    // counted changed when signature differs from what is stored.
    const Prior* Match(Table table, const QString& key, const QString& signature);
    // The rows to close before the edition is written: changed ones and, once every row of the
    // edition was matched, withdrawn ones.
    std::vector<QString> ToClose(Table table);
    // The area holds this row of the edition as it stands (matched and unchanged).
    bool Holds(Table table, const QString& key) const;

    const Counts& CountsOf(Table table) const { return m_counts[table]; }
    // Current domain groups by name, reused rather than written again.
    const std::map<QString, QString>& GroupIds() const { return m_groups; }
    // Joins a row's values the way signatures are compared.
    static QString Signature(const QStringList& values) { return values.join(QChar(0x1F)); }

private:
    std::array<std::vector<Prior>, kTables> m_rows;
    std::array<std::map<QString, size_t>, kTables> m_byKey; // edition rows only
    std::array<Counts, kTables> m_counts;
    std::map<QString, QString> m_groups;
};
