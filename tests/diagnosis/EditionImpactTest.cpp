// What the 8th edition changes for a model built to the 7th: `check --since` over a model of
// our own against both built-in editions, imported as two areas of one repository (SQLite and
// PostgreSQL: the reasons come from what each reads back). Each expected row was read by hand
// off both published workbooks (the rows are named beside them); the columns whose verdict
// stays must not be listed.
#include "diagnosis/CheckCommand.h"
#include "repository/RepoTestDb.h"
#include "standard/BuiltinStandard.h"
#include "standard/ConformanceSince.h"
#include "standard/StandardCommand.h"
#include "standard/StandardTestUtil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <gtest/gtest.h>
#include <map>

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

struct Column
{
    const char *column, *comment, *type;
    const char* reasons; // JSON keys joined with ","; empty: the verdict stays
    const char* detail;
};

const Column kModel[] = {
    // 용어 유형자산금액: 7th TYPE_AST_AMT 금액N15; 8th TGAST_AMT (폐기후제정).
    {"type_ast_amt", "유형자산금액", "numeric(15)", "abbreviation_changed",
     "용어 유형자산금액: 약어 TYPE_AST_AMT → TGAST_AMT"},
    // 용어 법정리명 STLI_NM 명V40 and 단어 법정리 STLI: withdrawn in the 8th, which lists
    // 법정리명 as a synonym of 법정동리명 STDG_LI_NM 명V100.
    {"stli_nm", "법정리명", "varchar(40)", "withdrawn",
     "단어 법정리 (STLI) 폐기; 용어 법정리명 (STLI_NM) 폐기 → 법정동리명"},
    // 단어 기숙사 DRMT: 8차(2025-11); no term 기숙사명 in either edition.
    {"drmt_nm", "기숙사명", "varchar(100)", "new_standard_word", "단어 기숙사 (DRMT) 추가"},
    // 단어 공항 ARPRT and 용어 공항명 ARPRT_NM 명V200: both new in the 8th.
    {"arprt_nm", "공항명", "varchar(200)", "new_standard_word,new_term",
     "단어 공항 (ARPRT) 추가; 용어 공항명 (ARPRT_NM) 추가"},
    // 단어 등급 GRD: 형식단어 N in the 7th; Y with 도메인분류 번호 in the 8th (번호V20 in both).
    {"mbr_grd", "회원등급", "varchar(20)", "class_word_changed",
     "단어 등급: 분류어 여부 N → Y; 도메인 분류 (없음) → 번호"},
    // 단어 전기전도도 ELCD: 도메인분류 율 in the 7th (율N5,2 … 비율N13,9), 수 in the 8th (수N8,3).
    {"avg_elcd", "평균전기전도도", "numeric(8,3)", "domain_changed", "단어 전기전도도: 도메인 분류 율 → 수"},
    // 도메인 수N7,2: 8차(2025-11); 수량 is a class word of 도메인분류 수 in both.
    {"max_qty", "최대수량", "numeric(7,2)", "domain_changed", "도메인 수N7,2 추가"},
    // 단어 질문 QSTN: 이음동의어 질의 in the 7th, none in the 8th (이음동의어(질의) 삭제).
    {"qstn_nm", "질의명", "varchar(100)", "synonym_changed", "단어 질문: 이음동의어 질의 → (없음)"},
    // 용어 질문내용 QSTN_CN: 용어 이음동의어 질의내용 in the 7th, deleted in the 8th.
    {"qstn_cn", "질의내용", "varchar(4000)", "synonym_changed", "용어 질문내용: 이음동의어 질의내용 → (없음)"},
    // The same in both: a term, and a name with a word neither edition knows.
    {"mbr_nm", "회원명", "varchar(100)", "", ""},
    {"bwlk_nm", "뷁뷁명", "varchar(100)", "", ""},
};

struct CliRun
{
    int status = -1;
    QString out, err;
};

template <typename Command> CliRun Cli(Command command, const QStringList& args)
{
    CliRun r;
    QTextStream out(&r.out), err(&r.err);
    r.status = command(args, out, err);
    return r;
}

class SinceCheck : public ::testing::TestWithParam<TestDialect>
{
protected:
    void SetUp() override
    {
        OPEN_TEST_REPOSITORY(repo, GetParam());
        BuiltinStandard::SetFolder(QStringLiteral(TERMWISE_SOURCE_DIR "/resources/standard"));
        for (const auto& [area, edition] : {std::pair{"STD7", "7"}, std::pair{"STD8", "8"}}) {
            const CliRun r =
                Cli(StandardCommand::Run,
                    {QStringLiteral("import"), QStringLiteral("--builtin"), QString::fromLatin1(edition),
                     QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"), QString::fromLatin1(area)});
            ASSERT_EQ(r.status, 0) << r.err.toStdString();
        }
        BuiltinStandard::SetFolder(QString());
        QString ddl = QStringLiteral("CREATE TABLE tb_model (\n");
        QString comments;
        for (const Column& c : kModel) {
            ddl += QStringLiteral("  %1 %2,\n").arg(QString::fromLatin1(c.column), QString::fromLatin1(c.type));
            comments += QStringLiteral("COMMENT ON COLUMN tb_model.%1 IS '%2';\n")
                            .arg(QString::fromLatin1(c.column), U(c.comment));
        }
        ddl.chop(2);
        model = dir.file(QStringLiteral("model.sql"));
        WriteTextFile(model, ddl + QStringLiteral("\n);\n") + comments);
    }
    CliRun Check(const QString& output, const QString& area, const QString& since)
    {
        return Cli(CheckCommand::Run,
                   {QStringLiteral("--input"), model, QStringLiteral("--repo"), repo.Uri(), QStringLiteral("--area"),
                    area, QStringLiteral("--since"), since, QStringLiteral("--output"), output});
    }
    TestRepository repo;
    TempDataDir dir;
    QString model;
};

} // namespace

TEST_P(SinceCheck, ListsExactlyTheColumnsWhoseVerdictTheNewEditionChanges)
{
    const QString json = dir.file(QStringLiteral("report.json"));
    CliRun r = Check(json, QStringLiteral("STD8"), QStringLiteral("STD7"));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();

    std::map<QString, std::pair<QString, QString>> expected, listed; // column -> reasons, detail
    std::map<QString, int> perReason;
    for (const Column& c : kModel)
        if (*c.reasons) {
            expected[QString::fromLatin1(c.column).toUpper()] = {QString::fromLatin1(c.reasons), U(c.detail)};
            for (const QString& reason : QString::fromLatin1(c.reasons).split(u','))
                ++perReason[reason];
        }
    const QJsonObject since =
        QJsonDocument::fromJson(ReadTextFile(json).toUtf8()).object().value(QStringLiteral("since")).toObject();
    EXPECT_EQ(since.value(QStringLiteral("oldArea")).toString(), QStringLiteral("STD7"));
    EXPECT_EQ(since.value(QStringLiteral("newArea")).toString(), QStringLiteral("STD8"));
    for (const QJsonValue& v : since.value(QStringLiteral("entries")).toArray()) {
        const QJsonObject e = v.toObject();
        QStringList reasons;
        for (const QJsonValue& reason : e.value(QStringLiteral("reasons")).toArray())
            reasons << reason.toString();
        listed[e.value(QStringLiteral("column")).toString()] = {reasons.join(u','),
                                                                e.value(QStringLiteral("detail")).toString()};
        EXPECT_NE(e.value(QStringLiteral("oldVerdict")).toString(), e.value(QStringLiteral("newVerdict")).toString());
    }
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(since.value(QStringLiteral("columns")).toInt(), int(expected.size()));
    for (const QJsonValue& v : since.value(QStringLiteral("reasons")).toArray())
        EXPECT_EQ(v.toObject().value(QStringLiteral("columns")).toInt(),
                  perReason[v.toObject().value(QStringLiteral("reason")).toString()])
            << v.toObject().value(QStringLiteral("reason")).toString().toStdString();

    // The summary says the same; the workbook lists the same columns on a sheet of its own.
    EXPECT_TRUE(
        r.out.contains(QStringLiteral("\nchanged since STD7: %1 columns\n  abbreviation_changed: 1\n  "
                                      "withdrawn: 1\n  new_standard_word: 2\n  class_word_changed: 1\n  new_term: 1\n  "
                                      "synonym_changed: 2\n  domain_changed: 2\n  other: 0\n")
                           .arg(expected.size())))
        << r.out.toStdString();
    const QString book = dir.file(QStringLiteral("report.xlsx"));
    r = Check(book, QStringLiteral("STD8"), QStringLiteral("STD7"));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const std::vector<QStringList> rows = SheetRows(book, StandardTexts::kSinceSheet);
    const auto header = std::find_if(rows.begin(), rows.end(), [](const QStringList& row) {
        return row.value(0) == StandardTexts::kSinceHeader[0];
    });
    ASSERT_NE(header, rows.end());
    EXPECT_EQ(header->value(7), StandardTexts::kSinceHeader[7] + QStringLiteral(" (STD8)"));
    std::map<QString, QString> sheet;
    for (auto row = header + 1; row != rows.end(); ++row)
        sheet[row->value(1)] = row->value(5);
    std::map<QString, QString> details;
    for (const auto& [column, reasonAndDetail] : expected)
        details[column] = reasonAndDetail.second;
    EXPECT_EQ(sheet, details);

    // An area the repository does not have, or the area checked itself, is refused.
    r = Check(json, QStringLiteral("STD8"), QStringLiteral("STD6"));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(U("--since STD6: 저장소에 없는 표준 분류체계입니다"))) << r.err.toStdString();
    EXPECT_EQ(Check(json, QStringLiteral("STD8"), QStringLiteral("STD8")).status, 2);
}

INSTANTIATE_TEST_SUITE_P(Dialects, SinceCheck, ::testing::Values(TestDialect::Sqlite, TestDialect::Postgresql),
                         [](const auto& info) { return DialectName(info.param); });
