// Registration of standard words, domains and terms.
#include "components/OutputLog.h"
#include "components/QrDatatype.h"
#include "components/QrGlobalUtil.h"
#include "components/QrStringUtil.h"
#include "repository/RepositorySql.h"
#include "repository/RepositoryTexts.h"
#include "repository/SqlBaseGate.h"
#include "settings/AnalyzeSettings.h"

namespace {

void PostError(const QString& error)
{
    if (!error.isEmpty())
        OutputLog::Post(error);
}

bool DomainUsesWords()
{
    return CAnalyzeSettings::Instance().domain_use_words != 0;
}

} // namespace

namespace {

QString LockStatement(int dbType, bool domains)
{
    namespace Sql = RepositorySql;
    switch (dbType) {
    case GlobalEnum::DBMS_POSTGRESQL:
        return domains ? Sql::Postgresql::LockStandardDomains : Sql::Postgresql::LockStandardWords;
    case GlobalEnum::DBMS_ORACLE:
    case GlobalEnum::DBMS_ORACLE_OLD:
        return domains ? Sql::Oracle::LockStandardDomains : Sql::Oracle::LockStandardWords;
    case GlobalEnum::DBMS_SQLITE:
        return domains ? Sql::Sqlite::LockStandardDomains : Sql::Sqlite::LockStandardWords;
    default:
        return {};
    }
}

} // namespace

bool CSqlBaseGate::BeginUnit()
{
    m_unitLost = false;
    if (!m_database || !m_database->BeginTransaction()) {
        PostError(m_database ? m_database->LastError() : RepositoryText::NotConnected);
        return false;
    }
    m_inUnit = true;
    return true;
}

bool CSqlBaseGate::EndUnit(bool commit)
{
    if (!m_inUnit)
        return false;
    m_inUnit = false;
    if (m_unitLost)
        return false;
    if (commit && m_database->CommitTransaction())
        return true;
    const QString error = commit ? m_database->LastError() : QString();
    m_database->RollbackTransaction();
    PostError(error);
    return false;
}

bool CSqlBaseGate::BeginBatch(const QString& lock)
{
    m_written = 0;
    m_batchLost = m_inUnit && m_unitLost;
    if (m_batchLost)
        return false;
    if (!m_inUnit && (!m_database || !m_database->BeginTransaction())) {
        m_batchLost = true;
        PostError(m_database ? m_database->LastError() : RepositoryText::NotConnected);
        return false;
    }
    if (!lock.isEmpty()) {
        const SqlOutcome out = Run(lock);
        if (!out.ok) {
            AbandonBatch(out.error);
            return false;
        }
    }
    return true;
}

bool CSqlBaseGate::CommitBatch()
{
    // Inside a unit the unit's end commits.
    if (m_inUnit)
        return !m_unitLost;
    if (m_database->CommitTransaction())
        return true;
    AbandonBatch(m_database->LastError());
    return false;
}

void CSqlBaseGate::AbandonBatch(const QString& error)
{
    m_database->RollbackTransaction();
    PostError(error);
    m_written = 0;
    m_batchLost = true;
    m_unitLost = m_inUnit;
}

bool CSqlBaseGate::WriteBatch(bool domains, QString& date, const std::function<bool(const RowWriter&)>& rows)
{
    // Without the server's time no row could carry a valid start date.
    if (!SelectCurrentDateTime(date) || !BeginBatch(LockStatement(m_database->GetDBType(), domains)))
        return false;
    int written = 0;
    const RowWriter write = [&](const QString& select, const SqlParams& key, const std::function<bool()>& insert) {
        // Checked again under the lock: another registration may have committed it since the
        // caller looked.
        const SqlOutcome present = Run(select, key);
        if (!present.ok) {
            AbandonBatch(present.error);
            return false;
        }
        if (!present.rows.empty())
            return true;
        if (!insert()) {
            AbandonBatch(QString());
            return false;
        }
        ++written;
        return true;
    };
    if (!rows(write) || !CommitBatch())
        return false;
    m_written = written;
    return true;
}

bool CSqlBaseGate::InsertStandardWords(const QString& areaId, WordIndex& words)
{
    QString date;
    return WriteBatch(false, date, [&](const RowWriter& write) {
        for (auto& [physical, byLogical] : words)
            for (auto& [logical, word] : byLogical) {
                word.strPhysicalName = physical;
                word.strLogicalName = logical;
                if (!write(RepositorySql::Common::SelectStandardWord,
                           {SqlParam::Text(areaId), SqlParam::Text(physical), SqlParam::Text(logical)},
                           // a named reference: clang 14 cannot capture a structured binding
                           [&, &w = word] { return InsertStandardWordRow(areaId, date, w); }))
                    return false;
            }
        return true;
    });
}

bool CSqlBaseGate::InsertStandardWordRow(const QString& areaId, const QString& date, _stAnalyzeManageWord& word)
{
    const QString dicId = CQrGlobalUtil::GenerateUID();
    QString startDate = date;
    if (startDate.isEmpty() && !SelectCurrentDateTime(startDate))
        return false;
    const QString fullName = word.strPhyFullName.isEmpty() ? word.strPhysicalName : word.strPhyFullName;
    const QString description = word.strDescription.isEmpty() ? word.strLogicalName : word.strDescription;
    const SqlOutcome out = Run(
        RepositorySql::Common::InsertStandardWord,
        {SqlParam::Text(areaId), SqlParam::Text(dicId), SqlParam::Text(startDate), SqlParam::Text(word.strLogicalName),
         SqlParam::Text(word.strPhysicalName), SqlParam::Text(fullName), SqlParam::Long(description),
         SqlParam::Text(YesOrEmpty(word.nClassWord != 0)), SqlParam::Text(YesOrEmpty(word.nStandard != 0))});
    if (!out.ok) {
        OutputLog::Post(
            CQrStringUtil::Format(RepositoryText::WordInsertFailed, {word.strLogicalName, word.strPhysicalName}));
        PostError(out.error);
        return false;
    }
    word.strWordId = dicId;
    return true;
}

bool CSqlBaseGate::InsertStandardDomains(const QString& areaId, DomainIndex& domains)
{
    QString date;
    return WriteBatch(true, date, [&](const RowWriter& write) {
        for (auto& [key, byName] : domains)
            for (auto& [name, domain] : byName) {
                domain.strKeyDomainName = key;
                domain.strDomainName = name;
                if (!write(RepositorySql::Common::SelectStandardDomain,
                           {SqlParam::Text(areaId), SqlParam::Text(key), SqlParam::Text(name)},
                           [&, &d = domain] { return InsertStandardDomainRow(areaId, date, d); }))
                    return false;
            }
        return true;
    });
}

bool CSqlBaseGate::InsertStandardDomainRow(const QString& areaId, const QString& date, _stAnalyzeManageDomain& domain)
{
    domain.strDomainId = CQrGlobalUtil::GenerateUID();
    QString startDate = date;
    if (startDate.isEmpty() && !SelectCurrentDateTime(startDate))
        return false;

    QStringList physicalNames;
    for (const _stAnalyzeManageWord& word : domain.vecWords)
        physicalNames << word.strPhysicalName;
    const QString keyPhysicalName = CQrStringUtil::CombineString(physicalNames, QLatin1Char('_'));
    // Filed with the other domains of its class; the analysis group only for a new class.
    QString group = SelectDomainGroupOfKey(areaId, domain.strKeyDomainName);
    if (group.isEmpty())
        group = QString::fromUtf16(RepositorySql::kAnalyzeDomainGroupId);

    const SqlOutcome out =
        Run(RepositorySql::Common::InsertStandardDomain,
            {SqlParam::Text(areaId), SqlParam::Text(domain.strDomainId), SqlParam::Text(startDate),
             SqlParam::Text(domain.strKeyDomainName), SqlParam::Text(domain.strDomainName),
             SqlParam::Text(QrDatatype::GetLogicalDatatypeId(domain.strDataType)), SqlParam::Text(domain.strLength),
             SqlParam::Text(domain.strScale), SqlParam::Text(group), SqlParam::Text(keyPhysicalName)});
    if (!out.ok) {
        OutputLog::Post(
            CQrStringUtil::Format(RepositoryText::DomainInsertFailed, {domain.strKeyDomainName, domain.strDomainName}));
        PostError(out.error);
        return false;
    }
    if (!DomainUsesWords())
        return true;

    bool allWritten = true;
    for (size_t i = 0; i < domain.vecWords.size(); ++i) {
        // Domain combinations count from 0 (term combinations from 1).
        const SqlOutcome row =
            Run(RepositorySql::Common::InsertDomainWordCombination,
                {SqlParam::Text(areaId), SqlParam::Text(domain.strDomainId), SqlParam::Integer(qint64(i)),
                 SqlParam::Text(domain.vecWords[i].strWordId), SqlParam::Text(startDate)});
        if (row.ok)
            continue;
        allWritten = false;
        if (row.error.isEmpty())
            OutputLog::Post(CQrStringUtil::Format(RepositoryText::DomainRegisterFailed, {domain.strKeyDomainName}));
        else
            OutputLog::Post(
                CQrStringUtil::Format(RepositoryText::DomainRegisterFailedWith, {domain.strKeyDomainName, row.error}));
    }
    return allWritten;
}

bool CSqlBaseGate::InsertStandardTermRow(const QString& areaId, const _stAnalyzeManageTerm& term)
{
    const QString dicId = CQrGlobalUtil::GenerateUID();
    QString date;
    if (!SelectCurrentDateTime(date))
        return false;
    const QString failed =
        CQrStringUtil::Format(RepositoryText::TermInsertFailed, {term.strLogicalName, term.strPhysicalName});
    if (!m_database || !m_database->BeginTransaction()) {
        OutputLog::Post(failed);
        PostError(m_database ? m_database->LastError() : QString());
        return false;
    }
    auto giveUp = [&](const QString& error) {
        m_database->RollbackTransaction();
        OutputLog::Post(failed);
        PostError(error);
        return false;
    };

    const QString description = term.strDescription.isEmpty() ? term.strLogicalName : term.strDescription;
    SqlOutcome out =
        Run(RepositorySql::Common::InsertStandardTerm,
            {SqlParam::Text(areaId), SqlParam::Text(dicId), SqlParam::Text(date), SqlParam::Text(term.strLogicalName),
             SqlParam::Text(term.strPhysicalName), SqlParam::Long(description), SqlParam::Long(term.strDomainId)});
    if (!out.ok)
        return giveUp(out.error);

    for (qsizetype i = 0; i < term.listWordIds.size(); ++i) {
        out = Run(RepositorySql::Common::InsertTermWordCombination,
                  {SqlParam::Text(areaId), SqlParam::Text(dicId), SqlParam::Text(CQrStringUtil::FromInt(i + 1)),
                   SqlParam::Text(term.listWordIds[i]), SqlParam::Text(date)});
        if (!out.ok)
            return giveUp(out.error);
    }

    if (!m_database->CommitTransaction())
        return giveUp(m_database->LastError());
    return true;
}
