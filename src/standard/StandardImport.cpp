#include "standard/StandardImport.h"

#include "components/QrDatatype.h"
#include "components/QrGlobalUtil.h"
#include "components/QrProgressWnd.h"
#include "repository/RepositorySql.h"
#include "repository/SqlBaseGate.h"
#include "settings/AnalyzeSettings.h"
#include "standard/AreaUpgrade.h"
#include "standard/StandardTexts.h"

#include <QHash>
#include <map>
#include <set>

namespace StandardImport {
namespace {

namespace Sql = RepositorySql::Standard;
const QString kDefaultGroup = QStringLiteral("공통표준");

// Rows of one table sent as multi-row INSERT statements to PostgreSQL, one round trip per
// batch (300 rows; it takes up to 65,535 parameters). SQLite runs in this process, where a
// multi-row statement measured slower than one row each (bench/RESULTS.md), and Oracle has no
// multi-row VALUES list: both get one row per statement unless asked otherwise.
class BatchInsert
{
public:
    BatchInsert(ISqlExecutor& db, const QString& head, const QString& tuple, int paramsPerRow, int rowsPerStatement)
        : m_db(db), m_head(head), m_tuple(tuple)
    {
        const int type = db.GetDBType();
        // SQLite before 3.32 binds at most 999 parameters per statement.
        const int maxRows = std::max(1, (type == 11 ? 30000 : 900) / paramsPerRow);
        m_rowsPerBatch = type == 1 || type == 10 ? 1
                         : rowsPerStatement > 0  ? std::min(rowsPerStatement, maxRows)
                         : type == 11            ? std::min(maxRows, kServerRows)
                                                 : 1;
    }
    // where: the file and row the values came from, named if the database refuses them.
    bool Add(SqlParams&& row, QString& error, const PublicStandardProblem& where = {})
    {
        for (SqlParam& p : row)
            m_params.push_back(std::move(p));
        if (m_rows == 0)
            m_first = where;
        m_last = where;
        ++m_rows;
        return m_rows < m_rowsPerBatch || Flush(error);
    }
    bool Flush(QString& error)
    {
        if (m_rows == 0)
            return true;
        if (m_statement.isEmpty() || m_statementRows != m_rows) {
            QStringList tuples;
            for (int i = 0; i < m_rows; ++i)
                tuples << m_tuple;
            m_statement = m_head + tuples.join(QStringLiteral(", "));
            m_statementRows = m_rows;
        }
        const SqlOutcome out = m_db.Execute(m_statement, m_params);
        const int rows = m_rows;
        m_params.clear();
        m_rows = 0;
        if (!out.ok) {
            error = out.error.isEmpty() ? QStringLiteral("SQL 문을 실행하지 못했습니다: %1").arg(m_head.trimmed())
                                        : out.error;
            if (!m_first.file.isEmpty())
                error = (rows == 1 || (m_first.file == m_last.file && m_first.row == m_last.row)
                             ? QStringLiteral("%1:%2: ").arg(m_first.file).arg(m_first.row)
                             : QStringLiteral("%1:%2 ~ %3:%4 (이 중 한 행): ")
                                   .arg(m_first.file)
                                   .arg(m_first.row)
                                   .arg(m_last.file)
                                   .arg(m_last.row)) +
                        error;
        }
        return out.ok;
    }

private:
    static constexpr int kServerRows = 300;
    ISqlExecutor& m_db;
    QString m_head, m_tuple;
    int m_rowsPerBatch = 1;
    SqlParams m_params;
    int m_rows = 0;
    QString m_statement;
    int m_statementRows = 0;
    PublicStandardProblem m_first, m_last; // where the rows of the batch came from
};

int CountRows(ISqlExecutor& db, const QString& statement, const QString& areaId, bool& ok, QString& error)
{
    const SqlOutcome out = db.Execute(statement, {SqlParam::Text(areaId)});
    if (!out.ok) {
        ok = false;
        error = out.error;
        return 0;
    }
    return out.rows.Value(0, 0).toInt();
}

struct StoredWord
{
    QString id;
    QString logical;
    QString physical;
    QString fullName;
    bool classWord = false;
};

// A term's word combination: each "_" part of its physical name to a standard word.
class CombinationMatcher
{
public:
    void Add(const StoredWord& w) { m_byPhysical[w.physical.toUpper()].push_back(&w); }

    // The words in order (null for a part no word has) and the parts that matched nothing.
    std::vector<const StoredWord*> Match(const QString& logicalName, const QString& physicalName,
                                         QStringList& unmatched) const
    {
        QString logical = logicalName;
        logical.remove(u' ');
        qsizetype cursor = 0;
        std::vector<const StoredWord*> out;
        for (const QString& rawPart : physicalName.split(u'_')) {
            const QString part = rawPart.trimmed().toUpper();
            if (part.isEmpty())
                continue;
            auto it = m_byPhysical.find(part);
            if (it == m_byPhysical.end()) {
                unmatched << rawPart.trimmed();
                out.push_back(nullptr);
                continue;
            }
            // The word whose logical name stands at this place (the longest, when several do).
            const StoredWord* best = nullptr;
            for (const StoredWord* w : it->second)
                if (QStringView(logical).mid(cursor).startsWith(w->logical) &&
                    (!best || w->logical.size() > best->logical.size()))
                    best = w;
            if (best) {
                cursor += best->logical.size();
            } else {
                best = it->second.front();
                // Resynchronise on the word's next appearance, so one odd part does not
                // misplace the rest.
                const qsizetype at = logical.indexOf(best->logical, cursor);
                if (at >= 0)
                    cursor = at + best->logical.size();
            }
            out.push_back(best);
        }
        return out;
    }

private:
    std::map<QString, std::vector<const StoredWord*>> m_byPhysical;
};

class RepositoryImport
{
public:
    RepositoryImport(ISqlExecutor& db, CSqlBaseGate& gate, const PublicStandard& standard, const AreaOptions& options,
                     StandardImportSummary& summary)
        : m_db(db), m_gate(gate), m_std(standard), m_opt(options), m_sum(summary)
    {
    }

    Outcome Run(QString& error)
    {
        error.clear();
        bool ok = true;
        const int current = CountRows(m_db, Sql::CountCurrentDic, m_opt.areaId, ok, error) +
                            CountRows(m_db, Sql::CountCurrentDomains, m_opt.areaId, ok, error);
        if (!ok)
            return Outcome::Failed;
        if (TermsOnly())
            return RunTermsOnly(error);
        if (current > 0 && !m_opt.replace) {
            error = QStringLiteral("분류체계 %1에 현재 표준 행이 이미 %2개 있습니다. --replace를 주면 이 행을 "
                                   "이력으로 닫고 이 판을 넣습니다")
                        .arg(m_opt.areaId)
                        .arg(current);
            return Outcome::Refused;
        }
        if (!ReadDate(error))
            return Outcome::Failed;
        m_upgrading = current > 0;
        if (m_upgrading)
            return RunSteps({{"분류체계의 현재 표준과 새 판 맞추기", &RepositoryImport::Plan},
                             {"바뀌거나 폐기된 행을 이력으로 닫기", &RepositoryImport::ClosePlanned},
                             {"표준 분류체계", &RepositoryImport::Area},
                             {"표준 단어", &RepositoryImport::Words},
                             {"도메인", &RepositoryImport::Domains},
                             {"용어와 단어 조합", &RepositoryImport::Terms}},
                            error);
        // One step per table group; a cancel between them rolls everything back.
        return RunSteps({{"이전 판을 이력으로 닫기", &RepositoryImport::CloseCurrent},
                         {"표준 분류체계", &RepositoryImport::Area},
                         {"표준 단어", &RepositoryImport::Words},
                         {"도메인", &RepositoryImport::Domains},
                         {"용어와 단어 조합", &RepositoryImport::Terms}},
                        error);
    }

private:
    using Step = std::pair<const char*, bool (RepositoryImport::*)(QString&)>;

    // A term file given alone: its terms join the words and domains the area holds already, and
    // a replace closes only the area's terms.
    bool TermsOnly() const { return m_std.hasTerms && !m_std.hasWords && !m_std.hasDomains; }

    bool ReadDate(QString& error)
    {
        if (m_gate.SelectCurrentDateTime(m_date) && !m_date.isEmpty())
            return true;
        error = QStringLiteral("데이터베이스의 현재 시각을 읽을 수 없습니다");
        return false;
    }

    Outcome RunTermsOnly(QString& error)
    {
        bool ok = true;
        const int current = CountRows(m_db, Sql::CountCurrentTerms, m_opt.areaId, ok, error);
        if (!ok)
            return Outcome::Failed;
        if (current > 0 && !m_opt.replace) {
            error = QStringLiteral("분류체계 %1에 이미 현재 용어 %2건이 있습니다. --replace는 그 용어를 이력으로 닫고 "
                                   "이 파일의 용어를 넣습니다")
                        .arg(m_opt.areaId)
                        .arg(current);
            return Outcome::Refused;
        }
        if (!LoadAreaWords(error))
            return Outcome::Failed;
        if (m_words.empty()) {
            error = QStringLiteral("용어 파일만 주어졌는데 분류체계 %1에 표준 단어가 없습니다. 용어의 단어 조합을 "
                                   "만들 수 없으니 공통표준단어·공통표준도메인 파일을 함께 가져오십시오")
                        .arg(m_opt.areaId);
            return Outcome::Failed;
        }
        if (!ReadDate(error))
            return Outcome::Failed;
        return RunSteps({{"현재 용어를 이력으로 닫기", &RepositoryImport::CloseTerms},
                         {"표준 분류체계", &RepositoryImport::Area},
                         {"용어와 단어 조합", &RepositoryImport::Terms}},
                        error);
    }

    // The area's current standard words for the term combinations, and its domains by name.
    bool LoadAreaWords(QString& error)
    {
        const SqlOutcome words = m_db.Execute(Sql::SelectStandardWords, {SqlParam::Text(m_opt.areaId)});
        const SqlOutcome domains = m_db.Execute(Sql::SelectDomainIds, {SqlParam::Text(m_opt.areaId)});
        if (!words.ok || !domains.ok) {
            error = !words.ok ? words.error : domains.error;
            return false;
        }
        m_words.reserve(words.rows.size());
        for (size_t i = 0; i < words.rows.size(); ++i) {
            const QString physical = words.rows.Value(i, 2);
            const QString full = words.rows.Value(i, 3);
            m_words.push_back(
                {words.rows.Value(i, 0), words.rows.Value(i, 1), physical, full.isEmpty() ? physical : full, false});
        }
        for (const StoredWord& w : m_words)
            m_matcher.Add(w);
        for (size_t i = 0; i < domains.rows.size(); ++i)
            m_domainIds.try_emplace(domains.rows.Value(i, 1), domains.rows.Value(i, 0));
        return true;
    }

    bool CloseTerms(QString& error)
    {
        return !m_opt.replace || CloseRows({{&Sql::CountCurrentTerms, &Sql::CloseTerms},
                                            {&Sql::CountCurrentCombinations, &Sql::CloseCombinations}},
                                           error);
    }

    // Current rows closed with the import's time as their validity end, counted as closed.
    bool CloseRows(std::initializer_list<std::pair<const QString*, const QString*>> tables, QString& error)
    {
        for (const auto& [count, close] : tables) {
            bool ok = true;
            m_sum.closedRows += CountRows(m_db, *count, m_opt.areaId, ok, error);
            if (!ok)
                return false;
            const SqlOutcome out = m_db.Execute(*close, {SqlParam::Text(m_date), SqlParam::Text(m_opt.areaId)});
            if (!out.ok) {
                error = out.error;
                return false;
            }
        }
        return true;
    }

    Outcome RunSteps(std::initializer_list<Step> steps, QString& error)
    {
        if (m_db.GetDBType() == 13)
            m_db.Execute(RepositorySql::Sqlite::LargeCache, {}); // a speed-up only; its failure changes nothing
        if (!m_db.BeginTransaction()) {
            error = m_db.LastError();
            return Outcome::Failed;
        }
        CQrProgressWnd::Show(int(steps.size()), QStringLiteral("Termwise Import"), QStringLiteral("공통표준 가져오기"));
        for (const auto& [text, step] : steps) {
            CQrProgressWnd::SetMsg(QString::fromUtf8(text));
            const bool ok = (this->*step)(error);
            const bool cancelled = ok && CQrProgressWnd::IsCanceling();
            if (cancelled)
                error = QStringLiteral("가져오기를 취소했습니다. 아무것도 쓰지 않았습니다");
            if (!ok || !error.isEmpty()) {
                CQrProgressWnd::Hide();
                m_db.RollbackTransaction();
                return cancelled ? Outcome::Cancelled : Outcome::Failed;
            }
            CQrProgressWnd::StepIt();
        }
        CQrProgressWnd::Hide();
        if (!m_db.CommitTransaction()) {
            error = m_db.LastError();
            m_db.RollbackTransaction();
            return Outcome::Failed;
        }
        return Outcome::Imported;
    }

    void Problem(const QString& file, int row, const QString& reason) { m_sum.problems.push_back({file, row, reason}); }

    // The values a row of the edition is written with, joined as the area's stored ones are. A
    // class word's link counts by the class it names, not by which domain of it stands for it.
    QString WordSignature(const PublicStandardWord& w) const
    {
        QString classDomain;
        if (w.classWord && !w.domainClass.isEmpty() && w.domainClass != w.logical && m_classDomain.count(w.domainClass))
            classDomain = w.domainClass;
        return CAreaUpgrade::Signature({w.physical, w.fullName.isEmpty() ? w.physical : w.fullName,
                                        w.description.isEmpty() ? w.logical : w.description, YesOrEmpty(w.classWord),
                                        classDomain});
    }
    QString DomainTypeId(const PublicStandardDomain& d) const
    {
        return QrDatatype::GetLogicalDatatypeId(CAnalyzeSettings::Instance().ConvertToLogicalDataType(d.dataType));
    }
    static QString GroupName(const PublicStandardDomain& d) { return d.group.isEmpty() ? kDefaultGroup : d.group; }
    // The physical name of a key domain: its class word's abbreviation.
    static std::map<QString, QString> ClassPhysical(const std::vector<StoredWord>& words)
    {
        std::map<QString, QString> out;
        for (const StoredWord& s : words)
            if (s.classWord || !out.count(s.logical))
                out[s.logical] = s.physical;
        return out;
    }

    // Bringing the area to this edition: which earlier row each row continues, decided before
    // anything is written, since a changed row is closed before it is written again.
    bool Plan(QString& error)
    {
        if (!m_upgrade.Load(m_db, m_opt.areaId, m_std, error))
            return false;
        std::vector<StoredWord> words;
        for (const PublicStandardWord& w : m_std.words)
            words.push_back({{}, w.logical, w.physical, {}, w.classWord});
        const std::map<QString, QString> classPhysical = ClassPhysical(words);
        for (const PublicStandardDomain& d : m_std.domains) {
            if (m_domainIds.count(d.name)) {
                m_domainPlan.push_back({{}, false});
                continue;
            }
            const auto phy = classPhysical.find(d.keyDomain);
            const CAreaUpgrade::Prior* prior =
                m_upgrade.Match(CAreaUpgrade::Domains, d.name,
                                CAreaUpgrade::Signature({d.keyDomain, DomainTypeId(d), d.length, d.scale, GroupName(d),
                                                         phy == classPhysical.end() ? QString() : phy->second}));
            const QString id = prior ? prior->id : CQrGlobalUtil::GenerateUID();
            m_domainIds[d.name] = id;
            m_classDomain.try_emplace(d.keyDomain, id);
            m_domainPlan.push_back({id, !prior || prior->changed});
        }
        std::set<QString> wordNames;
        for (const PublicStandardWord& w : m_std.words) {
            const CAreaUpgrade::Prior* prior = wordNames.insert(w.logical).second
                                                   ? m_upgrade.Match(CAreaUpgrade::Words, w.logical, WordSignature(w))
                                                   : nullptr;
            m_wordPlan.push_back({prior ? prior->id : CQrGlobalUtil::GenerateUID(), !prior || prior->changed});
            for (const QStringList* names : {&w.synonyms, &w.forbidden})
                for (const QString& name : *names)
                    m_upgrade.Match(CAreaUpgrade::NonStandard, name + QChar(0x1F) + w.physical,
                                    (names == &w.synonyms ? StandardTexts::kSynonymDescription
                                                          : StandardTexts::kForbiddenDescription)
                                        .arg(w.logical));
        }
        std::set<QString> termNames;
        for (const PublicStandardTerm& t : m_std.terms) {
            const QString domain = m_domainIds.count(t.domainName) ? t.domainName : QString();
            const CAreaUpgrade::Prior* prior =
                termNames.insert(t.logical).second
                    ? m_upgrade.Match(CAreaUpgrade::Terms, t.logical,
                                      CAreaUpgrade::Signature(
                                          {t.physical, t.description.isEmpty() ? t.logical : t.description, domain}))
                    : nullptr;
            m_termPlan.push_back({prior ? prior->id : CQrGlobalUtil::GenerateUID(), !prior || prior->changed});
        }
        return true;
    }

    bool ClosePlanned(QString& error)
    {
        const auto close = [&](const QString& statement, const std::vector<QString>& ids) {
            for (const QString& id : ids) {
                const SqlOutcome out =
                    m_db.Execute(statement, {SqlParam::Text(m_date), SqlParam::Text(m_opt.areaId), SqlParam::Text(id)});
                if (!out.ok) {
                    error = out.error;
                    return false;
                }
                ++m_sum.closedRows;
            }
            return true;
        };
        const std::vector<QString> terms = m_upgrade.ToClose(CAreaUpgrade::Terms);
        if (!close(Sql::CloseDicRow, m_upgrade.ToClose(CAreaUpgrade::Words)) ||
            !close(Sql::CloseDicRow, m_upgrade.ToClose(CAreaUpgrade::NonStandard)) ||
            !close(Sql::CloseDomainRow, m_upgrade.ToClose(CAreaUpgrade::Domains)) || !close(Sql::CloseDicRow, terms))
            return false;
        for (const QString& id : terms) {
            const SqlOutcome out = m_db.Execute(
                Sql::CloseTermCombinations, {SqlParam::Text(m_date), SqlParam::Text(m_opt.areaId), SqlParam::Text(id)});
            if (!out.ok) {
                error = out.error;
                return false;
            }
        }
        const auto counts = [&](CAreaUpgrade::Table t) {
            const CAreaUpgrade::Counts& c = m_upgrade.CountsOf(t);
            return EditionCounts{c.added, c.changed, c.unchanged, c.withdrawn, c.kept};
        };
        m_sum.upgrade = true;
        m_sum.wordChanges = counts(CAreaUpgrade::Words);
        m_sum.nonStandardChanges = counts(CAreaUpgrade::NonStandard);
        m_sum.domainChanges = counts(CAreaUpgrade::Domains);
        m_sum.termChanges = counts(CAreaUpgrade::Terms);
        return true;
    }

    bool CloseCurrent(QString& error)
    {
        return !m_opt.replace || CloseRows({{&Sql::CountCurrentDic, &Sql::CloseDic},
                                            {&Sql::CountCurrentDomains, &Sql::CloseDomains},
                                            {&Sql::CountCurrentDomainGroups, &Sql::CloseDomainGroups},
                                            {&Sql::CountCurrentCombinations, &Sql::CloseCombinations}},
                                           error);
    }

    bool Area(QString& error)
    {
        const SqlOutcome exists = m_db.Execute(Sql::ExistsArea, {SqlParam::Text(m_opt.areaId)});
        if (!exists.ok) {
            error = exists.error;
            return false;
        }
        SqlOutcome out;
        if (exists.rows.empty()) {
            const QString name = m_opt.areaName.isEmpty() ? m_opt.areaId : m_opt.areaName;
            out = m_db.Execute(Sql::InsertArea,
                               {SqlParam::Text(m_opt.areaId), SqlParam::Text(m_date), SqlParam::Text(name),
                                SqlParam::Long(StandardTexts::kDefaultAreaDescription), SqlParam::Null()});
        } else if (!m_opt.areaName.isEmpty()) {
            out = m_db.Execute(Sql::RenameArea, {SqlParam::Text(m_opt.areaName), SqlParam::Text(m_opt.areaId)});
        } else {
            return true;
        }
        if (!out.ok)
            error = out.error;
        return out.ok;
    }

    // Domain ids are drawn before the words are written, so a class word can name a domain of
    // its domain class; the first domain of each class in the edition's order stands for it.
    void DrawDomainIds()
    {
        if (m_upgrading)
            return; // the plan drew them, reusing the area's
        for (const PublicStandardDomain& d : m_std.domains) {
            if (m_domainIds.count(d.name))
                continue;
            m_domainIds[d.name] = CQrGlobalUtil::GenerateUID();
            m_classDomain.try_emplace(d.keyDomain, m_domainIds[d.name]);
        }
    }

    bool Words(QString& error)
    {
        DrawDomainIds();
        BatchInsert insert(m_db, Sql::InsertWordHead, Sql::InsertWordRow, 10, m_opt.rowsPerStatement);
        std::set<std::pair<QString, QString>> taken; // (logical, physical)
        std::set<QString> standardLogical;
        m_words.reserve(m_std.words.size());
        for (size_t i = 0; i < m_std.words.size(); ++i) {
            const PublicStandardWord& w = m_std.words[i];
            if (!taken.insert({w.logical, w.physical}).second) {
                Problem(w.file, w.row, StandardTexts::Problem::kWordTwice.arg(w.logical, w.physical));
                continue;
            }
            standardLogical.insert(w.logical);
            const bool planned = i < m_wordPlan.size();
            m_words.push_back({planned ? m_wordPlan[i].id : CQrGlobalUtil::GenerateUID(), w.logical, w.physical,
                               w.fullName.isEmpty() ? w.physical : w.fullName, w.classWord});
            if (planned && !m_wordPlan[i].write) {
                ++m_sum.words;
                continue; // the area holds it unchanged
            }
            const StoredWord& s = m_words.back();
            const QString description = w.description.isEmpty() ? w.logical : w.description;
            QString classDomain;
            if (s.classWord && !w.domainClass.isEmpty() && w.domainClass != w.logical) {
                auto it = m_classDomain.find(w.domainClass);
                if (it != m_classDomain.end())
                    classDomain = it->second;
            }
            if (!insert.Add({SqlParam::Text(m_opt.areaId), SqlParam::Text(s.id), SqlParam::Text(m_date),
                             SqlParam::Text(s.logical), SqlParam::Text(s.physical), SqlParam::Text(s.fullName),
                             SqlParam::Long(description), SqlParam::Text(YesOrEmpty(s.classWord)),
                             SqlParam::Text(QStringLiteral("Y")),
                             classDomain.isEmpty() ? SqlParam::Null() : SqlParam::Text(classDomain)},
                            error, {w.file, w.row, {}}))
                return false;
            ++m_sum.words;
        }
        // Synonyms and forbidden words after every standard word, so one that is itself a
        // standard word is told apart whatever the row order.
        for (const PublicStandardWord& w : m_std.words) {
            const auto nonStandard = [&](const QStringList& names, const QString& format) {
                for (const QString& name : names) {
                    if (standardLogical.count(name)) {
                        Problem(w.file, w.row, StandardTexts::Problem::kNonStandardIsStandard.arg(name, w.logical));
                        continue;
                    }
                    if (!taken.insert({name, w.physical}).second)
                        continue; // the same name listed again under this abbreviation
                    if (m_upgrade.Holds(CAreaUpgrade::NonStandard, name + QChar(0x1F) + w.physical)) {
                        ++m_sum.nonStandardWords;
                        continue;
                    }
                    if (!insert.Add({SqlParam::Text(m_opt.areaId), SqlParam::Text(CQrGlobalUtil::GenerateUID()),
                                     SqlParam::Text(m_date), SqlParam::Text(name), SqlParam::Text(w.physical),
                                     SqlParam::Text(w.fullName.isEmpty() ? w.physical : w.fullName),
                                     SqlParam::Long(format.arg(w.logical)), SqlParam::Text(QString()),
                                     SqlParam::Text(QString()), SqlParam::Null()},
                                    error, {w.file, w.row, {}}))
                        return false;
                    ++m_sum.nonStandardWords;
                }
                return true;
            };
            if (!nonStandard(w.synonyms, StandardTexts::kSynonymDescription) ||
                !nonStandard(w.forbidden, StandardTexts::kForbiddenDescription))
                return false;
        }
        for (const StoredWord& s : m_words)
            m_matcher.Add(s);
        return insert.Flush(error);
    }

    bool Domains(QString& error)
    {
        // The physical name of a key domain: its class word's abbreviation.
        std::map<QString, QString> classPhysical;
        for (const StoredWord& s : m_words)
            if (s.classWord || !classPhysical.count(s.logical))
                classPhysical[s.logical] = s.physical;

        BatchInsert groups(m_db, Sql::InsertDomainGroupHead, Sql::InsertDomainGroupRow, 5, m_opt.rowsPerStatement);
        std::map<QString, QString> groupIds = m_upgrade.GroupIds(); // an area's groups stay
        for (const PublicStandardDomain& d : m_std.domains) {
            const QString group = d.group.isEmpty() ? kDefaultGroup : d.group;
            if (groupIds.count(group))
                continue;
            const QString id = CQrGlobalUtil::GenerateUID();
            groupIds[group] = id;
            if (!groups.Add({SqlParam::Text(m_opt.areaId), SqlParam::Text(id), SqlParam::Text(m_date),
                             SqlParam::Text(group), SqlParam::Long(group)},
                            error, {d.file, d.row, {}}))
                return false;
            ++m_sum.domainGroups;
        }
        if (!groups.Flush(error))
            return false;

        const CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
        BatchInsert insert(m_db, Sql::InsertDomainHead, Sql::InsertDomainRow, 10, m_opt.rowsPerStatement);
        std::set<QString> written;
        for (size_t i = 0; i < m_std.domains.size(); ++i) {
            const PublicStandardDomain& d = m_std.domains[i];
            if (!written.insert(d.name).second) {
                Problem(d.file, d.row, StandardTexts::Problem::kDomainTwice.arg(d.name));
                continue;
            }
            if (i < m_domainPlan.size() && !m_domainPlan[i].write) {
                ++m_sum.domains;
                continue;
            }
            const QString logicalType = settings.ConvertToLogicalDataType(d.dataType);
            const QString typeId = QrDatatype::GetLogicalDatatypeId(logicalType);
            if (typeId.isEmpty())
                Problem(d.file, d.row, StandardTexts::Problem::kUnknownDataType.arg(d.name, d.dataType));
            const QString id = m_domainIds[d.name];
            const auto phy = classPhysical.find(d.keyDomain);
            if (!insert.Add({SqlParam::Text(m_opt.areaId), SqlParam::Text(id), SqlParam::Text(m_date),
                             SqlParam::Text(d.keyDomain), SqlParam::Text(d.name), SqlParam::Text(typeId),
                             SqlParam::Text(d.length), SqlParam::Text(d.scale),
                             SqlParam::Text(groupIds[d.group.isEmpty() ? kDefaultGroup : d.group]),
                             SqlParam::Text(phy == classPhysical.end() ? QString() : phy->second)},
                            error, {d.file, d.row, {}}))
                return false;
            ++m_sum.domains;
        }
        return insert.Flush(error);
    }

    bool Terms(QString& error)
    {
        BatchInsert terms(m_db, Sql::InsertTermHead, Sql::InsertTermRow, 9, m_opt.rowsPerStatement);
        BatchInsert combis(m_db, Sql::InsertCombinationHead, Sql::InsertCombinationRow, 5, m_opt.rowsPerStatement);
        std::set<std::pair<QString, QString>> taken;
        for (size_t i = 0; i < m_std.terms.size(); ++i) {
            const PublicStandardTerm& t = m_std.terms[i];
            if (!taken.insert({t.logical, t.physical}).second) {
                Problem(t.file, t.row, StandardTexts::Problem::kTermTwice.arg(t.logical, t.physical));
                continue;
            }
            const bool planned = i < m_termPlan.size();
            if (planned && !m_termPlan[i].write) {
                ++m_sum.terms;
                continue;
            }
            QString domainId;
            if (!t.domainName.isEmpty()) {
                auto it = m_domainIds.find(t.domainName);
                if (it == m_domainIds.end())
                    Problem(t.file, t.row, StandardTexts::Problem::kTermDomainMissing.arg(t.logical, t.domainName));
                else
                    domainId = it->second;
            }
            QStringList unmatched;
            const std::vector<const StoredWord*> words = m_matcher.Match(t.logical, t.physical, unmatched);
            if (!unmatched.isEmpty())
                Problem(t.file, t.row,
                        StandardTexts::Problem::kTermWordMissing.arg(t.logical, unmatched.join(QStringLiteral(", "))));
            QStringList fullNames;
            for (const StoredWord* w : words)
                fullNames << (w ? w->fullName : QStringLiteral("?"));
            const QString id = planned ? m_termPlan[i].id : CQrGlobalUtil::GenerateUID();
            if (!terms.Add({SqlParam::Text(m_opt.areaId), SqlParam::Text(id), SqlParam::Text(m_date),
                            SqlParam::Text(t.logical), SqlParam::Text(t.physical),
                            SqlParam::Text(fullNames.join(u'_'), 1000),
                            SqlParam::Long(t.description.isEmpty() ? t.logical : t.description),
                            SqlParam::Long(domainId), SqlParam::Text(YesOrEmpty(!domainId.isEmpty()))},
                           error, {t.file, t.row, {}}))
                return false;
            ++m_sum.terms;
            // Numbered by the part's place, so a part without a word leaves its gap visible.
            for (size_t i = 0; i < words.size(); ++i) {
                if (!words[i])
                    continue;
                if (!combis.Add({SqlParam::Text(m_opt.areaId), SqlParam::Text(id), SqlParam::Integer(qint64(i) + 1),
                                 SqlParam::Text(words[i]->id), SqlParam::Text(m_date)},
                                error, {t.file, t.row, {}}))
                    return false;
                ++m_sum.combinations;
            }
        }
        if (!terms.Flush(error) || !combis.Flush(error))
            return false;
        // A term's synonyms as non-standard term rows that name their term: a check reports a
        // column named so and proposes the term. One that is a term itself stays the term.
        std::set<QString> termNames, synonyms;
        if (m_upgrading) {
            const SqlOutcome closed =
                m_db.Execute(Sql::CloseTermSynonyms, {SqlParam::Text(m_date), SqlParam::Text(m_opt.areaId),
                                                      SqlParam::Text(StandardTexts::kTermSynonymPattern)});
            if (!closed.ok) {
                error = closed.error;
                return false;
            }
        }
        for (const PublicStandardTerm& t : m_std.terms)
            termNames.insert(t.logical);
        BatchInsert rows(m_db, Sql::InsertTermHead, Sql::InsertTermSynonymRow, 9, m_opt.rowsPerStatement);
        for (const PublicStandardTerm& t : m_std.terms)
            for (const QString& synonym : t.synonyms) {
                if (termNames.count(synonym) || !synonyms.insert(synonym).second)
                    continue;
                if (!rows.Add({SqlParam::Text(m_opt.areaId), SqlParam::Text(CQrGlobalUtil::GenerateUID()),
                               SqlParam::Text(m_date), SqlParam::Text(synonym), SqlParam::Text(t.physical),
                               SqlParam::Text(QString(), 1000),
                               SqlParam::Long(StandardTexts::kTermSynonymDescription.arg(t.logical)),
                               SqlParam::Long(QString()), SqlParam::Text(QString())},
                              error, {t.file, t.row, {}}))
                    return false;
            }
        return rows.Flush(error);
    }

    ISqlExecutor& m_db;
    CSqlBaseGate& m_gate;
    const PublicStandard& m_std;
    const AreaOptions& m_opt;
    StandardImportSummary& m_sum;
    QString m_date;
    std::vector<StoredWord> m_words; // reserved up front: the matcher points into it
    CombinationMatcher m_matcher;
    std::map<QString, QString> m_domainIds;   // DOM_NM -> DOM_ID
    std::map<QString, QString> m_classDomain; // domain class (KEY_DOM_NM) -> its first DOM_ID
    // Bringing an area to a new edition: the id each row of the edition is written under, and
    // whether it is written at all (an unchanged row stays as it is).
    struct Decision
    {
        QString id;
        bool write = true;
    };
    bool m_upgrading = false;
    CAreaUpgrade m_upgrade;
    std::vector<Decision> m_wordPlan, m_domainPlan, m_termPlan;
};

} // namespace

Outcome ImportIntoRepository(ISqlExecutor& database, CSqlBaseGate& gate, const PublicStandard& standard,
                             const AreaOptions& options, StandardImportSummary& summary, QString& error)
{
    summary = StandardImportSummary();
    summary.problems = standard.problems;
    if (options.areaId.trimmed().isEmpty()) {
        error = QStringLiteral("표준 분류체계가 주어지지 않았습니다");
        return Outcome::Failed;
    }
    RepositoryImport run(database, gate, standard, options, summary);
    const Outcome outcome = run.Run(error);
    if (outcome != Outcome::Imported) {
        const auto problems = std::move(summary.problems);
        summary = StandardImportSummary();
        summary.problems = problems;
    }
    return outcome;
}

void ImportIntoDictionary(CAnalyzeSettings& settings, const PublicStandard& standard, StandardImportSummary& summary)
{
    summary = StandardImportSummary();
    summary.problems = standard.problems;
    // Key domain (the published domain class) -> the class words the analyses key it by: the
    // class word of that name, and every class word whose domain class it is (일자 -> 연월일).
    std::map<QString, std::set<QString>> classWordsOfKey;
    std::set<QString> standardLogical;
    for (const PublicStandardWord& w : standard.words) {
        _stAnalyzeManageWord word;
        word.strPhyFullName = w.fullName;
        word.strDescription = w.description;
        word.nClassWord = w.classWord ? 1 : 0;
        word.nStandard = 1;
        settings.AddWord(w.physical, w.logical, word);
        standardLogical.insert(w.logical);
        ++summary.words;
        if (w.classWord) {
            classWordsOfKey[w.logical].insert(w.logical);
            if (!w.domainClass.isEmpty())
                classWordsOfKey[w.domainClass].insert(w.logical);
        }
    }
    for (const PublicStandardWord& w : standard.words) {
        const auto nonStandard = [&](const QStringList& names, const QString& format) {
            for (const QString& name : names) {
                if (standardLogical.count(name)) {
                    summary.problems.push_back(
                        {w.file, w.row, StandardTexts::Problem::kNonStandardIsStandard.arg(name, w.logical)});
                    continue;
                }
                _stAnalyzeManageWord word;
                word.strPhyFullName = w.fullName;
                word.strDescription = format.arg(w.logical);
                word.nStandard = 0;
                settings.AddWord(w.physical, name, word);
                ++summary.nonStandardWords;
            }
        };
        nonStandard(w.synonyms, StandardTexts::kSynonymDescription);
        nonStandard(w.forbidden, StandardTexts::kForbiddenDescription);
    }
    std::set<QString> taken;
    for (const PublicStandardDomain& d : standard.domains) {
        if (!taken.insert(d.name).second) {
            summary.problems.push_back({d.file, d.row, StandardTexts::Problem::kDomainTwice.arg(d.name)});
            continue;
        }
        auto keys = classWordsOfKey.find(d.keyDomain);
        if (keys == classWordsOfKey.end()) {
            summary.problems.push_back({d.file, d.row, StandardTexts::Problem::kNoClassWord.arg(d.name, d.keyDomain)});
            continue;
        }
        _stAnalyzeManageDomain domain;
        domain.strDataType = settings.ConvertToLogicalDataType(d.dataType);
        domain.strLength = d.length;
        domain.strScale = d.scale;
        for (const QString& classWord : keys->second)
            settings.AddDomain(classWord, d.name, domain);
        ++summary.domains;
    }
}

} // namespace StandardImport
