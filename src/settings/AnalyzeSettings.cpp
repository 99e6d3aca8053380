#include "settings/AnalyzeSettings.h"

#include "components/AtomicFile.h"
#include "components/OutputLog.h"
#include "components/QrDatabaseManager.h"
#include "components/QrDatatype.h"
#include "components/QrGlobalUtil.h"
#include "components/QrStringUtil.h"
#include "components/QrWordExtractor.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <memory>

namespace {

std::unique_ptr<CAnalyzeSettings>& Slot()
{
    static std::unique_ptr<CAnalyzeSettings> instance;
    return instance;
}

const char16_t* const kDataTypeKeywords[][2] = {
    {u"CHAR", u"CH"},
    {u"NCHAR", u"NC"},
    {u"VARCHAR", u"VC"},
    {u"NVARCHAR", u"NVC"},
    {u"BINARY", u"BN"},
    {u"BOOLEAN", u"BL"},
    {u"VARBINARY", u"VBN"},
    {u"CLOB", u"CL"},
    {u"NCLOB", u"NCL"},
    {u"BLOB", u"BL"},
    {u"INTEGER(p)", u"VINT"},
    {u"SMALLINT", u"SINT"},
    {u"INTEGER", u"INT"},
    {u"BIGINT", u"BINT"},
    {u"NUMERIC", u"DEC"},
    {u"FLOAT", u"FL"},
    {u"REAL", u"RL"},
    {u"DATE", u"DT"},
    {u"TIME", u"TM"},
    {u"TIMESTAMP", u"TMP"},
    {u"TIMESTAMP WITH TIME ZONE", u"TMPWTZ"},
    {u"TIMESTAMP WITH LOCAL TIME ZONE", u"TMPWLTZ"},
    {u"INTERVAL YEAR TO MONTH", u"INTVLYTM"},
    {u"INTERVAL DAY TO SECOND", u"INTVLDTS"},
    {u"DATETIME", u"DTM"},
    {u"TINYINT", u"TINT"},
    {u"MEDIUMINT", u"MINT"},
    {u"YEAR", u"YEAR"},
    {u"TINYTEXT", u"TTXT"},
    {u"MEDIUMTEXT", u"MTXT"},
    {u"GEOMETRY", u"GEO"},
    {u"LONGTEXT", u"LTXT"},
    {u"TINYBLOB", u"TBLOB"},
    {u"MEDIUMBLOB", u"MBLOB"},
    {u"LONGBLOB", u"LBLOB"},
    {u"IMAGE", u"IMG"},
    {u"UNIQUEIDENTIFIER", u"UID"},
    {u"JSON", u"JSON"},
    {u"BSON", u"BSON"},
    {u"STRUCT", u"STRU"},
    {u"ARRAY/STRUCT", u"ASTRU"},
    {u"ARRAY/VARCHAR", u"AVC"},
    {u"ARRAY/NUMERIC", u"ADEC"},
    {u"ARRAY/INTEGER", u"AINT"},
    {u"ARRAY/FLOAT", u"AFL"},
    {u"ARRAY/BOOLEAN", u"ABL"},
    {u"ARRAY/BINARY", u"ABN"},
    {u"ARRAY/DATE", u"ADT"},
    {u"ARRAY/DATETIME", u"ADTM"},
    {u"ARRAY/TIME", u"ATM"},
    {u"ARRAY/TIMESTAMP", u"ATMP"},
    {u"ARRAY/GEOMETRY", u"AGEO"},
};

// Scalar options in file order.
struct IntOption
{
    const char* key;
    int CAnalyzeSettings::*field;
};
const IntOption kIntOptions[] = {
    {"analyze_sort_result", &CAnalyzeSettings::analyze_sort_result},
    {"need_seperator", &CAnalyzeSettings::need_seperator},
    {"accept_synonym_words", &CAnalyzeSettings::accept_synonym_words},
    {"domain_use_words", &CAnalyzeSettings::domain_use_words},
    {"term_analy_with_synonym", &CAnalyzeSettings::term_analy_with_synonym},
    {"request_browser", &CAnalyzeSettings::request_browser},
    {"analyze_database", &CAnalyzeSettings::analyze_database},
};

QString SameFile(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

CAnalyzeSettings::CAnalyzeSettings()
{
    for (const auto& row : kDataTypeKeywords)
        m_mapDataTypeKeywords.emplace(QString::fromUtf16(row[0]), QString::fromUtf16(row[1]));
}

CAnalyzeSettings& CAnalyzeSettings::Instance()
{
    auto& slot = Slot();
    if (!slot)
        slot = std::make_unique<CAnalyzeSettings>();
    return *slot;
}

bool CAnalyzeSettings::Exists()
{
    return Slot() != nullptr;
}

void CAnalyzeSettings::DestroyInstance()
{
    Slot().reset();
}

QString CAnalyzeSettings::SettingsPath()
{
    return CQrGlobalUtil::GetPathStandard() + QStringLiteral("/termwise.json");
}

QString CAnalyzeSettings::DatabasePath()
{
    return CQrGlobalUtil::GetPathStandard() + QStringLiteral("/termwise.db");
}

void CAnalyzeSettings::Load()
{
    LoadFrom(SettingsPath());
}

bool CAnalyzeSettings::Save()
{
    return SaveTo(SettingsPath());
}

void CAnalyzeSettings::LoadFrom(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return;
    QJsonDocument doc;
    QString problem;
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.errorString();
    } else {
        QJsonParseError error{};
        doc = QJsonDocument::fromJson(file.readAll(), &error);
        if (error.error != QJsonParseError::NoError)
            problem = QStringLiteral("JSON 형식 오류, 위치 %1: ").arg(error.offset) + error.errorString();
        else if (!doc.isObject())
            problem = QStringLiteral("JSON 객체가 아닙니다");
    }
    if (!problem.isEmpty()) {
        // Defaults stay, but the next save must not silently replace what the user had.
        m_unreadablePath = SameFile(path);
        OutputLog::Post(QStringLiteral("설정 파일을 읽을 수 없습니다: %1 (%2). 기본 설정으로 시작하며, 다음 저장 전에 "
                                       "원래 파일을 따로 보관합니다.")
                            .arg(QDir::toNativeSeparators(path), problem));
        return;
    }
    Touch();
    const QJsonObject root = doc.object();
    CQrWordExtractor& extractor = CQrWordExtractor::GetInstance();

    const QJsonValue words = root.value(QLatin1String("words"));
    if (words.isObject()) {
        const QJsonObject outer = words.toObject();
        for (auto it = outer.constBegin(); it != outer.constEnd(); ++it) {
            if (!it.value().isObject())
                continue;
            const QString physical = it.key();
            const QJsonObject inner = it.value().toObject();
            for (auto jt = inner.constBegin(); jt != inner.constEnd(); ++jt) {
                if (!jt.value().isArray())
                    continue;
                const QJsonArray pair = jt.value().toArray();
                if (pair.size() != 2)
                    continue;
                _stAnalyzeManageWord word;
                word.nClassWord = 0;
                word.nStandard = 1;
                word.strPhyFullName = pair.at(0).toString();
                word.strDescription = pair.at(1).toString();
                AddWord(physical, jt.key(), word);
            }
        }
    }

    const QJsonValue nonStandard = root.value(QLatin1String("nonestd_words"));
    if (nonStandard.isObject()) {
        const QJsonObject outer = nonStandard.toObject();
        for (auto it = outer.constBegin(); it != outer.constEnd(); ++it) {
            if (!it.value().isArray())
                continue;
            const QString physical = it.key();
            const QJsonArray logicals = it.value().toArray();
            for (const QJsonValue& v : logicals) {
                if (!v.isString())
                    continue;
                const QString logical = v.toString();
                _stAnalyzeManageWord word;
                if (!GetWord(physical, logical, word))
                    word = _stAnalyzeManageWord();
                word.nStandard = 0;
                AddWord(physical, logical, word);
            }
        }
    }

    const QJsonValue domains = root.value(QLatin1String("domains"));
    if (domains.isObject()) {
        const QJsonObject outer = domains.toObject();
        for (auto it = outer.constBegin(); it != outer.constEnd(); ++it) {
            if (!it.value().isObject())
                continue;
            const QJsonObject inner = it.value().toObject();
            for (auto jt = inner.constBegin(); jt != inner.constEnd(); ++jt) {
                if (!jt.value().isArray())
                    continue;
                const QJsonArray triple = jt.value().toArray();
                if (triple.size() != 3)
                    continue;
                _stAnalyzeManageDomain domain;
                domain.strDataType = triple.at(0).toString();
                domain.strLength = triple.at(1).toString();
                domain.strScale = triple.at(2).toString();
                m_mapDomains[it.key()][jt.key()] = std::move(domain);
            }
        }
    }

    const QJsonValue exceptDomains = root.value(QLatin1String("except_domains"));
    if (exceptDomains.isArray())
        for (const QJsonValue& v : exceptDomains.toArray())
            if (v.isString())
                AddExceptDomain(v.toString());

    const QJsonValue exceptWords = root.value(QLatin1String("except_words"));
    if (exceptWords.isArray())
        for (const QJsonValue& v : exceptWords.toArray())
            if (v.isString())
                AddExceptWord(v.toString());

    const QJsonValue sep = root.value(QLatin1String("seperator"));
    if (sep.isString())
        seperator = sep.toString();
    for (auto [key, field] :
         {std::pair{"chat_url", &CAnalyzeSettings::chat_url}, std::pair{"chat_model", &CAnalyzeSettings::chat_model}}) {
        const QJsonValue v = root.value(QLatin1String(key));
        this->*field = v.isString() ? v.toString() : QString();
    }
    for (const IntOption& option : kIntOptions) {
        const QJsonValue v = root.value(QLatin1String(option.key));
        if (v.isString())
            this->*option.field = CQrStringUtil::ToIntLeading(v.toString());
    }

    std::set<int> tags;
    const QJsonValue userTags = root.value(QLatin1String("user_tags"));
    if (userTags.isArray())
        for (const QJsonValue& v : userTags.toArray())
            if (v.isString())
                tags.insert(CQrStringUtil::ToIntLeading(v.toString()));
    extractor.SetTags(&tags);

    std::set<QString> userWords;
    const QJsonValue userWordsValue = root.value(QLatin1String("user_words"));
    if (userWordsValue.isArray())
        for (const QJsonValue& v : userWordsValue.toArray())
            if (v.isString())
                userWords.insert(v.toString());
    extractor.SetUserWords(&userWords);
    // Without this the loaded words and tags would only apply after the settings dialog.
    extractor.ReLoadSettings();
}

QByteArray CAnalyzeSettings::ToJson() const
{
    QJsonObject root;
    QJsonObject words;
    QJsonObject nonStandard;
    for (const auto& [physical, inner] : m_mapWordsByPhysical) {
        QJsonObject logicals;
        QJsonArray marks;
        for (const auto& [logical, word] : inner) {
            logicals.insert(logical, QJsonArray{word.strPhyFullName, word.strDescription});
            if (word.nStandard == 0)
                marks.append(logical);
        }
        words.insert(physical, logicals);
        if (!marks.isEmpty())
            nonStandard.insert(physical, marks);
    }
    root.insert(QLatin1String("words"), words);
    root.insert(QLatin1String("nonestd_words"), nonStandard);

    QJsonObject domains;
    for (const auto& [key, inner] : m_mapDomains) {
        QJsonObject names;
        for (const auto& [name, domain] : inner)
            names.insert(name, QJsonArray{domain.strDataType, domain.strLength, domain.strScale});
        domains.insert(key, names);
    }
    root.insert(QLatin1String("domains"), domains);

    QJsonArray exceptDomains;
    for (const QString& name : m_setExceptDomains)
        exceptDomains.append(name);
    root.insert(QLatin1String("except_domains"), exceptDomains);
    QJsonArray exceptWords;
    for (const QString& word : m_setExceptWords)
        exceptWords.append(word);
    root.insert(QLatin1String("except_words"), exceptWords);

    root.insert(QLatin1String("seperator"), seperator);
    if (!chat_url.isEmpty())
        root.insert(QLatin1String("chat_url"), chat_url);
    if (!chat_model.isEmpty())
        root.insert(QLatin1String("chat_model"), chat_model);
    for (const IntOption& option : kIntOptions)
        root.insert(QLatin1String(option.key), QString::number(this->*option.field));

    const CQrWordExtractor& extractor = CQrWordExtractor::GetInstance();
    if (const std::set<int>* tags = extractor.GetTags(); tags && !tags->empty()) {
        QJsonArray array;
        for (int tag : *tags)
            array.append(QString::number(tag));
        root.insert(QLatin1String("user_tags"), array);
    }
    if (const std::set<QString>* userWords = extractor.GetUserWords(); userWords && !userWords->empty()) {
        QJsonArray array;
        for (const QString& word : *userWords)
            array.append(word);
        root.insert(QLatin1String("user_words"), array);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool CAnalyzeSettings::KeepUnreadableCopy(const QString& path)
{
    if (m_unreadablePath.isEmpty() || m_unreadablePath != SameFile(path))
        return true;
    if (!QFileInfo::exists(path)) {
        m_unreadablePath.clear();
        return true;
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
    QString copy = path + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFileInfo::exists(copy); ++n)
        copy = path + QStringLiteral(".unreadable-") + stamp + u'-' + QString::number(n);
    if (!QFile::copy(path, copy)) {
        OutputLog::Post(QStringLiteral("읽을 수 없던 설정 파일을 보관하지 못해 저장하지 않았습니다: %1")
                            .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    m_unreadablePath.clear();
    OutputLog::Post(QStringLiteral("읽을 수 없던 설정 파일을 보관했습니다: %1").arg(QDir::toNativeSeparators(copy)));
    return true;
}

bool CAnalyzeSettings::SaveTo(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        m_saveError = QStringLiteral("%1: 폴더를 만들 수 없습니다").arg(QDir::toNativeSeparators(path));
        OutputLog::Post(QStringLiteral("설정 파일을 저장하지 못했습니다: %1 (폴더를 만들 수 없습니다)")
                            .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (!KeepUnreadableCopy(path)) {
        m_saveError =
            QStringLiteral("%1: 읽을 수 없던 설정 파일을 보관하지 못했습니다").arg(QDir::toNativeSeparators(path));
        return false;
    }

    // Written beside the old file and renamed over it: a crash or a full disk leaves the old one.
    CAtomicFile file(path);
    const QByteArray json = ToJson();
    if (!file.Open() || !file.Commit(file.write(json) == json.size())) {
        m_saveError = file.Error();
        OutputLog::Post(QStringLiteral("설정 파일을 저장하지 못했습니다: %1").arg(m_saveError));
        return false;
    }
    m_saveError.clear();
    return true;
}

void CAnalyzeSettings::AddWord(const QString& physical, const QString& logical, const _stAnalyzeManageWord& word)
{
    if (physical.isEmpty() || logical.isEmpty())
        return;
    m_mapWordsByPhysical[physical][logical] = word;
    m_mapWordsByLogical[logical][physical] = word;
    Touch();
}

void CAnalyzeSettings::RemoveWord(const QString& physical, const QString& logical)
{
    if (physical.isEmpty() || logical.isEmpty())
        return;
    if (auto it = m_mapWordsByPhysical.find(physical); it != m_mapWordsByPhysical.end()) {
        it->second.erase(logical);
        if (it->second.empty())
            m_mapWordsByPhysical.erase(it);
    }
    if (auto it = m_mapWordsByLogical.find(logical); it != m_mapWordsByLogical.end()) {
        it->second.erase(physical);
        if (it->second.empty())
            m_mapWordsByLogical.erase(it);
    }
    Touch();
}

bool CAnalyzeSettings::GetWord(const QString& physical, const QString& logical, _stAnalyzeManageWord& word) const
{
    const _stAnalyzeManageWord* found = FindWord(physical, logical);
    if (!found)
        return false;
    word = *found;
    return true;
}

const _stAnalyzeManageWord* CAnalyzeSettings::FindWord(const QString& physical, const QString& logical) const
{
    const auto it = m_mapWordsByPhysical.find(physical);
    if (it == m_mapWordsByPhysical.end())
        return nullptr;
    const auto jt = it->second.find(logical);
    return jt == it->second.end() ? nullptr : &jt->second;
}

void CAnalyzeSettings::ClearWords()
{
    m_mapWordsByPhysical.clear();
    m_mapWordsByLogical.clear();
    Touch();
}

bool CAnalyzeSettings::GetFirstLogicalName(const QString& physical, QString& logical) const
{
    if (physical.isEmpty())
        return false;
    const auto it = m_mapWordsByPhysical.find(physical);
    if (it == m_mapWordsByPhysical.end() || it->second.empty())
        return false;
    logical = it->second.begin()->first;
    return true;
}

bool CAnalyzeSettings::GetFirstPhysicalName(const QString& logical, QString& physical) const
{
    if (logical.isEmpty())
        return false;
    const auto it = m_mapWordsByLogical.find(logical);
    if (it == m_mapWordsByLogical.end() || it->second.empty())
        return false;
    physical = it->second.begin()->first;
    return true;
}

void CAnalyzeSettings::AddExceptWord(const QString& word)
{
    if (word.isEmpty() || m_mapWordsByLogical.count(word))
        return;
    if (m_setExceptWords.insert(word).second)
        Touch();
}

bool CAnalyzeSettings::IsExceptWord(const QString& word) const
{
    return m_setExceptWords.count(word) > 0;
}

bool CAnalyzeSettings::GetDomains(const QString& keyDomain, std::map<QString, _stAnalyzeManageDomain>& domains) const
{
    if (keyDomain.isEmpty())
        return false;
    const auto it = m_mapDomains.find(keyDomain);
    if (it == m_mapDomains.end())
        return false;
    domains = it->second;
    return true;
}

bool CAnalyzeSettings::GetDomain(const QString& keyDomain, const QString& domainName,
                                 _stAnalyzeManageDomain& domain) const
{
    const auto it = m_mapDomains.find(keyDomain);
    if (it == m_mapDomains.end())
        return false;
    const auto jt = it->second.find(domainName);
    if (jt == it->second.end())
        return false;
    domain = jt->second;
    return true;
}

void CAnalyzeSettings::AddDomain(const QString& keyDomain, const QString& domainName,
                                 const _stAnalyzeManageDomain& domain)
{
    if (keyDomain.isEmpty() || domainName.isEmpty())
        return;
    m_mapDomains[keyDomain][domainName] = domain;
    Touch();
}

void CAnalyzeSettings::RemoveDomain(const QString& keyDomain, const QString& domainName)
{
    const auto it = m_mapDomains.find(keyDomain);
    if (it == m_mapDomains.end())
        return;
    it->second.erase(domainName);
    if (it->second.empty())
        m_mapDomains.erase(it);
    Touch();
}

void CAnalyzeSettings::AddExceptDomain(const QString& name)
{
    if (name.isEmpty() || m_mapDomains.count(name))
        return;
    if (m_setExceptDomains.insert(name).second)
        Touch();
}

bool CAnalyzeSettings::IsExceptDomain(const QString& name) const
{
    return m_setExceptDomains.count(name) > 0;
}

bool CAnalyzeSettings::LookupDictionaryNames(const QString& logical, std::set<QString>& englishNames,
                                             std::set<QString>& definitions) const
{
    CQrDatabaseManager& manager = CQrDatabaseManager::GetInstance();
    if (!manager.Has(QStringLiteral("DIC")))
        return false;
    QSqlQuery query(manager.Database(QStringLiteral("DIC")));
    if (!query.prepare(QStringLiteral("SELECT ENG_NM, DEFINITION FROM QRC_DIC WHERE LOG_NM = ?"))) {
        OutputLog::Post(QStringLiteral("사전 데이터베이스에서 %1을(를) 찾을 수 없습니다: %2")
                            .arg(logical, query.lastError().text()));
        return false;
    }
    query.addBindValue(logical);
    if (!query.exec()) {
        OutputLog::Post(QStringLiteral("사전 데이터베이스에서 %1을(를) 찾을 수 없습니다: %2")
                            .arg(logical, query.lastError().text()));
        return false;
    }
    QStringList pieces;
    while (query.next()) {
        CQrStringUtil::SeparateString(query.value(0).toString(), u';', pieces);
        for (const QString& piece : pieces)
            if (!piece.isEmpty())
                englishNames.insert(piece);
        CQrStringUtil::SeparateString(query.value(1).toString(), u';', pieces);
        for (const QString& piece : pieces)
            if (!piece.isEmpty())
                definitions.insert(piece);
    }
    return true;
}

bool CAnalyzeSettings::NormalizeAttributeName(QString& name) const
{
    const QString original = name;
    QString head, number;
    CQrStringUtil::GetSplitPostNumber(name, head, number);
    if (head != name)
        name = head;
    // Character by character, a surrogate pair being one character: replacing half of a
    // pair would also cut every other character of the name that shares that half.
    for (qsizetype i = 0; i < seperator.size(); ++i) {
        const QChar c = seperator[i];
        if (c.isHighSurrogate() && i + 1 < seperator.size() && seperator[i + 1].isLowSurrogate()) {
            name.replace(seperator.mid(i, 2), QStringLiteral("_"));
            ++i;
        } else if (!c.isSurrogate() && c != u'_') { // half a character matches no whole one
            name.replace(c, u'_');
        }
    }
    return name != original;
}

QString CAnalyzeSettings::GetDataTypeAbbreviation(const QString& type) const
{
    const auto it = m_mapDataTypeKeywords.find(type);
    return it != m_mapDataTypeKeywords.end() ? it->second : type;
}

bool CAnalyzeSettings::IsKnownDataType(const QString& type) const
{
    return m_mapDataTypeKeywords.count(type) > 0;
}

QString CAnalyzeSettings::ConvertToLogicalDataType(const QString& physicalType) const
{
    return QrDatatype::ConvertPhyToLogDatatype(analyze_database, physicalType);
}

QString CAnalyzeSettings::BuildDomainName(const QString& classWord, const QString& type, const QString& length,
                                          const QString& scale) const
{
    if (classWord.isEmpty() || type.isEmpty() || !IsKnownDataType(type))
        return {};
    QString name = classWord + GetDataTypeAbbreviation(type) + length;
    if (!length.isEmpty() && !scale.isEmpty())
        name += u',' + scale;
    return name;
}
