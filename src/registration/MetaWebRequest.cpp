#include "registration/MetaWebRequest.h"

#include <QUrl>

namespace MetaWebBody {

namespace {

QString Yn(int flag)
{
    return flag != 0 ? QStringLiteral("Y") : QStringLiteral("N");
}

// Objects are written key by key, each `"KEY":"value"`, joined by ",".
class JsonObjectText
{
public:
    JsonObjectText& Add(const char* key, const QString& value)
    {
        if (!m_text.isEmpty())
            m_text += QLatin1Char(',');
        m_text +=
            QLatin1Char('"') + QLatin1String(key) + QStringLiteral("\":\"") + JsonEscape(value) + QLatin1Char('"');
        return *this;
    }
    QString Text() const { return QLatin1Char('{') + m_text + QLatin1Char('}'); }

private:
    QString m_text;
};

QString WordObject(const _stAnalyzeManageWord& word, bool classWordChange)
{
    JsonObjectText object;
    if (classWordChange)
        object.Add("WORD_ID", word.strWordId);
    object.Add("REQ_GBN_CD", classWordChange ? QStringLiteral("0002") : QStringLiteral("0001"))
        .Add("WORD_LOG_NM", word.strLogicalName)
        .Add("WORD_PHY_NM", word.strPhysicalName)
        .Add("WORD_PHY_FLL_NM", word.strPhyFullName.isEmpty() ? word.strPhysicalName : word.strPhyFullName)
        .Add("WORD_DESC", word.strDescription.isEmpty() ? word.strLogicalName : word.strDescription)
        .Add("ATTR_CLSS_YN", Yn(word.nClassWord))
        .Add("STD_YN", Yn(word.nStandard));
    return object.Text();
}

QString DomainObject(const _stAnalyzeManageDomain& domain, bool withDescription)
{
    QStringList names;
    for (const _stAnalyzeManageWord& word : domain.vecWords)
        names.append(word.strLogicalName);
    JsonObjectText object;
    object.Add("REQ_GBN_CD", QStringLiteral("0001"))
        .Add("KEY_DOM_NM", domain.strKeyDomainName)
        .Add("DOM_NM", domain.strDomainName);
    // The domain record keeps its definition in the extra text.
    if (withDescription)
        object.Add("DOM_DESC", domain.strExtra);
    object.Add("DATA_TYPE_CD", domain.strDataType)
        .Add("DATA_LEN", domain.strLength)
        .Add("DATA_SCALE", domain.strScale)
        .Add("DOM_GRP_NM", QStringLiteral("분석"))
        .Add("TERM_COMP_NMS", names.join(QLatin1Char(' ')));
    return object.Text();
}

QString TermObject(const _stAnalyzeManageTerm& term)
{
    JsonObjectText object;
    object.Add("REQ_GBN_CD", QStringLiteral("0001"))
        .Add("TERM_LOG_NM", term.strLogicalName)
        .Add("TERM_PHY_NM", term.strPhysicalName)
        .Add("TERM_DESC", term.strDescription)
        .Add("TERM_COMP_IDS", term.listWordIds.join(QLatin1Char('/')))
        .Add("DOM_ID", term.strDomainId);
    return object.Text();
}

QString Array(const QStringList& objects)
{
    return QLatin1Char('[') + objects.join(QLatin1Char(',')) + QLatin1Char(']');
}

} // namespace

QString JsonEscape(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += QStringLiteral("\\\"");
            break;
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\b':
            out += QStringLiteral("\\b");
            break;
        case u'\f':
            out += QStringLiteral("\\f");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

QString BuildDatas(const MetaWebRequest& request)
{
    QStringList objects;
    switch (request.mode) {
    case eMetaWebWord:
        objects.append(WordObject(request.word, false));
        break;
    case eMetaWebClassWord:
        objects.append(WordObject(request.word, true));
        break;
    case eMetaWebWordMap:
        for (const auto& [physical, byLogical] : request.words) {
            for (const auto& [logical, entry] : byLogical) {
                // The map keys are the names, as the direct route takes them.
                _stAnalyzeManageWord word = entry;
                word.strPhysicalName = physical;
                word.strLogicalName = logical;
                objects.append(WordObject(word, false));
            }
        }
        break;
    case eMetaWebDomain:
        objects.append(DomainObject(request.domain, true));
        break;
    case eMetaWebDomainMap:
        for (const auto& [key, byName] : request.domains) {
            for (const auto& [name, entry] : byName) {
                _stAnalyzeManageDomain domain = entry;
                domain.strKeyDomainName = key;
                domain.strDomainName = name;
                objects.append(DomainObject(domain, false));
            }
        }
        break;
    case eMetaWebTerm:
        objects.append(TermObject(request.term));
        break;
    default:
        break;
    }
    return Array(objects);
}

QByteArray BuildBody(const QString& loginId, const QString& areaId, const QString& datas)
{
    auto encode = [](const QString& value) { return QUrl::toPercentEncoding(value); };
    return QByteArrayLiteral("loginId=") + encode(loginId) + QByteArrayLiteral("&STD_AREA_ID=") + encode(areaId) +
           QByteArrayLiteral("&datas=") + encode(datas);
}

QByteArray BuildBody(const QString& loginId, const MetaWebRequest& request)
{
    return BuildBody(loginId, request.areaId, BuildDatas(request));
}

} // namespace MetaWebBody
