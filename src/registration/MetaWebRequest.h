#pragma once
// What the web proposal dialog posts to the repository's proposal page: the mode, the area
// and one payload, turned into the JSON array of candidates and the form body.
//
// The body is sent as real application/x-www-form-urlencoded text: every value is
// percent-encoded, so a definition holding "&", "=", "+" or "%" reaches the page as typed.
// The fields keep their order (loginId, STD_AREA_ID, datas); the JSON inside "datas" is the
// same text once decoded.
#include "settings/AnalyzeRecords.h"

#include <QByteArray>
#include <QString>

enum eMetaWebMode {
    eMetaWebWord = 0,      // one word
    eMetaWebClassWord = 1, // one word read from the repository, to become a class word
    eMetaWebWordMap = 2,
    eMetaWebDomain = 3,
    eMetaWebDomainMap = 4,
    eMetaWebTerm = 5,
};

struct MetaWebRequest
{
    int mode = eMetaWebWord;
    QString areaId;
    QString url; // the proposal page of the mode's kind
    _stAnalyzeManageWord word;
    WordIndex words; // physical -> logical -> word
    _stAnalyzeManageDomain domain;
    DomainIndex domains; // key domain -> domain name -> domain
    _stAnalyzeManageTerm term;
};

namespace MetaWebBody {
// The text of a JSON string value without its quotes ('"', '\' and control characters escaped).
QString JsonEscape(const QString& text);
// The JSON array of candidates for the request's mode, keys in the pages' order.
QString BuildDatas(const MetaWebRequest& request);
// "loginId=..&STD_AREA_ID=..&datas=.." with each value percent-encoded (UTF-8).
QByteArray BuildBody(const QString& loginId, const QString& areaId, const QString& datas);
QByteArray BuildBody(const QString& loginId, const MetaWebRequest& request);
} // namespace MetaWebBody
