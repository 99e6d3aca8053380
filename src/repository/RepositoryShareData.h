#pragma once
// The shared analysis data kept in the repository (analysis words and domains, excluded words
// and domains) as the shared-data dialog lists it: one row per record in map order, the author
// counts for its chart, and deleting or handing on the rows a user picked.
#include "repository/SqlBaseGate.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

enum class ESharedDataKind { Words = 0, Domains = 1, ExceptWords = 2, ExceptDomains = 3 };

struct SharedDataRow
{
    QStringList texts; // the grid's columns after the check box
    QString author;
    QString key;  // words: physical name, domains: key domain name, exclusions: the name
    QString name; // words: logical name, domains: domain name
};

class CRepositoryShareData
{
public:
    static QStringList KindNames();
    // The grid's headers, the check box column "선택" first.
    static QStringList Columns(ESharedDataKind kind);

    // Reads the kind through the gateway (nothing without an open one). False when the read failed.
    bool Load(CSqlBaseGate* gate, ESharedDataKind kind);
    ESharedDataKind Kind() const { return m_kind; }
    const std::vector<SharedDataRow>& Rows() const { return m_rows; }

    // (author, rows) in author order; a single ("없음", 0) when nothing is loaded.
    std::vector<std::pair<QString, int>> AuthorCounts() const;

    // Deletes the rows (indexes into Rows()) from the repository. False when a statement failed.
    bool Delete(CSqlBaseGate* gate, const std::vector<int>& rows) const;
    // The picked rows as the records the standard registration lists take.
    WordIndex SelectedWords(const std::vector<int>& rows) const;
    DomainIndex SelectedDomains(const std::vector<int>& rows) const;

private:
    ESharedDataKind m_kind = ESharedDataKind::Words;
    std::vector<SharedDataRow> m_rows;
    WordIndex m_words;
    DomainIndex m_domains;
};
