#pragma once
// The process-wide settings object: analysis options and the local analysis dictionary,
// kept in <common data>/standard/termwise.json.
#include "settings/AnalyzeRecords.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <set>

class CAnalyzeSettings
{
public:
    CAnalyzeSettings();

    // The one instance, created with defaults on first use.
    static CAnalyzeSettings& Instance();
    static bool Exists();
    static void DestroyInstance();

    // Path of termwise.json / termwise.db in the common data folder.
    static QString SettingsPath();
    static QString DatabasePath();

    void Load();
    // Atomic; false (and a line in the output log) when the file could not be written.
    bool Save();
    // Load/Save against an explicit path (tests, the command line's --data-dir).
    void LoadFrom(const QString& path);
    bool SaveTo(const QString& path);
    // Why the last Save or SaveTo failed ("<file>: <reason>"); empty after a success.
    QString SaveError() const { return m_saveError; }
    // The file's text as Save writes it.
    QByteArray ToJson() const;

    void AddWord(const QString& physical, const QString& logical, const _stAnalyzeManageWord& word);
    void RemoveWord(const QString& physical, const QString& logical);
    bool GetWord(const QString& physical, const QString& logical, _stAnalyzeManageWord& word) const;
    // The same without a copy; null when absent. Valid until the dictionary changes.
    const _stAnalyzeManageWord* FindWord(const QString& physical, const QString& logical) const;
    void ClearWords();
    bool GetFirstLogicalName(const QString& physical, QString& logical) const;
    bool GetFirstPhysicalName(const QString& logical, QString& physical) const;
    void AddExceptWord(const QString& word);
    bool IsExceptWord(const QString& word) const;
    bool GetDomains(const QString& keyDomain, std::map<QString, _stAnalyzeManageDomain>& domains) const;
    bool GetDomain(const QString& keyDomain, const QString& domainName, _stAnalyzeManageDomain& domain) const;
    // Store / drop one domain (an emptied key domain goes too); both bump the revision.
    void AddDomain(const QString& keyDomain, const QString& domainName, const _stAnalyzeManageDomain& domain);
    void RemoveDomain(const QString& keyDomain, const QString& domainName);
    void AddExceptDomain(const QString& name);
    bool IsExceptDomain(const QString& name) const;
    // English names and definitions of a logical name from QRC_DIC in the "DIC" database.
    bool LookupDictionaryNames(const QString& logical, std::set<QString>& englishNames,
                               std::set<QString>& definitions) const;
    // Drops a trailing number and turns every separator character into "_"; true when changed.
    bool NormalizeAttributeName(QString& name) const;

    // Data-type abbreviation table.
    QString GetDataTypeAbbreviation(const QString& type) const;
    bool IsKnownDataType(const QString& type) const;
    QString ConvertToLogicalDataType(const QString& physicalType) const;
    QString BuildDomainName(const QString& classWord, const QString& type, const QString& length,
                            const QString& scale) const;
    const std::map<QString, QString>& DataTypeKeywords() const { return m_mapDataTypeKeywords; }

    // Bumped on every change through the operations above, so indexes built over the
    // dictionary know when to rebuild. Callers that edit the maps directly call Touch().
    quint64 Revision() const { return m_revision; }
    void Touch() { ++m_revision; }

    // Options, in file order.
    QString seperator = QStringLiteral("_");
    int analyze_database = 1;
    int analyze_sort_result = 0;
    int need_seperator = 0;
    int accept_synonym_words = 0;
    int domain_use_words = 0;
    int term_analy_with_synonym = 0;
    // Proposal switches, set at repository connection; never stored.
    int word_request = 0;
    int domain_request = 0;
    int term_request = 0;
    int request_browser = 0;
    // Chat-completion service of the logical-name extraction; empty: the built-in default.
    // Stored only when set.
    QString chat_url;
    QString chat_model;

    WordIndex m_mapWordsByPhysical; // physical -> logical -> word
    WordIndex m_mapWordsByLogical;  // logical -> physical -> word
    DomainIndex m_mapDomains;       // key domain -> domain name -> domain
    std::set<QString> m_setExceptWords;
    std::set<QString> m_setExceptDomains;

private:
    // Before the first save over a file that could not be read, copy it aside.
    bool KeepUnreadableCopy(const QString& path);

    std::map<QString, QString> m_mapDataTypeKeywords;
    QString m_unreadablePath; // absolute path of a file that failed to load, until copied
    QString m_saveError;
    quint64 m_revision = 0;
};
