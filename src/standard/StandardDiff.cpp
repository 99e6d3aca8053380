#include "standard/StandardDiff.h"

#include "components/AtomicFile.h"
#include "components/Platform.h"
#include "components/QrDatatype.h"
#include "repository/RepositorySql.h"
#include "repository/SqlExecutor.h"
#include "standard/StandardTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <QUuid>
#include <cerrno>
#include <map>
#include <set>
#include <xlsxwriter.h>

namespace StandardDiff {
namespace {

namespace Sql = RepositorySql::Standard;

const QString kName = QStringLiteral("이름");
const QString kAbbreviation = QStringLiteral("약어");
const QString kClassWord = QStringLiteral("분류어 여부");
const QString kDomainClass = QStringLiteral("도메인 분류");
const QString kSynonyms = QStringLiteral("이음동의어");
const QString kForbidden = QStringLiteral("금칙어");
const QString kGroup = QStringLiteral("도메인 그룹");
const QString kDataType = QStringLiteral("데이터타입");
const QString kLength = QStringLiteral("길이");
const QString kScale = QStringLiteral("소수점 길이");
const QString kDomain = QStringLiteral("도메인");

// One compared row: its name, abbreviation (or domain class), the fields compared, and what
// a renamed row is found by.
struct Row
{
    QString name, physical;
    std::vector<std::pair<QString, QString>> fields; // caption, value
    QStringList synonyms;                            // names it was also known by
    bool reenacted = false;                          // "(폐기후제정)" in its edition
    QString domain;                                  // terms: to pair a re-enacted row
};

QString Yes(bool b)
{
    return b ? QStringLiteral("Y") : QStringLiteral("N");
}

QString List(QStringList items)
{
    items.sort();
    return items.join(QStringLiteral(", "));
}

bool Reenacted(const QString& enactment)
{
    QString key = enactment;
    key.remove(u' ');
    key.remove(u'\n');
    return key.contains(QStringLiteral("폐기후제정"));
}

// The domain class a word stands for: a class word's own name when the edition names none.
QString DomainClassOf(const PublicStandardWord& w)
{
    if (!w.classWord)
        return {};
    return w.domainClass.isEmpty() ? w.logical : w.domainClass;
}

std::vector<Row> Rows(const PublicStandard& s, Kind kind)
{
    std::vector<Row> rows;
    switch (kind) {
    case Kind::Word:
        for (const PublicStandardWord& w : s.words)
            rows.push_back({w.logical,
                            w.physical,
                            {{kAbbreviation, w.physical},
                             {kClassWord, Yes(w.classWord)},
                             {kDomainClass, DomainClassOf(w)},
                             {kSynonyms, List(w.synonyms)},
                             {kForbidden, List(w.forbidden)}},
                            {},
                            Reenacted(w.enactment),
                            {}});
        break;
    case Kind::Domain:
        for (const PublicStandardDomain& d : s.domains)
            rows.push_back({d.name,
                            d.keyDomain,
                            {{kDomainClass, d.keyDomain},
                             {kGroup, d.group},
                             {kDataType, d.dataType.toUpper()},
                             {kLength, d.length},
                             {kScale, d.scale}},
                            {},
                            Reenacted(d.enactment),
                            {}});
        break;
    case Kind::Term:
        for (const PublicStandardTerm& t : s.terms)
            rows.push_back({t.logical,
                            t.physical,
                            {{kAbbreviation, t.physical}, {kDomain, t.domainName}},
                            t.synonyms,
                            Reenacted(t.enactment),
                            t.domainName});
        break;
    }
    return rows;
}

std::set<QString> WithdrawnNames(const PublicStandard& s, Kind kind)
{
    std::set<QString> names;
    if (kind == Kind::Word)
        for (const auto& w : s.withdrawnWords)
            names.insert(w.logical);
    else if (kind == Kind::Domain)
        for (const auto& d : s.withdrawnDomains)
            names.insert(d.name);
    else
        for (const auto& t : s.withdrawnTerms)
            names.insert(t.logical);
    return names;
}

QString FirstPart(const QString& physical)
{
    return physical.section(u'_', 0, 0);
}

KindDiff CompareKind(const PublicStandard& before, const PublicStandard& after, Kind kind)
{
    const std::vector<Row> oldRows = Rows(before, kind), newRows = Rows(after, kind);
    std::map<QString, size_t> newByName;
    for (size_t i = 0; i < newRows.size(); ++i)
        newByName.try_emplace(newRows[i].name, i);
    std::vector<int> pairOfOld(oldRows.size(), -1);
    std::vector<bool> newTaken(newRows.size(), false);
    for (size_t i = 0; i < oldRows.size(); ++i)
        if (auto it = newByName.find(oldRows[i].name); it != newByName.end() && !newTaken[it->second]) {
            pairOfOld[i] = int(it->second);
            newTaken[it->second] = true;
        }
    // Renamed rows, in the order of how surely the new edition says so.
    const std::set<QString> listedWithdrawn = WithdrawnNames(after, kind);
    const auto pairBy = [&](auto&& same) {
        for (size_t i = 0; i < oldRows.size(); ++i) {
            if (pairOfOld[i] >= 0)
                continue;
            int found = -1, count = 0;
            for (size_t j = 0; j < newRows.size(); ++j)
                if (!newTaken[j] && same(oldRows[i], newRows[j])) {
                    found = int(j);
                    ++count;
                }
            if (count == 1) {
                pairOfOld[i] = found;
                newTaken[size_t(found)] = true;
            }
        }
    };
    pairBy([](const Row& o, const Row& n) { return n.synonyms.contains(o.name); });
    if (kind != Kind::Domain) {
        pairBy([](const Row& o, const Row& n) { return !o.physical.isEmpty() && o.physical == n.physical; });
        pairBy([&](const Row& o, const Row& n) {
            return n.reenacted && listedWithdrawn.count(o.name) && o.domain == n.domain &&
                   FirstPart(o.physical) == FirstPart(n.physical);
        });
    }

    KindDiff diff;
    for (size_t i = 0; i < oldRows.size(); ++i) {
        const Row& o = oldRows[i];
        if (pairOfOld[i] < 0) {
            diff.withdrawn.push_back({o.name, {}, o.physical, {}});
            continue;
        }
        const Row& n = newRows[size_t(pairOfOld[i])];
        Entry e{n.name, o.name == n.name ? QString() : o.name, n.physical, {}};
        if (!e.oldName.isEmpty())
            e.changes.push_back({kName, o.name, n.name});
        for (size_t f = 0; f < o.fields.size() && f < n.fields.size(); ++f)
            if (o.fields[f].second != n.fields[f].second)
                e.changes.push_back({o.fields[f].first, o.fields[f].second, n.fields[f].second});
        if (!e.changes.empty())
            diff.changed.push_back(std::move(e));
    }
    for (size_t j = 0; j < newRows.size(); ++j)
        if (!newTaken[j])
            diff.added.push_back({newRows[j].name, {}, newRows[j].physical, {}});
    return diff;
}

const QString kAdded = QStringLiteral("추가");
const QString kWithdrawn = QStringLiteral("폐기");
const QString kChanged = QStringLiteral("변경");

QJsonArray EntriesJson(const std::vector<Entry>& entries)
{
    QJsonArray out;
    for (const Entry& e : entries) {
        QJsonObject o{{QStringLiteral("name"), e.name}, {QStringLiteral("abbreviation"), e.physical}};
        if (!e.oldName.isEmpty())
            o.insert(QStringLiteral("oldName"), e.oldName);
        if (!e.changes.empty()) {
            QJsonArray changes;
            for (const Change& c : e.changes)
                changes.append(QJsonObject{{QStringLiteral("field"), c.field},
                                           {QStringLiteral("before"), c.before},
                                           {QStringLiteral("after"), c.after}});
            o.insert(QStringLiteral("changes"), changes);
        }
        out.append(o);
    }
    return out;
}

const char* JsonKey(Kind k)
{
    return k == Kind::Word ? "words" : k == Kind::Domain ? "domains" : "terms";
}

} // namespace

QString KindCaption(Kind k)
{
    return k == Kind::Word     ? QStringLiteral("단어")
           : k == Kind::Domain ? QStringLiteral("도메인")
                               : QStringLiteral("용어");
}

QString Describe(const Entry& e)
{
    QStringList parts;
    for (const Change& c : e.changes)
        parts << QStringLiteral("%1 %2 → %3")
                     .arg(c.field, c.before.isEmpty() ? QStringLiteral("(없음)") : c.before,
                          c.after.isEmpty() ? QStringLiteral("(없음)") : c.after);
    return parts.join(QStringLiteral("; "));
}

Result Compare(const PublicStandard& before, const PublicStandard& after)
{
    Result r;
    for (const Kind k : kKinds)
        r.kinds[size_t(k)] = CompareKind(before, after, k);
    return r;
}

bool ReadArea(ISqlExecutor& db, const QString& areaId, PublicStandard& out, QString& error)
{
    out = PublicStandard();
    const SqlParams area = {SqlParam::Text(areaId)};
    const SqlOutcome words = db.Execute(Sql::SelectAreaWords, area);
    const SqlOutcome domains = db.Execute(Sql::SelectAreaDomains, area);
    const SqlOutcome terms =
        db.Execute(Sql::SelectAreaTerms, {SqlParam::Text(areaId), SqlParam::Text(StandardTexts::kTermSynonymPattern)});
    for (const SqlOutcome* o : {&words, &domains, &terms})
        if (!o->ok) {
            error = o->error;
            return false;
        }
    const QString label = QStringLiteral("분류체계 %1").arg(areaId);
    std::map<QString, size_t> byLogical;
    std::vector<std::pair<QString, QString>> nonStandard; // name, description
    for (size_t i = 0; i < words.rows.size(); ++i) {
        if (words.rows.Value(i, 6) != QLatin1String("Y")) {
            nonStandard.emplace_back(words.rows.Value(i, 1), words.rows.Value(i, 4));
            continue;
        }
        PublicStandardWord w;
        w.file = label;
        w.logical = words.rows.Value(i, 1);
        w.physical = words.rows.Value(i, 2);
        w.fullName = words.rows.Value(i, 3);
        w.description = words.rows.Value(i, 4);
        w.classWord = words.rows.Value(i, 5) == QLatin1String("Y");
        w.domainClass = w.classWord ? words.rows.Value(i, 7) : QString();
        byLogical.try_emplace(w.logical, out.words.size());
        out.words.push_back(std::move(w));
    }
    // Synonyms and forbidden words went in under their standard word, named in the description.
    const QString synonymHead = StandardTexts::kSynonymDescription.section(u'%', 0, 0);
    const QString forbiddenHead = StandardTexts::kForbiddenDescription.section(u'%', 0, 0);
    for (const auto& [name, description] : nonStandard) {
        const bool synonym = description.startsWith(synonymHead);
        if (!synonym && !description.startsWith(forbiddenHead))
            continue;
        QString of = description.mid((synonym ? synonymHead : forbiddenHead).size());
        of.chop(1); // ")"
        if (auto it = byLogical.find(of); it != byLogical.end())
            (synonym ? out.words[it->second].synonyms : out.words[it->second].forbidden) << name;
    }
    for (size_t i = 0; i < domains.rows.size(); ++i) {
        PublicStandardDomain d;
        d.file = label;
        d.keyDomain = domains.rows.Value(i, 1);
        d.name = domains.rows.Value(i, 2);
        d.dataType = QrDatatype::GetLogicalDataTypeName(domains.rows.Value(i, 3));
        d.length = domains.rows.Value(i, 4);
        d.scale = domains.rows.Value(i, 5);
        d.group = domains.rows.Value(i, 6);
        out.domains.push_back(std::move(d));
    }
    for (size_t i = 0; i < terms.rows.size(); ++i) {
        PublicStandardTerm t;
        t.file = label;
        t.logical = terms.rows.Value(i, 1);
        t.physical = terms.rows.Value(i, 2);
        t.description = terms.rows.Value(i, 3);
        t.domainName = terms.rows.Value(i, 4);
        out.terms.push_back(std::move(t));
    }
    out.hasWords = out.hasDomains = out.hasTerms = true;
    return true;
}

void KeepEditionRows(PublicStandard& area, const PublicStandard& edition)
{
    std::set<std::pair<QString, QString>> words, terms;
    std::set<QString> wordNames, termNames, domains;
    for (const auto* list : {&edition.words, &edition.withdrawnWords})
        for (const PublicStandardWord& w : *list)
            words.insert({w.logical, w.physical});
    for (const auto* list : {&edition.terms, &edition.withdrawnTerms})
        for (const PublicStandardTerm& t : *list)
            terms.insert({t.logical, t.physical});
    for (const PublicStandardWord& w : edition.words)
        wordNames.insert(w.logical);
    for (const PublicStandardTerm& t : edition.terms)
        termNames.insert(t.logical);
    for (const auto* list : {&edition.domains, &edition.withdrawnDomains})
        for (const PublicStandardDomain& d : *list)
            domains.insert(d.name);
    std::erase_if(area.words, [&](const PublicStandardWord& w) {
        return !words.count({w.logical, w.physical}) && !wordNames.count(w.logical);
    });
    std::erase_if(area.terms, [&](const PublicStandardTerm& t) {
        return !terms.count({t.logical, t.physical}) && !termNames.count(t.logical);
    });
    std::erase_if(area.domains, [&](const PublicStandardDomain& d) { return !domains.count(d.name); });
}

QString SummaryText(const Result& result, int maxListed)
{
    QString text;
    QTextStream out(&text);
    out << "old: " << result.oldLabel << "\n"
        << "new: " << result.newLabel << "\n";
    for (const Kind k : kKinds) {
        const KindDiff& d = result.Of(k);
        out << JsonKey(k) << ": added " << d.added.size() << ", withdrawn " << d.withdrawn.size() << ", changed "
            << d.changed.size() << "\n";
    }
    for (const Kind k : kKinds) {
        const KindDiff& d = result.Of(k);
        int shown = 0;
        for (const Entry& e : d.withdrawn)
            if (shown++ < maxListed)
                out << "  " << KindCaption(k) << " " << kWithdrawn << ": " << e.name << " (" << e.physical << ")\n";
        for (const Entry& e : d.changed)
            if (shown++ < maxListed)
                out << "  " << KindCaption(k) << " " << kChanged << ": " << e.name << ": " << Describe(e) << "\n";
        if (shown > maxListed)
            out << "  ... " << KindCaption(k) << " " << (shown - maxListed) << "건 더\n";
    }
    return text;
}

bool WriteJson(const Result& result, const QString& path, QString& error)
{
    QJsonObject root{{QStringLiteral("old"), result.oldLabel}, {QStringLiteral("new"), result.newLabel}};
    for (const Kind k : kKinds) {
        const KindDiff& d = result.Of(k);
        root.insert(QLatin1String(JsonKey(k)), QJsonObject{{QStringLiteral("added"), EntriesJson(d.added)},
                                                           {QStringLiteral("withdrawn"), EntriesJson(d.withdrawn)},
                                                           {QStringLiteral("changed"), EntriesJson(d.changed)}});
    }
    CAtomicFile file(path);
    if (!file.Open()) {
        error = file.Error();
        return false;
    }
    file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    if (!file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}

bool WriteWorkbook(const Result& result, const QString& path, QString& error)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.dir().exists()) {
        error = QStringLiteral("폴더가 없습니다: %1").arg(info.absolutePath());
        return false;
    }
    const QString temp = info.absolutePath() + QStringLiteral("/.") + info.fileName() + u'.' +
                         QUuid::createUuid().toString(QUuid::Id128).left(8) + QStringLiteral(".tmp");
    const QByteArray tempName = QFile::encodeName(temp);
    lxw_workbook* wb = workbook_new(tempName.constData());
    if (!wb) {
        error = QStringLiteral("파일을 만들 수 없습니다: %1").arg(path);
        return false;
    }
    lxw_format* bold = workbook_add_format(wb);
    format_set_bold(bold);
    lxw_error err = LXW_NO_ERROR;
    const auto text = [&](lxw_worksheet* ws, int r, int c, const QString& s, lxw_format* f = nullptr) {
        if (err == LXW_NO_ERROR && !s.isEmpty())
            err = worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), s.left(32767).toUtf8().constData(), f);
    };
    const QStringList headers = {QStringLiteral("구분"),      kName,
                                 QStringLiteral("약어/분류"), QStringLiteral("바뀐 항목"),
                                 QStringLiteral("이전"),      QStringLiteral("이후")};
    for (const Kind k : kKinds) {
        const QByteArray name = KindCaption(k).toUtf8();
        lxw_worksheet* ws = workbook_add_worksheet(wb, name.constData());
        worksheet_set_column(ws, 1, 2, 28, nullptr);
        worksheet_set_column(ws, 3, 5, 24, nullptr);
        for (int c = 0; c < headers.size(); ++c)
            text(ws, 0, c, headers[c], bold);
        int row = 1;
        const KindDiff& d = result.Of(k);
        for (const auto& [state, entries] :
             {std::pair{kAdded, &d.added}, std::pair{kWithdrawn, &d.withdrawn}, std::pair{kChanged, &d.changed}}) {
            for (const Entry& e : *entries) {
                if (e.changes.empty()) {
                    text(ws, row, 0, state);
                    text(ws, row, 1, e.name);
                    text(ws, row, 2, e.physical);
                    ++row;
                }
                for (const Change& c : e.changes) {
                    text(ws, row, 0, state);
                    text(ws, row, 1, e.name);
                    text(ws, row, 2, e.physical);
                    text(ws, row, 3, c.field);
                    text(ws, row, 4, c.before);
                    text(ws, row, 5, c.after);
                    ++row;
                }
            }
        }
    }
    lxw_error closeErr = LXW_NO_ERROR;
    int closeErrno = 0;
    {
        Platform::QuietStderr quiet; // the library's own "[ERROR]" lines; the message below says it
        errno = 0;
        closeErr = workbook_close(wb);
        closeErrno = errno;
    }
    if (err == LXW_NO_ERROR)
        err = closeErr;
    if (err != LXW_NO_ERROR) {
        QFile::remove(temp);
        error =
            Platform::IsNoSpace(closeErrno)
                ? WriteFailureText(path, closeErrno)
                : QStringLiteral("%1: 통합 문서를 쓸 수 없습니다: %2").arg(path, QString::fromUtf8(lxw_strerror(err)));
        return false;
    }
    if (!Platform::ReplaceFile(temp, path)) {
        const int renameErrno = errno;
        QFile::remove(temp);
        error = WriteFailureText(path, renameErrno);
        return false;
    }
    return true;
}

} // namespace StandardDiff
