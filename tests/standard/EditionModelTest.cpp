// A model of our own against rows of the published edition (tests/data/standard-edition),
// loaded with `standard import`: blanks in names, synonyms and forbidden words where class
// words belong, class words of another domain class (제목, 설명, 아이디 -> 명, 내용) and
// registered terms. Every expected word, domain and finding below was read off the published
// rows by hand; the term analysis and the report must give exactly these, and agree.
#include "components/ExcelWriteHelper.h"
#include "diagnosis/CheckCommand.h"
#include "exchange/AnalyzeCommand.h"
#include "repository/RepoTestDb.h"
#include "standard/StandardCommand.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <gtest/gtest.h>
#include <set>

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

struct Attribute
{
    const char* name;
    const char* type;
    const char* words;  // the term analysis' words, by their logical names
    const char* domain; // repository; empty: none
    bool conforming;
    const char* keyDomain;  // local dictionary's domain analysis
    const char* dictDomain; // its domain; empty: none
};

const Attribute kModel[] = {
    {"파일 아이디", "VARCHAR(20)", "파일+아이디", "명V20", true, "아이디", "명V20"},
    {"다운로드 제한 횟수", "NUMERIC(10)", "다운로드+제한+횟수", "수N10", true, "횟수", "수N10"},
    {"블로그 ID", "VARCHAR(20)", "블로그+ID", "명V20", false, "아이디", "명V20"},
    {"회의제목", "VARCHAR(100)", "회의+제목", "명V100", true, "제목", "명V100"},
    {"추천사이트설명", "VARCHAR(1000)", "추천+사이트+설명", "내용V1000", true, "설명", "내용V1000"},
    {"요청자ID", "VARCHAR(20)", "요청자+ID", "명V20", false, "아이디", "명V20"},
    {"회원ID", "VARCHAR(20)", "회원+ID", "명V20", false, "아이디", "명V20"},
    {"메일답변여부", "CHAR(1)", "메일+답변+여부", "여부C1", false, "여부", "여부C1"},
    {"프로그램파일명", "VARCHAR(300)", "프로그램+파일+명", "명V300", true, "명", "명V300"},
    {"첨부파일명", "VARCHAR(100)", "첨부+파일+명", "명V300", true, "명", "명V100"},
    {"게시물제목", "VARCHAR(256)", "게시물+제목", "명V256", true, "제목", "명V256"},
    {"회원주민번호", "CHAR(13)", "회원+주민번호", "주민등록번호C13", false, "주민등록번호", "주민등록번호C13"},
    {"게시물시퀀스", "NUMERIC(22)", "게시물+시퀀스", "일련번호N22", false, "일련번호", "일련번호N22"},
    {"약도 이미지", "VARCHAR(200)", "약도+이미지", "", false, "이미지", ""},
    {"이미지 사이즈", "NUMERIC(10)", "이미지+사이즈", "", false, "사이즈", ""},
    {"회원등록", "VARCHAR(10)", "회원+등록", "", false, nullptr, ""},
    {"회의설명", "VARCHAR(50)", "회의+설명", "", false, "설명", ""},
    {"회의 일자", "CHAR(8)", "회의+일자", "연월일C8", true, "일자", "연월일C8"},
    {"회원명", "VARCHAR(100)", "회원+명", "명V100", true, "명", "명V100"},
    {"요청자 이름", "VARCHAR(100)", "요청자+이름", "명V100", false, "명", "명V100"},
    {"추천여부", "CHAR(1)", "추천+여부", "여부C1", true, "여부", "여부C1"},
    {"회원번호", "VARCHAR(30)", "회원+번호", "번호V20", true, "번호", ""},
    {"파일크기", "NUMERIC(14)", "파일+크기", "수N14", true, "크기", "수N14"},
    {"첨부FILE명", "VARCHAR(300)", "첨부+FILE+명", "명V300", false, "명", "명V300"},
};

// kind: attribute / subject / replacement
const std::set<QString> kFindings = {
    U("unknown_word: 약도 이미지 / 약도 / "),
    U("unknown_word: 이미지 사이즈 / 사이즈 / "),
    U("non_standard_word: 블로그 ID / ID / 아이디"),
    U("non_standard_word: 요청자ID / ID / 아이디"),
    U("non_standard_word: 회원ID / ID / 아이디"),
    U("non_standard_word: 요청자 이름 / 이름 / 명"),
    U("forbidden_word: 메일답변여부 / 메일 / 이메일"),
    U("forbidden_word: 회원주민번호 / 주민번호 / 주민등록번호"),
    U("forbidden_word: 게시물시퀀스 / 시퀀스 / 일련번호"),
    U("forbidden_word: 첨부FILE명 / FILE / 파일"),
    U("not_class_word: 약도 이미지 / 이미지 / "),
    U("not_class_word: 회원등록 / 등록 / "),
    U("no_domain: 약도 이미지 / 이미지 / "),
    U("no_domain: 이미지 사이즈 / 사이즈 / "),
    U("no_domain: 회원등록 / 등록 / "),
    U("no_domain: 회의설명 / 설명 / "),
    U("type_mismatch: 첨부파일명 / VARCHAR(100) / 명V300 (VARCHAR(300))"),
    U("type_mismatch: 회원번호 / VARCHAR(30) / 번호V20 (VARCHAR(20))"),
};

// The rows keep their published numbers, so the excerpt has gaps: taken as a partial edition.
QStringList EditionFiles(bool withTerms = true)
{
    QStringList files = {QStringLiteral("--allow-partial"), TestDataPath(QStringLiteral("standard-edition/words.csv")),
                         TestDataPath(QStringLiteral("standard-edition/domains.csv"))};
    if (withTerms)
        files << TestDataPath(QStringLiteral("standard-edition/terms.csv"));
    return files;
}

QJsonObject ReadJson(const QString& path)
{
    return QJsonDocument::fromJson(ReadTextFile(path).toUtf8()).object();
}

std::map<QString, QJsonObject> ByName(const QJsonObject& result)
{
    std::map<QString, QJsonObject> out;
    for (const QJsonValue& t : result[QStringLiteral("targets")].toArray())
        out[t[QStringLiteral("name")].toString()] = t.toObject();
    return out;
}

class EditionModel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        model = dir.file(QStringLiteral("model.xlsx"));
        std::vector<QStringList> rows = {{U("속성명"), U("데이터타입")}};
        for (const Attribute& a : kModel)
            rows.push_back({U(a.name), U(a.type)});
        ASSERT_TRUE(SaveSheetXlsx(model, rows));
    }
    QStringList ModelArgs(const QString& output, bool withType = true) const
    {
        QStringList args = {QStringLiteral("--input"),
                            model,
                            QStringLiteral("--attr"),
                            QStringLiteral("A"),
                            QStringLiteral("--skip-first-row"),
                            QStringLiteral("--output"),
                            output};
        if (withType)
            args << QStringLiteral("--type") << QStringLiteral("B");
        return args;
    }
    TempDataDir dir;
    QString model;
};

class EditionModelRepository : public EditionModel, public ::testing::WithParamInterface<TestDialect>
{
};

int RunCommand(int (*command)(const QStringList&, QTextStream&, QTextStream&), const QStringList& args,
               QString* err = nullptr)
{
    QString o, e;
    QTextStream os(&o), es(&e);
    const int status = command(args, os, es);
    es.flush();
    if (err)
        *err = e;
    return status;
}

} // namespace

TEST_P(EditionModelRepository, TermAnalysisAndReportGiveTheHandReadVerdictsAndAgree)
{
    TestRepository repo;
    OPEN_TEST_REPOSITORY(repo, GetParam());
    QString err;
    ASSERT_EQ(RunCommand(&StandardCommand::Run,
                         QStringList{QStringLiteral("import"), QStringLiteral("--repo"), repo.Uri(),
                                     QStringLiteral("--area"), QStringLiteral("PUB")} +
                             EditionFiles(),
                         &err),
              0)
        << err.toStdString();
    const QStringList area = {QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"), QStringLiteral("PUB")};
    const QString termJson = dir.file(QStringLiteral("term.json"));
    ASSERT_EQ(RunCommand(&AnalyzeCommand::Run, QStringList{QStringLiteral("term")} + ModelArgs(termJson) + area, &err),
              0)
        << err.toStdString();
    const QString checkJson = dir.file(QStringLiteral("check.json"));
    ASSERT_EQ(RunCommand(&CheckCommand::Run, ModelArgs(checkJson) + area, &err), 0) << err.toStdString();

    const QJsonObject term = ReadJson(termJson);
    const std::map<QString, QJsonObject> targets = ByName(term);
    ASSERT_EQ(targets.size(), std::size(kModel));
    int conforming = 0;
    for (const Attribute& a : kModel) {
        const QJsonObject t = targets.at(U(a.name));
        QStringList words;
        for (const QJsonValue& w : t[QStringLiteral("words")].toArray())
            words << (w[QStringLiteral("found")].toBool() ? w[QStringLiteral("logicalName")]
                                                          : w[QStringLiteral("word")])
                         .toString();
        EXPECT_EQ(words.join(u'+'), U(a.words)) << a.name;
        EXPECT_EQ(t[QStringLiteral("domain")].toString(), U(a.domain)) << a.name;
        EXPECT_EQ(t[QStringLiteral("conforming")].toBool(), a.conforming) << a.name;
        conforming += a.conforming ? 1 : 0;
    }
    EXPECT_EQ(term[QStringLiteral("totals")][QStringLiteral("conforming")].toInt(), conforming);

    const QJsonObject check = ReadJson(checkJson);
    EXPECT_EQ(check[QStringLiteral("columns")].toInt(), int(std::size(kModel)));
    // The check judges the type too: 첨부파일명 and 회원번호 are terms whose type misses the domain.
    EXPECT_EQ(check[QStringLiteral("conforming")].toInt(), conforming - 2);
    std::set<QString> findings;
    std::set<QString> listed; // attributes with a finding that keeps them from conforming
    for (const QJsonValue& kind : check[QStringLiteral("findings")].toArray()) {
        for (const QJsonValue& e : kind[QStringLiteral("entries")].toArray()) {
            findings.insert(QStringLiteral("%1: %2 / %3 / %4")
                                .arg(kind[QStringLiteral("kind")].toString(), e[QStringLiteral("attribute")].toString(),
                                     e[QStringLiteral("subject")].toString(),
                                     e[QStringLiteral("replacement")].toString()));
            if (kind[QStringLiteral("kind")].toString() != QLatin1String("type_mismatch"))
                listed.insert(e[QStringLiteral("attribute")].toString());
        }
    }
    EXPECT_EQ(findings, kFindings);
    // A complete target has no finding but a registered term's type mismatch, and the reverse
    // (the list has no column names: physical names are not judged).
    for (const auto& [name, t] : targets)
        EXPECT_EQ(t[QStringLiteral("conforming")].toBool(), !listed.count(name)) << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Dialects, EditionModelRepository,
                         ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });

// The local dictionary filled from the same rows: the domain analysis finds the class word's
// domains (under its domain class) and a synonym's, and no analysis gives a blank as a word.
TEST_F(EditionModel, LocalDictionaryFindsTheSameDomainsAndNoBlankWords)
{
    QString err;
    const QString data = dir.file(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(data));
    ASSERT_EQ(
        RunCommand(&StandardCommand::Run,
                   QStringList{QStringLiteral("import"), QStringLiteral("--data-dir"), data} + EditionFiles(false),
                   &err),
        0)
        << err.toStdString();
    const QStringList dataDir = {QStringLiteral("--data-dir"), data};
    const QString domainJson = dir.file(QStringLiteral("domain.json"));
    ASSERT_EQ(
        RunCommand(&AnalyzeCommand::Run, QStringList{QStringLiteral("domain")} + ModelArgs(domainJson) + dataDir, &err),
        0)
        << err.toStdString();
    const std::map<QString, QJsonObject> domains = ByName(ReadJson(domainJson));
    for (const Attribute& a : kModel) {
        const QJsonObject t = domains.at(U(a.name));
        if (a.keyDomain) {
            EXPECT_EQ(t[QStringLiteral("keyDomain")].toString(), U(a.keyDomain)) << a.name;
        }
        EXPECT_EQ(t[QStringLiteral("domain")].toString(), U(a.dictDomain)) << a.name;
    }

    const QString logicalJson = dir.file(QStringLiteral("logical.json"));
    ASSERT_EQ(RunCommand(&AnalyzeCommand::Run,
                         QStringList{QStringLiteral("logical")} + ModelArgs(logicalJson, false) + dataDir, &err),
              0)
        << err.toStdString();
    const std::map<QString, QJsonObject> logical = ByName(ReadJson(logicalJson));
    ASSERT_EQ(logical.size(), std::size(kModel));
    for (const auto& [name, t] : logical) {
        QStringList words;
        for (const QJsonValue& w : t[QStringLiteral("words")].toArray())
            words << w[QStringLiteral("word")].toString();
        for (const QString& w : words)
            EXPECT_FALSE(w.isEmpty() || w.contains(u' '))
                << name.toStdString() << ": " << words.join(u'|').toStdString();
        if (name == U("다운로드 제한 횟수")) {
            EXPECT_EQ(words, (QStringList{U("다운로드"), U("제한"), U("횟수")}));
        }
    }
}
