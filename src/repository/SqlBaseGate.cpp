#include "repository/SqlBaseGate.h"

#include "components/OutputLog.h"
#include "components/QrDatatype.h"
#include "components/QrGlobalUtil.h"
#include "components/QrStringUtil.h"
#include "repository/RepositorySql.h"
#include "repository/RepositoryTexts.h"

namespace {

CSqlBaseGate::MessageHandler& MessageBoxHandler()
{
    static CSqlBaseGate::MessageHandler handler;
    return handler;
}

bool IsYes(const QString& flag)
{
    return flag == QLatin1String("Y");
}

// The driver's text after a Korean line saying which work failed.
void PostError(const SqlOutcome& out, const QString& what)
{
    if (!out.error.isEmpty())
        OutputLog::Post(CQrStringUtil::Format(RepositoryText::OperationFailedWith, {what, out.error}));
}

// A read the user started: its failure in a box, unless the connection is gone, which the
// window reports once by itself.
void ShowFailure(const SqlOutcome& out, const QString& what)
{
    if (out.connectionLost)
        PostError(out, what);
    else if (!out.error.isEmpty())
        CSqlBaseGate::ShowMessageBox(CQrStringUtil::Format(RepositoryText::OperationFailed, {what}) + u'\n' +
                                     out.error);
}

} // namespace

CSqlBaseGate::CSqlBaseGate(ISqlExecutor* database) : m_database(database) {}

CSqlBaseGate::~CSqlBaseGate() = default;

void CSqlBaseGate::SetMessageBoxHandler(MessageHandler handler)
{
    MessageBoxHandler() = std::move(handler);
}

void CSqlBaseGate::ShowMessageBox(const QString& text)
{
    if (text.isEmpty())
        return;
    if (MessageBoxHandler())
        MessageBoxHandler()(text);
    else
        OutputLog::Post(text);
}

SqlOutcome CSqlBaseGate::Run(const QString& statement, const SqlParams& params)
{
    SqlOutcome out;
    if (!m_database)
        out.error = RepositoryText::NotConnected;
    else
        out = m_database->Execute(statement, params);
    if (!out.ok) {
        m_lastError = out.error;
        m_lastLost = out.connectionLost;
    }
    return out;
}

// ---- dialect defaults: the base class does nothing -------------------------------------

namespace {
template <class Index> void RefuseAll(const Index& index, RefusedRows& refused)
{
    refused.clear();
    for (const auto& [outer, byName] : index)
        for (const auto& entry : byName)
            refused.push_back({outer, entry.first, QStringLiteral("저장소의 SQL 방언을 알 수 없습니다")});
}
} // namespace

bool CSqlBaseGate::MergeAnalyzeWords(const WordIndex& words)
{
    RefuseAll(words, m_refused);
    return false;
}
bool CSqlBaseGate::MergeAnalyzeDomains(const DomainIndex& domains)
{
    RefuseAll(domains, m_refused);
    return false;
}
bool CSqlBaseGate::SelectStandardAreas(StandardAreaMap&)
{
    return false;
}
bool CSqlBaseGate::SelectOptionUrls(const QString&, QString&)
{
    return false;
}
bool CSqlBaseGate::SelectCurrentDateTime(QString&)
{
    return false;
}

namespace {
// Two clients inserting the same new key at once: the update of the later one finds nothing
// yet, its insert then hits the unique key and the row would be lost. By then the other row
// is committed, so running the same statement again updates it. PostgreSQL reports 23505,
// Oracle ORA-00001.
bool IsDuplicateKey(const SqlOutcome& out)
{
    return out.code == QLatin1String("23505") || out.code == QLatin1String("1") || out.code == QLatin1String("00001");
}

constexpr int kDuplicateKeyRetries = 3;

// One statement per (outer, inner) entry; every failure is logged and the rest still run,
// unless the server is gone: then one line says so and the walk stops. Rows not written go
// to `refused` with the reason.
template <class Index, class RunRow, class Reachable>
bool MergeEachRow(const Index& index, RunRow runRow, Reachable reachable, const QString& failed,
                  const QString& failedWith, RefusedRows& refused)
{
    refused.clear();
    bool allWritten = true;
    bool gone = false;
    for (const auto& [outer, byName] : index) {
        for (const auto& [name, record] : byName) {
            if (gone) {
                refused.push_back({outer, name, RepositoryText::ConnectionLostStopped});
                continue;
            }
            SqlOutcome out = runRow(record, outer, name);
            for (int retry = 0; !out.ok && IsDuplicateKey(out) && retry < kDuplicateKeyRetries; ++retry)
                out = runRow(record, outer, name);
            if (out.ok)
                continue;
            allWritten = false;
            refused.push_back({outer, name, out.error});
            OutputLog::Post(out.error.isEmpty() ? CQrStringUtil::Format(failed, {outer})
                                                : CQrStringUtil::Format(failedWith, {outer, out.error}));
            if (!reachable()) {
                OutputLog::Post(RepositoryText::ConnectionLostStopped);
                gone = true;
            }
        }
    }
    return allWritten;
}
} // namespace

bool CSqlBaseGate::IsReachable()
{
    if (!IsOpen())
        return false;
    const QString probe = ReachabilityStatement();
    return probe.isEmpty() || Run(probe).ok;
}

SqlOutcome CSqlBaseGate::RunRow(const QString& statement, const SqlParams& params)
{
    // Without the savepoint a refused row would abort PostgreSQL's whole transaction.
    Run(RepositorySql::Common::SavepointRow);
    const SqlOutcome out = Run(statement, params);
    const int dbType = m_database ? m_database->GetDBType() : 0;
    if (!out.ok)
        Run(RepositorySql::Common::RollbackToRow);
    else if (dbType != GlobalEnum::DBMS_ORACLE && dbType != GlobalEnum::DBMS_ORACLE_OLD)
        Run(RepositorySql::Common::ReleaseRow);
    return out;
}

template <class Index> bool CSqlBaseGate::MergeBatch(const Index& index, const std::function<bool()>& runRows)
{
    size_t rows = 0;
    for (const auto& entry : index)
        rows += entry.second.size();
    if (!BeginBatch(QString())) {
        m_refused.clear();
        return false;
    }
    const bool all = runRows();
    // A connection lost on the way takes the whole batch with it: nothing was stored, and
    // nothing was refused either.
    if (!CommitBatch()) {
        m_refused.clear();
        return false;
    }
    m_written = int(rows - m_refused.size());
    return all;
}

bool CSqlBaseGate::MergeWordsWith(
    const WordIndex& words, const QString& statement,
    const std::function<SqlParams(const _stAnalyzeManageWord&, const QString&, const QString&, const QString&)>& bind)
{
    const QString authority = CQrGlobalUtil::GetComputerNameW();
    return MergeBatch<WordIndex>(words, [&] {
        return MergeEachRow(
            words,
            [&](const _stAnalyzeManageWord& word, const QString& physical, const QString& logical) {
                return RunRow(statement, bind(word, physical, logical, authority));
            },
            [this] { return IsReachable(); }, RepositoryText::WordUpdateFailed, RepositoryText::WordUpdateFailedWith,
            m_refused);
    });
}

bool CSqlBaseGate::MergeDomainsWith(
    const DomainIndex& domains, const QString& statement,
    const std::function<SqlParams(const _stAnalyzeManageDomain&, const QString&, const QString&, const QString&)>& bind)
{
    const QString authority = CQrGlobalUtil::GetComputerNameW();
    return MergeBatch<DomainIndex>(domains, [&] {
        return MergeEachRow(
            domains,
            [&](const _stAnalyzeManageDomain& domain, const QString& key, const QString& name) {
                return RunRow(statement, bind(domain, key, name, authority));
            },
            [this] { return IsReachable(); }, RepositoryText::DomainUpdateFailed,
            RepositoryText::DomainUpdateFailedWith, m_refused);
    });
}

bool CSqlBaseGate::SelectStandardAreasWith(const QString& statement, StandardAreaMap& areas)
{
    const SqlOutcome out = Run(statement);
    for (size_t r = 0; r < out.rows.size(); ++r)
        areas[out.rows.Value(r, QStringLiteral("STD_AREA_NM"))] = out.rows.Value(r, QStringLiteral("STD_AREA_ID"));
    if (!out.ok) {
        ShowFailure(out, QStringLiteral("표준 분류체계 조회"));
        return false;
    }
    return true;
}

bool CSqlBaseGate::SelectCurrentDateTimeWith(const QString& statement, QString& text)
{
    const SqlOutcome out = Run(statement);
    if (!out.ok) {
        ShowFailure(out, QStringLiteral("저장소 현재 시각 조회"));
        return false;
    }
    if (out.rows.empty())
        return false;
    text = out.rows.Value(0, 0);
    return !text.isEmpty();
}

bool CSqlBaseGate::SelectOptionUrlsFromOptions(const QString& optionId, QString& url)
{
    const SqlOutcome out = Run(RepositorySql::Common::SelectOptionUrls,
                               {SqlParam::Text(RepositoryText::OptionCommonUrl), SqlParam::Text(optionId)});
    if (!out.ok) {
        PostError(out, QStringLiteral("신청 화면 주소 조회"));
        return false;
    }
    std::map<QString, QString> values;
    for (size_t r = 0; r < out.rows.size(); ++r)
        values[out.rows.Value(r, QStringLiteral("OPTN_ID"))] = out.rows.Value(r, QStringLiteral("OPTN_VAL"));
    const QString value = values.count(optionId) ? values[optionId] : QString();
    // An option without a value means the repository has no such page: the base address
    // alone is no proposal page, and the caller's switch must stay off.
    if (value.trimmed().isEmpty()) {
        url.clear();
        return true;
    }
    const QString lower = value.toLower();
    // A relative path is appended to the common base address as it stands.
    if (!lower.contains(QLatin1String("http://")) && !lower.contains(QLatin1String("https://")))
        url = values[RepositoryText::OptionCommonUrl] + value;
    else
        url = value;
    return true;
}

// ---- shared analysis dictionary --------------------------------------------------------

bool CSqlBaseGate::SelectAnalyzeWords(WordIndex& words)
{
    const SqlOutcome out = Run(RepositorySql::Common::SelectAnalyzeWords);
    const SqlRowSet& rs = out.rows;
    const int phy = rs.ColumnIndex(QStringLiteral("WORD_PHY_NM"));
    const int log = rs.ColumnIndex(QStringLiteral("WORD_LOG_NM"));
    const int full = rs.ColumnIndex(QStringLiteral("WORD_PHY_FULL_NM"));
    const int desc = rs.ColumnIndex(QStringLiteral("WORD_DESC"));
    const int std = rs.ColumnIndex(QStringLiteral("WORD_STD_YN"));
    const int auth = rs.ColumnIndex(QStringLiteral("WORD_AUTH"));
    for (size_t r = 0; r < rs.size(); ++r) {
        _stAnalyzeManageWord word;
        word.strPhyFullName = rs.Value(r, full);
        word.strDescription = rs.Value(r, desc);
        word.strAuthority = rs.Value(r, auth);
        word.nStandard = IsYes(rs.Value(r, std)) ? 1 : 0;
        words[rs.Value(r, phy)][rs.Value(r, log)] = word;
    }
    if (!out.ok) {
        ShowFailure(out, QStringLiteral("분석 공유 단어 조회"));
        return false;
    }
    return true;
}

bool CSqlBaseGate::DeleteAnalyzeWords(const WordIndex& words)
{
    for (const auto& [physical, byLogical] : words) {
        for (const auto& entry : byLogical) {
            const SqlOutcome out =
                Run(RepositorySql::Common::DeleteAnalyzeWord, {SqlParam::Text(physical), SqlParam::Text(entry.first)});
            if (!out.ok) {
                PostError(out, QStringLiteral("분석 공유 단어 삭제"));
                return false;
            }
        }
    }
    return true;
}

bool CSqlBaseGate::SelectAnalyzeDomains(DomainIndex& domains)
{
    const SqlOutcome out = Run(RepositorySql::Common::SelectAnalyzeDomains);
    const SqlRowSet& rs = out.rows;
    const int key = rs.ColumnIndex(QStringLiteral("KEY_DOM_NM"));
    const int name = rs.ColumnIndex(QStringLiteral("DOM_NM"));
    const int type = rs.ColumnIndex(QStringLiteral("DATA_TYPE"));
    const int len = rs.ColumnIndex(QStringLiteral("DATA_LEN"));
    const int scale = rs.ColumnIndex(QStringLiteral("DATA_SCALE"));
    const int auth = rs.ColumnIndex(QStringLiteral("DOM_AUTH"));
    for (size_t r = 0; r < rs.size(); ++r) {
        _stAnalyzeManageDomain domain;
        domain.strDataType = rs.Value(r, type);
        domain.strLength = rs.Value(r, len);
        domain.strScale = rs.Value(r, scale);
        domain.strAuthority = rs.Value(r, auth);
        domains[rs.Value(r, key)][rs.Value(r, name)] = std::move(domain);
    }
    if (!out.ok) {
        ShowFailure(out, QStringLiteral("분석 공유 도메인 조회"));
        return false;
    }
    return true;
}

bool CSqlBaseGate::DeleteAnalyzeDomains(const DomainIndex& domains)
{
    for (const auto& [key, byName] : domains) {
        for (const auto& entry : byName) {
            const SqlOutcome out =
                Run(RepositorySql::Common::DeleteAnalyzeDomain, {SqlParam::Text(key), SqlParam::Text(entry.first)});
            if (!out.ok) {
                PostError(out, QStringLiteral("분석 공유 도메인 삭제"));
                return false;
            }
        }
    }
    return true;
}

bool CSqlBaseGate::SelectExcept(const QString& statement, ExceptNameMap& names)
{
    const SqlOutcome out = Run(statement);
    for (size_t r = 0; r < out.rows.size(); ++r)
        names[out.rows.Value(r, QStringLiteral("EXCEPT_NM"))] = out.rows.Value(r, QStringLiteral("EXCEPT_AUTH"));
    if (!out.ok) {
        PostError(out, QStringLiteral("분석 제외 공유 데이터 조회"));
        return false;
    }
    return true;
}

bool CSqlBaseGate::ExecuteForEachName(const QString& statement, const std::set<QString>& names, bool withAuthority)
{
    const QString authority = withAuthority ? CQrGlobalUtil::GetComputerNameW() : QString();
    m_refused.clear();
    for (const QString& name : names) {
        SqlParams params{SqlParam::Text(name)};
        if (withAuthority)
            params.push_back(SqlParam::Text(authority));
        // Inside a unit a refused name must not abort the rest of the transaction.
        const SqlOutcome out = m_inUnit ? RunRow(statement, params) : Run(statement, params);
        if (!out.ok) {
            PostError(out, QStringLiteral("분석 제외 공유 데이터 쓰기"));
            m_refused.push_back({name, QString(), out.error});
            return false;
        }
    }
    return true;
}

bool CSqlBaseGate::SelectExceptWords(ExceptNameMap& names)
{
    return SelectExcept(RepositorySql::Common::SelectExceptWords, names);
}

bool CSqlBaseGate::InsertExceptWords(const std::set<QString>& names)
{
    return ExecuteForEachName(RepositorySql::Common::InsertExceptWord, names, true);
}

bool CSqlBaseGate::DeleteExceptWords(const std::set<QString>& names)
{
    return ExecuteForEachName(RepositorySql::Common::DeleteExceptWord, names, false);
}

bool CSqlBaseGate::SelectExceptDomains(ExceptNameMap& names)
{
    return SelectExcept(RepositorySql::Common::SelectExceptDomains, names);
}

bool CSqlBaseGate::InsertExceptDomains(const std::set<QString>& names)
{
    return ExecuteForEachName(RepositorySql::Common::InsertExceptDomain, names, true);
}

bool CSqlBaseGate::DeleteExceptDomains(const std::set<QString>& names)
{
    return ExecuteForEachName(RepositorySql::Common::DeleteExceptDomain, names, false);
}

// ---- standards of an area ---------------------------------------------------------------

bool CSqlBaseGate::SelectExists(const QString& statement, const SqlParams& params)
{
    const SqlOutcome out = Run(statement, params);
    if (!out.ok) {
        PostError(out, QStringLiteral("표준 조회"));
        return false;
    }
    return !out.rows.empty();
}

bool CSqlBaseGate::SelectStandardAreaName(const QString& areaId, QString& name)
{
    if (areaId.isEmpty())
        return false;
    const SqlOutcome out = Run(RepositorySql::Common::SelectStandardAreaName, {SqlParam::Text(areaId)});
    if (!out.ok) {
        PostError(out, QStringLiteral("표준 분류체계 이름 조회"));
        return false;
    }
    if (out.rows.empty())
        return false;
    name = out.rows.Value(0, QStringLiteral("STD_AREA_NM"));
    return true;
}

bool CSqlBaseGate::SelectStandardWordById(const QString& areaId, _stAnalyzeManageWord& word)
{
    const SqlOutcome out =
        Run(RepositorySql::Common::SelectStandardWordById, {SqlParam::Text(areaId), SqlParam::Text(word.strWordId)});
    if (!out.ok) {
        PostError(out, QStringLiteral("표준 단어 조회"));
        return false;
    }
    if (out.rows.empty())
        return false;
    const SqlRowSet& rs = out.rows;
    word.strLogicalName = rs.Value(0, QStringLiteral("DIC_LOG_NM"));
    word.strPhysicalName = rs.Value(0, QStringLiteral("DIC_PHY_NM"));
    word.strPhyFullName = rs.Value(0, QStringLiteral("DIC_PHY_FLL_NM"));
    word.strDescription = rs.Value(0, QStringLiteral("DIC_DESC"));
    word.nClassWord = IsYes(rs.Value(0, QStringLiteral("ATTR_CLSS_YN"))) ? 1 : 0;
    word.nStandard = IsYes(rs.Value(0, QStringLiteral("STANDARD_YN"))) ? 1 : 0;
    return true;
}

bool CSqlBaseGate::UpdateStandardClassWordFlag(const QString& areaId, const QString& dicId)
{
    const SqlOutcome out =
        Run(RepositorySql::Common::UpdateStandardClassWordFlag, {SqlParam::Text(areaId), SqlParam::Text(dicId)});
    if (!out.ok) {
        OutputLog::Post(RepositoryText::ClassWordUpdateFailed);
        PostError(out, QStringLiteral("분류어 변경"));
        return false;
    }
    return true;
}

bool CSqlBaseGate::SelectStandardDomains(const QString& areaId, std::vector<_stAnalyzeManageDomain>& domains)
{
    const SqlOutcome out = Run(RepositorySql::Common::SelectStandardDomains, {SqlParam::Text(areaId)});
    const SqlRowSet& rs = out.rows;
    for (size_t r = 0; r < rs.size(); ++r) {
        _stAnalyzeManageDomain domain;
        domain.strDomainId = rs.Value(r, QStringLiteral("DOM_ID"));
        domain.strKeyDomainName = rs.Value(r, QStringLiteral("KEY_DOM_NM"));
        domain.strDomainName = rs.Value(r, QStringLiteral("DOM_NM"));
        domain.strDataType = QrDatatype::GetLogicalDataTypeName(rs.Value(r, QStringLiteral("DATA_TYPE_CD")));
        domain.strLength = rs.Value(r, QStringLiteral("DATA_LEN"));
        domain.strScale = rs.Value(r, QStringLiteral("DATA_SCALE"));
        domains.push_back(std::move(domain));
    }
    if (!out.ok) {
        PostError(out, QStringLiteral("표준 도메인 조회"));
        return false;
    }
    return true;
}

bool CSqlBaseGate::SelectStandardDomainsByKey(const QString& areaId, const QStringList& words, const QString& dataType,
                                              const QString& length, const QString& scale, DomainHitList& found)
{
    const int nLength = CQrStringUtil::ToIntLeading(length);
    const int nScale = CQrStringUtil::ToIntLeading(scale);
    QString statement = RepositorySql::Common::SelectStandardDomainsByKey;
    if (nLength != 0)
        statement += RepositorySql::Common::SelectStandardDomainsByKeyLength;
    if (nScale != 0)
        statement += RepositorySql::Common::SelectStandardDomainsByKeyScale;
    const QString typeId = QrDatatype::GetLogicalDatatypeId(dataType);

    for (qsizetype i = words.size() - 1; i >= 0; --i) {
        const QString& key = words[i];
        SqlParams params{SqlParam::Text(areaId), SqlParam::Text(key), SqlParam::Text(typeId)};
        if (nLength != 0)
            params.push_back(SqlParam::Integer(nLength));
        if (nScale != 0)
            params.push_back(SqlParam::Integer(nScale));
        const SqlOutcome out = Run(statement, params);
        for (size_t r = 0; r < out.rows.size(); ++r)
            found.emplace_back(out.rows.Value(r, QStringLiteral("DOM_NM")),
                               out.rows.Value(r, QStringLiteral("DOM_ID")));
        if (!out.ok)
            OutputLog::Post(CQrStringUtil::Format(RepositoryText::DomainLookupFailedWith, {key, out.error}));
    }
    return true;
}

bool CSqlBaseGate::SelectStandardWord(const QString& areaId, const _stAnalyzeManageWord& word)
{
    return SelectExists(
        RepositorySql::Common::SelectStandardWord,
        {SqlParam::Text(areaId), SqlParam::Text(word.strPhysicalName), SqlParam::Text(word.strLogicalName)});
}

bool CSqlBaseGate::SelectStandardWordsByLogicalName(const QString& areaId, const QString& logicalName)
{
    return SelectExists(RepositorySql::Common::SelectStandardWordsByLogicalName,
                        {SqlParam::Text(areaId), SqlParam::Text(logicalName)});
}

bool CSqlBaseGate::SelectStandardDomain(const QString& areaId, _stAnalyzeManageDomain& domain)
{
    const SqlOutcome out =
        Run(RepositorySql::Common::SelectStandardDomain,
            {SqlParam::Text(areaId), SqlParam::Text(domain.strKeyDomainName), SqlParam::Text(domain.strDomainName)});
    if (!out.ok) {
        PostError(out, QStringLiteral("표준 도메인 조회"));
        return false;
    }
    if (out.rows.empty())
        return false;
    domain.strKeyDomainName = out.rows.Value(0, QStringLiteral("KEY_DOM_NM"));
    domain.strDomainName = out.rows.Value(0, QStringLiteral("DOM_NM"));
    domain.strDomainId = out.rows.Value(0, QStringLiteral("DOM_ID"));
    return true;
}

bool CSqlBaseGate::SelectStandardTermsByLogicalName(const QString& areaId, const QString& logicalName)
{
    return SelectExists(RepositorySql::Common::SelectStandardTermsByLogicalName,
                        {SqlParam::Text(areaId), SqlParam::Text(logicalName)});
}

bool CSqlBaseGate::SelectPhysicalNameHolders(const QString& areaId, const QString& physicalName,
                                             const QString& logicalName, bool terms, QStringList& holders)
{
    holders.clear();
    const SqlOutcome out = Run(terms ? RepositorySql::Common::SelectStandardTermsByPhysicalName
                                     : RepositorySql::Common::SelectStandardWordsByPhysicalName,
                               {SqlParam::Text(areaId), SqlParam::Text(physicalName), SqlParam::Text(logicalName)});
    if (!out.ok) {
        PostError(out, QStringLiteral("표준 조회"));
        return false;
    }
    for (size_t r = 0; r < out.rows.size(); ++r)
        holders << out.rows.Value(r, 0);
    return true;
}

QString CSqlBaseGate::SelectDomainGroupOfKey(const QString& areaId, const QString& keyDomainName)
{
    const SqlOutcome out =
        Run(RepositorySql::Common::SelectDomainGroupOfKey, {SqlParam::Text(areaId), SqlParam::Text(keyDomainName)});
    return out.ok && !out.rows.empty() ? out.rows.Value(0, 0) : QString();
}

bool CSqlBaseGate::MarkExistingStandardDomains(const QString& areaId, DomainFlagMap& domains)
{
    if (domains.empty())
        return false;
    for (auto& [key, byName] : domains) {
        for (auto& [name, flag] : byName) {
            _stAnalyzeManageDomain domain;
            domain.strKeyDomainName = key;
            domain.strDomainName = name;
            if (SelectStandardDomain(areaId, domain))
                flag = true;
        }
    }
    return true;
}

bool CSqlBaseGate::ExistsAnalyzeDomainGroup(const QString& areaId)
{
    return SelectExists(
        RepositorySql::Common::ExistsAnalyzeDomainGroup,
        {SqlParam::Text(areaId), SqlParam::Text(QString::fromUtf16(RepositorySql::kAnalyzeDomainGroupId))});
}

bool CSqlBaseGate::InsertAnalyzeDomainGroup(const QString& areaId)
{
    QString date;
    if (!SelectCurrentDateTime(date))
        return false;
    const SqlOutcome out =
        Run(RepositorySql::Common::InsertAnalyzeDomainGroup,
            {SqlParam::Text(areaId), SqlParam::Text(QString::fromUtf16(RepositorySql::kAnalyzeDomainGroupId)),
             SqlParam::Text(date)});
    if (!out.ok) {
        PostError(out, QStringLiteral("분석 도메인그룹 입력"));
        return false;
    }
    return true;
}

// ---- unused standards --------------------------------------------------------------------

bool CSqlBaseGate::SelectUnusedWordsWith(const QString& statement, const QString& areaId,
                                         std::vector<_stAnalyzeManageWord>& words)
{
    const SqlOutcome out = Run(statement, {SqlParam::Text(areaId)});
    const SqlRowSet& rs = out.rows;
    for (size_t r = 0; r < rs.size(); ++r) {
        _stAnalyzeManageWord word;
        word.strWordId = rs.Value(r, QStringLiteral("DIC_ID"));
        word.strLogicalName = rs.Value(r, QStringLiteral("DIC_LOG_NM"));
        word.strPhysicalName = rs.Value(r, QStringLiteral("DIC_PHY_NM"));
        word.strPhyFullName = rs.Value(r, QStringLiteral("DIC_PHY_FLL_NM"));
        word.strDescription = rs.Value(r, QStringLiteral("DIC_DESC"));
        words.push_back(std::move(word));
    }
    if (!out.ok) {
        PostError(out, QStringLiteral("미사용 표준 단어 조회"));
        return false;
    }
    return true;
}

bool CSqlBaseGate::SelectUnusedStandardWords(const QString& areaId, std::vector<_stAnalyzeManageWord>& words)
{
    return SelectUnusedWordsWith(RepositorySql::Common::SelectUnusedStandardWords, areaId, words);
}

bool CSqlBaseGate::SelectUnusedClassWords(const QString& areaId, std::vector<_stAnalyzeManageWord>& words)
{
    return SelectUnusedWordsWith(RepositorySql::Common::SelectUnusedClassWords, areaId, words);
}

bool CSqlBaseGate::SelectUnusedStandardTerms(const QString& areaId, std::vector<_stAnalyzeManageTerm>& terms)
{
    // The one area id is both the model's classification system and the standard area.
    const SqlOutcome out =
        Run(RepositorySql::Common::SelectUnusedStandardTerms, {SqlParam::Text(areaId), SqlParam::Text(areaId)});
    const SqlRowSet& rs = out.rows;
    for (size_t r = 0; r < rs.size(); ++r) {
        _stAnalyzeManageTerm term;
        term.strLogicalName = rs.Value(r, QStringLiteral("DIC_LOG_NM"));
        term.strPhysicalName = rs.Value(r, QStringLiteral("DIC_PHY_NM"));
        term.strDescription = rs.Value(r, QStringLiteral("DIC_DESC"));
        terms.push_back(std::move(term));
    }
    if (!out.ok) {
        PostError(out, QStringLiteral("미사용 표준 용어 조회"));
        return false;
    }
    return true;
}

bool CSqlBaseGate::SelectUnusedStandardDomains(const QString& areaId, std::vector<_stAnalyzeManageDomain>& domains)
{
    const SqlOutcome out = Run(RepositorySql::Common::SelectUnusedStandardDomains, {SqlParam::Text(areaId)});
    const SqlRowSet& rs = out.rows;
    for (size_t r = 0; r < rs.size(); ++r) {
        _stAnalyzeManageDomain domain;
        domain.strKeyDomainName = rs.Value(r, QStringLiteral("KEY_DOM_NM"));
        domain.strDomainName = rs.Value(r, QStringLiteral("DOM_NM"));
        domain.strDataType = QrDatatype::GetLogicalDataTypeName(rs.Value(r, QStringLiteral("DATA_TYPE_CD")));
        domain.strLength = rs.Value(r, QStringLiteral("DATA_LEN"));
        domain.strScale = rs.Value(r, QStringLiteral("DATA_SCALE"));
        domains.push_back(std::move(domain));
    }
    if (!out.ok) {
        PostError(out, QStringLiteral("미사용 표준 도메인 조회"));
        return false;
    }
    return true;
}
