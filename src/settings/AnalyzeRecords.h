#pragma once
// The analysis records shared by the dictionary, the engines, documents and the repository.
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

// An analysis dictionary word. The dictionary addresses it by (physical, logical) name;
// the loaders leave the first three texts empty.
struct _stAnalyzeManageWord
{
    QString strWordId;       // DIC_ID in the repository
    QString strLogicalName;
    QString strPhysicalName;
    QString strPhyFullName;  // WORD_PHY_FULL_NM
    QString strDescription;  // WORD_DESC
    QString strAuthority;    // WORD_AUTH: computer that last wrote the word
    int nClassWord = 0;      // 1 for a class word (ATTR_CLSS_YN)
    int nStandard = 1;       // 1 standard word, 0 non-standard

    bool operator==(const _stAnalyzeManageWord&) const = default;
};

struct _stAnalyzeManageDomain
{
    QString strKeyDomainName;
    QString strDomainName;
    QString strDomainId;
    QString strDataType;  // a logical data type name
    QString strLength;
    QString strScale;
    QString strAuthority; // DOM_AUTH
    QString strExtra;
    std::vector<_stAnalyzeManageWord> vecWords;

    bool operator==(const _stAnalyzeManageDomain&) const = default;
};

struct _stAnalyzeManageTerm
{
    QString strLogicalName;
    QString strPhysicalName;
    QString strDomainId;
    QString strDescription;
    QString strExtra;
    QStringList listWordIds;  // the term's words in order
    QStringList listExtra;

    bool operator==(const _stAnalyzeManageTerm&) const = default;
};

// physical name -> logical name -> word (or the reverse for the second index)
using WordIndex = std::map<QString, std::map<QString, _stAnalyzeManageWord>>;
// key domain name -> domain name -> domain
using DomainIndex = std::map<QString, std::map<QString, _stAnalyzeManageDomain>>;

// A word with its partner name; "?" marks a word the dictionary does not know.
struct WordPair
{
    QString word;
    QString partner;
    bool operator==(const WordPair&) const = default;
};
using WordPairList = std::vector<WordPair>;

inline const QString kUnknownPartner = QStringLiteral("?");

// Parts joined with "+", e.g. attribute + type + length + scale.
inline QString MakeCompositeKey(const QStringList& parts) { return parts.join(QLatin1Char('+')); }
