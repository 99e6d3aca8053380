// The public common standard at the size of a real edition (3,000 words of which 300 class
// words, 120 domains, 15,000 terms, generated in the published CSV layout): read and imported
// into SQLite and into PostgreSQL (TERMWISE_TEST_PG, as scripts/with-postgres sets it), against
// the straightforward load of one row per INSERT statement (on SQLite, 100-row statements
// against one row each, which the import keeps there); and a conformance report of
// 20,000 attributes against the imported area (term analysis, findings, workbook).
#include "analysis/TermAnalysis.h"
#include "diagnosis/Diagnosis.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"
#include "settings/AnalyzeSettings.h"
#include "standard/ConformanceCheck.h"
#include "standard/PublicStandardReader.h"
#include "standard/StandardImport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <set>

namespace {

constexpr int kWords = 3000, kClassWords = 300, kDomains = 120, kTerms = 15000, kAttributes = 20000;
const QString kArea = QStringLiteral("PUB");

QString Quote(const QString& cell)
{
    if (!cell.contains(u',') && !cell.contains(u'"') && !cell.contains(u'\n'))
        return cell;
    QString q = cell;
    q.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

void WriteCsv(const QString& path, const std::vector<QStringList>& rows)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    QString text;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (const QString& c : row)
            cells << Quote(c);
        text += cells.join(u',') + QStringLiteral("\r\n");
    }
    f.write("\xEF\xBB\xBF" + text.toUtf8());
}

struct Edition
{
    QTemporaryDir dir;
    QStringList files;
    QStringList standardWords, classWords, synonyms, forbiddenWords, terms;
    std::map<QString, QString> classDomainType; // class word -> "TYPE|len"

    Edition()
    {
        std::mt19937 random(11);
        const auto syllable = [&] { return QChar(0xAC00 + int(random() % 11172)); };
        std::set<QString> logical, physical;
        std::vector<QStringList> words = {{QStringLiteral("번호"), QStringLiteral("제정차수(제정연월)"),
                                           QStringLiteral("공통표준단어명"), QStringLiteral("공통표준단어영문약어명"),
                                           QStringLiteral("공통표준단어 영문명"), QStringLiteral("공통표준단어 설명"),
                                           QStringLiteral("형식단어 여부"), QStringLiteral("공통표준도메인분류명"),
                                           QStringLiteral("이음동의어 목록"), QStringLiteral("금칙어 목록")}};
        QStringList physicals;
        while (int(standardWords.size()) < kWords) {
            const QString name = QString(syllable()) + syllable();
            if (!logical.insert(name).second)
                continue;
            // One abbreviation in twenty is shared with an earlier word, as editions do.
            QString abbr;
            if (!physicals.isEmpty() && random() % 20 == 0) {
                abbr = physicals[int(random() % quint32(physicals.size()))];
            } else {
                do {
                    abbr.clear();
                    for (int i = 0; i < 2 + int(random() % 3); ++i)
                        abbr += QChar(u'A' + int(random() % 26));
                } while (!physical.insert(abbr).second);
                physicals << abbr;
            }
            const bool isClass = int(classWords.size()) < kClassWords && random() % 10 == 0;
            QString synonym, forbidden;
            if (random() % 10 == 0) {
                synonym = QString(syllable()) + syllable() + syllable();
                if (logical.insert(synonym).second)
                    synonyms << synonym;
                else
                    synonym.clear();
            }
            if (random() % 20 == 0) {
                forbidden = QString(syllable()) + syllable() + syllable();
                if (logical.insert(forbidden).second)
                    forbiddenWords << forbidden;
                else
                    forbidden.clear();
            }
            (isClass ? classWords : standardWords) << name;
            if (isClass)
                standardWords << name;
            words.push_back({QString::number(words.size()), QStringLiteral("1차"), name, abbr,
                             abbr + QStringLiteral(" Name"), name + QStringLiteral("의 설명, 예시"),
                             isClass ? QStringLiteral("Y") : QStringLiteral("N"), isClass ? name : QStringLiteral("-"),
                             synonym.isEmpty() ? QStringLiteral("-") : synonym,
                             forbidden.isEmpty() ? QStringLiteral("-") : forbidden});
        }
        std::map<QString, QString> abbreviation;
        for (size_t i = 1; i < words.size(); ++i)
            abbreviation[words[i][2]] = words[i][3];

        std::vector<QStringList> domains = {
            {QStringLiteral("번호"), QStringLiteral("제정차수(제정연월)"), QStringLiteral("공통표준도메인그룹명"),
             QStringLiteral("공통표준도메인분류명"), QStringLiteral("공통표준도메인명"),
             QStringLiteral("공통표준도메인설명"), QStringLiteral("데이터타입"), QStringLiteral("데이터길이"),
             QStringLiteral("데이터소수점길이"), QStringLiteral("저장 형식"), QStringLiteral("표현 형식"),
             QStringLiteral("단위"), QStringLiteral("허용값")}};
        const QStringList types = {QStringLiteral("VARCHAR"), QStringLiteral("NUMERIC"), QStringLiteral("CHAR")};
        std::map<QString, QString> domainOf;
        for (int i = 0; i < kDomains && i < classWords.size(); ++i) {
            const QString& key = classWords[i];
            const QString type = types[i % 3];
            const QString length = QString::number(10 * (1 + i % 10));
            const QString name = key + type.left(1) + length;
            domainOf[key] = name;
            classDomainType[key] = type + u'|' + length;
            domains.push_back({QString::number(i + 1), QStringLiteral("1차"), QStringLiteral("그룹%1").arg(i % 12), key,
                               name, key + QStringLiteral(" 도메인"), type, length, QStringLiteral("-"),
                               QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-")});
        }
        QStringList withDomain;
        for (const auto& [key, name] : domainOf)
            withDomain << key;

        std::vector<QStringList> termRows = {
            {QStringLiteral("번호"), QStringLiteral("제정차수(제정연월)"), QStringLiteral("공통표준용어명"),
             QStringLiteral("공통표준용어설명"), QStringLiteral("공통표준용어영문약어명"),
             QStringLiteral("공통표준도메인명"), QStringLiteral("허용값"), QStringLiteral("저장 형식"),
             QStringLiteral("표현 형식"), QStringLiteral("행정표준코드명"), QStringLiteral("소관기관명"),
             QStringLiteral("용어 이음동의어 목록")}};
        std::set<QString> seen;
        while (int(terms.size()) < kTerms) {
            QString name, abbr;
            for (int i = 0; i < 1 + int(random() % 3); ++i) {
                const QString& w = standardWords[int(random() % quint32(standardWords.size()))];
                name += w;
                abbr += abbreviation[w] + u'_';
            }
            const QString& last = withDomain[int(random() % quint32(withDomain.size()))];
            name += last;
            abbr += abbreviation[last];
            if (!seen.insert(name).second)
                continue;
            terms << name;
            termRows.push_back({QString::number(terms.size()), QStringLiteral("1차"), name,
                                name + QStringLiteral(" 설명"), abbr, domainOf[last], QStringLiteral("-"),
                                QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
                                QStringLiteral("행정안전부"), QStringLiteral("-")});
        }
        files = {dir.filePath(QStringLiteral("words.csv")), dir.filePath(QStringLiteral("domains.csv")),
                 dir.filePath(QStringLiteral("terms.csv"))};
        WriteCsv(files[0], words);
        WriteCsv(files[1], domains);
        WriteCsv(files[2], termRows);
    }
};

Edition& TheEdition()
{
    static Edition edition;
    return edition;
}

// A repository with the schema and no rows of the area.
bool PrepareRepository(const QString& uri, QString& error)
{
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    RepositoryInitSummary summary;
    if (!connection.Open(uri, &error, true) || !CreateRepositorySchema(*connection.Database(), summary, error))
        return false;
    connection.OnRepositoryConnected();
    for (const char* table : {"STD_DIC", "STD_DOM", "STD_DOM_GRP", "STD_WORD_COMBI", "STD_AREA"})
        connection.Database()->Execute(QStringLiteral("DELETE FROM %1 WHERE STD_AREA_ID = ?").arg(QLatin1String(table)),
                                       {SqlParam::Text(kArea)});
    return true;
}

void RunImport(benchmark::State& state, const QString& uri, int rowsPerStatement)
{
    Edition& edition = TheEdition();
    StandardImportSummary summary;
    for (auto _ : state) {
        state.PauseTiming();
        QString error;
        if (!PrepareRepository(uri, error)) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
        state.ResumeTiming();
        PublicStandard standard;
        if (!PublicStandardReader::Read(edition.files, standard, error)) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
        CRepositoryConnection& connection = CRepositoryConnection::Instance();
        const auto outcome =
            StandardImport::ImportIntoRepository(*connection.Database(), *connection.OpenGate(), standard,
                                                 {kArea, {}, false, rowsPerStatement}, summary, error);
        if (outcome != StandardImport::Outcome::Imported) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
    }
    state.counters["words"] = summary.words;
    state.counters["non_standard"] = summary.nonStandardWords;
    state.counters["domains"] = summary.domains;
    state.counters["terms"] = summary.terms;
    state.counters["combinations"] = summary.combinations;
    state.counters["problems"] = double(summary.problems.size());
}

QTemporaryDir& SqliteDir()
{
    static QTemporaryDir dir;
    return dir;
}

void BM_ImportSqlite(benchmark::State& state)
{
    RunImport(state, QStringLiteral("sqlite:") + SqliteDir().filePath(QStringLiteral("standard.db")), 0);
}
BENCHMARK(BM_ImportSqlite)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ImportSqliteBatched100(benchmark::State& state)
{
    RunImport(state, QStringLiteral("sqlite:") + SqliteDir().filePath(QStringLiteral("standard.db")), 100);
}
BENCHMARK(BM_ImportSqliteBatched100)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ImportPostgresql(benchmark::State& state)
{
    const QString uri = qEnvironmentVariable("TERMWISE_TEST_PG");
    if (uri.isEmpty()) {
        state.SkipWithError("TERMWISE_TEST_PG not set: run through scripts/with-postgres");
        return;
    }
    RunImport(state, uri, 0);
}
BENCHMARK(BM_ImportPostgresql)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ImportPostgresqlReferenceRowByRow(benchmark::State& state)
{
    const QString uri = qEnvironmentVariable("TERMWISE_TEST_PG");
    if (uri.isEmpty()) {
        state.SkipWithError("TERMWISE_TEST_PG not set: run through scripts/with-postgres");
        return;
    }
    RunImport(state, uri, 1);
}
BENCHMARK(BM_ImportPostgresqlReferenceRowByRow)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// 20,000 attributes: registered terms (some typed unlike their domain), new names of standard
// words ending in a class word or not, and names with a synonym or forbidden word and an
// unknown run.
void BM_Conformance20000(benchmark::State& state)
{
    Edition& edition = TheEdition();
    QString error;
    StandardImportSummary summary;
    PublicStandard standard;
    if (!PrepareRepository(QStringLiteral("sqlite:") + SqliteDir().filePath(QStringLiteral("check.db")), error) ||
        !PublicStandardReader::Read(edition.files, standard, error) ||
        StandardImport::ImportIntoRepository(
            *CRepositoryConnection::Instance().Database(), *CRepositoryConnection::Instance().OpenGate(), standard,
            {kArea, {}, false, 0}, summary, error) != StandardImport::Outcome::Imported) {
        state.SkipWithError(error.toLocal8Bit().constData());
        return;
    }
    std::mt19937 random(5);
    const auto pick = [&](const QStringList& list) { return list[int(random() % quint32(list.size()))]; };
    std::vector<TermAnalysisTarget> targets;
    std::set<QString> seen;
    QStringList keys;
    for (const auto& [key, type] : edition.classDomainType)
        keys << key;
    while (int(targets.size()) < kAttributes) {
        const quint32 kind = random() % 10;
        QString name;
        if (kind < 6)
            name = pick(edition.terms);
        else if (kind < 8)
            name = pick(edition.standardWords) + pick(keys);
        else if (kind < 9)
            name = pick(random() % 2 ? edition.synonyms : edition.forbiddenWords) + QStringLiteral("가나") + pick(keys);
        else
            name = pick(edition.standardWords) + pick(edition.standardWords);
        if (seen.count(name))
            name += pick(keys);
        if (!seen.insert(name).second)
            continue;
        TermAnalysisTarget t;
        t.strName = name;
        QString type = QStringLiteral("VARCHAR|20");
        for (const QString& key : keys)
            if (name.endsWith(key) && random() % 10 < 8) {
                type = edition.classDomainType[key];
                break;
            }
        t.strType = type.section(u'|', 0, 0);
        t.strLength = type.section(u'|', 1, 1);
        t.strDisplayType = t.strType + u'(' + t.strLength + u')';
        targets.push_back(t);
    }
    const QString report = SqliteDir().filePath(QStringLiteral("report.xlsx"));
    ConformanceReport result;
    int registered = 0;
    for (auto _ : state) {
        CTermAnalysis term;
        term.SetAreaId(kArea);
        term.SetTargets(targets);
        term.Analyze();
        if (!Diagnosis::BuildForAnalysis(term, nullptr, result, error)) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
        registered = 0;
        for (const TermTargetResult& r : term.Results())
            registered += r.registered;
        if (!Conformance::WriteWorkbook(result, report, &error)) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
    }
    state.counters["columns"] = result.columns;
    state.counters["conforming"] = result.conforming;
    state.counters["registered"] = registered;
    for (int k = 0; k < eFindingCount; ++k)
        state.counters[Conformance::FindingKey(k).toStdString()] = result.concerned[size_t(k)];
}
BENCHMARK(BM_Conformance20000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    benchmark::Shutdown();
    return 0;
}
