#include "TermRepository.h"
#include "analysis/TermAnalysis.h"
#include "components/QrExcelSheet.h"
#include "exchange/AnalysisDocument.h"
#include "exchange/AnalyzeCommand.h"
#include "repository/RepositoryConnection.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Runs `termwise analyze term ARGS...` in this process.
int RunCommand(const QStringList& args)
{
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    return AnalyzeCommand::Run(QStringList{QStringLiteral("term")} + args, out, err);
}

class TermCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // A demo repository on SQLite, closed again so that the command opens it itself.
        TermRepository repo;
        QString reason;
        ASSERT_TRUE(repo.Open(u"sqlite"_s, reason)) << repo.m_errors.join(u'\n').toStdString();
        ASSERT_TRUE(repo.LoadDemo()) << repo.m_errors.join(u'\n').toStdString();
        m_db = m_dir.filePath(u"demo.db"_s);
        ASSERT_TRUE(QFile::copy(repo.m_file, m_db));
        repo.Close();
        m_uri = u"sqlite:"_s + m_db;

        CQrExcelSheet sheet(true);
        ASSERT_TRUE(sheet.OpenFile(m_dir.filePath(u"model.xlsx"_s), true));
        const QList<QStringList> rows = {
            {u"속성명"_s, u"컬럼명"_s, u"데이터타입"_s, u"정의"_s},
            {u"고객번호"_s, u"CUST_NO"_s, u"VARCHAR2(20)"_s, u"고객 식별"_s},
            {u"고객명"_s, u"CUST_NM"_s, u"VARCHAR(100)"_s, u""_s},
            {u"회원주문금액"_s, u"MBR_ORD_AMT"_s, u"NUMBER(15)"_s, u""_s},
            {u"손님명"_s, u"GUEST_NM"_s, u"VARCHAR(100)"_s, u""_s},
            {u"고객뷁뷁"_s, u"CUST_X"_s, u"CHAR(1)"_s, u""_s},
            {u"고객번호2"_s, u"CUST_NO2"_s, u"VARCHAR(20)"_s, u"나중 행"_s},
        };
        for (int i = 0; i < rows.size(); ++i)
            sheet.SetRowDataRange(rows[i], i);
        ASSERT_TRUE(sheet.Save(1));
    }

    QJsonObject ReadJson(const QString& path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return QJsonDocument::fromJson(f.readAll()).object();
    }
    QJsonObject TargetOf(const QJsonObject& result, const QString& name)
    {
        for (const QJsonValue& t : result[u"targets"_s].toArray())
            if (t.toObject()[u"name"_s].toString() == name)
                return t.toObject();
        ADD_FAILURE() << "no target " << name.toStdString();
        return {};
    }

    QTemporaryDir m_dir;
    QString m_db;
    QString m_uri;
};

TEST_F(TermCommandTest, WorkbookToJsonExportAndDocument)
{
    const QString json = m_dir.filePath(u"result.json"_s);
    const QStringList common = {u"--input"_s,
                                m_dir.filePath(u"model.xlsx"_s),
                                u"--repo"_s,
                                m_uri,
                                u"--area"_s,
                                u"ENT"_s,
                                u"--attr"_s,
                                u"A"_s,
                                u"--column"_s,
                                u"B"_s,
                                u"--type"_s,
                                u"C"_s,
                                u"--def"_s,
                                u"D"_s,
                                u"--skip-first-row"_s,
                                u"--data-dir"_s,
                                m_dir.path()};
    ASSERT_EQ(RunCommand(common + QStringList{u"--output"_s, json}), 0);

    const QJsonObject result = ReadJson(json);
    EXPECT_EQ(result[u"kind"_s].toString(), u"term"_s);
    EXPECT_EQ(result[u"area"_s].toString(), u"ENT"_s);
    EXPECT_EQ(result[u"targets"_s].toArray().size(), 5);

    // The later row of 고객번호 overwrote the earlier one; a registered term with its domain.
    const QJsonObject registered = TargetOf(result, u"고객번호"_s);
    EXPECT_EQ(registered[u"column"_s].toString(), u"CUST_NO2"_s);
    EXPECT_TRUE(registered[u"registered"_s].toBool());
    EXPECT_EQ(registered[u"status"_s].toInt(), 3);
    EXPECT_EQ(registered[u"domain"_s].toString(), u"번호VC20"_s);

    const QJsonObject name = TargetOf(result, u"고객명"_s);
    EXPECT_EQ(name[u"domain"_s].toString(), u"명VC100"_s);

    const QJsonObject amount = TargetOf(result, u"회원주문금액"_s);
    EXPECT_EQ(amount[u"type"_s].toString(), u"NUMERIC"_s);
    EXPECT_EQ(amount[u"status"_s].toInt(), 4);
    EXPECT_EQ(amount[u"domain"_s].toString(), u"금액DEC15"_s);
    const QJsonArray words = amount[u"words"_s].toArray();
    ASSERT_EQ(words.size(), 3);
    EXPECT_EQ(words[1].toObject()[u"word"_s].toString(), u"주문"_s);
    EXPECT_FALSE(words[1].toObject()[u"classWord"_s].toBool());
    EXPECT_TRUE(words[2].toObject()[u"classWord"_s].toBool());

    // A non-standard word: found, not standard, its standard name beside it.
    const QJsonObject guest = TargetOf(result, u"손님명"_s);
    const QJsonObject guestWord = guest[u"words"_s].toArray()[0].toObject();
    EXPECT_TRUE(guestWord[u"found"_s].toBool());
    EXPECT_FALSE(guestWord[u"standard"_s].toBool());
    EXPECT_EQ(guestWord[u"standardName"_s].toString(), u"고객"_s);

    const QJsonObject unknown = TargetOf(result, u"고객뷁뷁"_s);
    EXPECT_EQ(unknown[u"status"_s].toInt(), 1);
    EXPECT_FALSE(unknown[u"words"_s].toArray()[1].toObject()[u"found"_s].toBool());

    // The Excel export: header and one row per target in name order.
    const QString xlsx = m_dir.filePath(u"result.xlsx"_s);
    ASSERT_EQ(RunCommand(common + QStringList{u"--output"_s, xlsx}), 0);
    CQrExcelSheet sheet(true);
    ASSERT_TRUE(sheet.OpenFile(xlsx, false));
    ASSERT_EQ(sheet.GetRowCount(), 6);
    QStringList cells;
    sheet.GetRowData(cells, 0, -1);
    EXPECT_EQ(cells, (QStringList{u"속성명"_s, u"컬럼명"_s, u"분석단어"_s, u"도메인"_s}));
    sheet.GetRowData(cells, 1, -1);
    EXPECT_EQ(cells, (QStringList{u"고객명"_s, u"CUST_NM"_s, u"고객,명"_s, u"명VC100"_s}));

    // The document, read back as the input of a second analysis (its own area).
    const QString ztst = m_dir.filePath(u"result.ztst"_s);
    ASSERT_EQ(RunCommand(common + QStringList{u"--output"_s, ztst}), 0);
    const QString again = m_dir.filePath(u"again.json"_s);
    ASSERT_EQ(RunCommand({u"--input"_s, ztst, u"--repo"_s, m_uri, u"--output"_s, again, u"--data-dir"_s, m_dir.path()}),
              0);
    const QJsonObject second = ReadJson(again);
    EXPECT_EQ(second[u"targets"_s].toArray().size(), 5);
    EXPECT_EQ(TargetOf(second, u"회원주문금액"_s)[u"domain"_s].toString(), u"금액DEC15"_s);
}

TEST_F(TermCommandTest, RefusesBadInput)
{
    const QString model = m_dir.filePath(u"model.xlsx"_s);
    const QString out = m_dir.filePath(u"out.json"_s);
    struct Case
    {
        QStringList args;
        int status;
    };
    const Case cases[] = {
        {{}, 2},
        {{u"--input"_s, model, u"--repo"_s, m_uri, u"--area"_s, u"ENT"_s, u"--output"_s, m_dir.filePath(u"x.txt"_s)},
         2},
        {{u"--input"_s, model, u"--repo"_s, m_uri, u"--output"_s, out, u"--attr"_s, u"A"_s, u"--type"_s, u"C"_s}, 2},
        {{u"--input"_s, model, u"--repo"_s, m_uri, u"--area"_s, u"ENT"_s, u"--attr"_s, u"1"_s, u"--output"_s, out}, 2},
        // Required columns not designated.
        {{u"--input"_s, model, u"--repo"_s, m_uri, u"--area"_s, u"ENT"_s, u"--attr"_s, u"A"_s, u"--output"_s, out}, 1},
        // An area the repository does not hold, an expired one, and a repository that is not there.
        {{u"--input"_s, model, u"--repo"_s, m_uri, u"--area"_s, u"NOPE"_s, u"--attr"_s, u"A"_s, u"--type"_s, u"C"_s,
          u"--output"_s, out},
         1},
        {{u"--input"_s, model, u"--repo"_s, m_uri, u"--area"_s, u"OLD"_s, u"--attr"_s, u"A"_s, u"--type"_s, u"C"_s,
          u"--output"_s, out},
         1},
        {{u"--input"_s, model, u"--repo"_s, u"sqlite:"_s + m_dir.filePath(u"missing.db"_s), u"--area"_s, u"ENT"_s,
          u"--attr"_s, u"A"_s, u"--type"_s, u"C"_s, u"--output"_s, out},
         1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunCommand(c.args), c.status) << c.args.join(u' ').toStdString();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_FALSE(CRepositoryConnection::Instance().IsConnected());
}

// The bundled sample model (A 속성명, B 컬럼명, C 데이터타입, D 속성정의) against the demo standard.
TEST_F(TermCommandTest, BundledSampleAgainstDemoStandard)
{
    const QString sample = QStringLiteral(TERMWISE_SOURCE_DIR "/resources/samples/model.xlsx");
    ASSERT_TRUE(QFile::exists(sample));
    const QString json = m_dir.filePath(u"sample.json"_s);
    ASSERT_EQ(RunCommand({u"--input"_s, sample, u"--repo"_s, m_uri, u"--area"_s, u"ENT"_s, u"--attr"_s, u"A"_s,
                          u"--column"_s, u"B"_s, u"--type"_s, u"C"_s, u"--def"_s, u"D"_s, u"--skip-first-row"_s,
                          u"--data-dir"_s, m_dir.path(), u"--output"_s, json}),
              0);
    const QJsonObject result = ReadJson(json);
    const QJsonArray targets = result[u"targets"_s].toArray();
    const QJsonObject totals = result[u"totals"_s].toObject();
    ASSERT_GT(targets.size(), 100);
    EXPECT_EQ(totals[u"targets"_s].toInt(), targets.size());
    int complete = 0, registered = 0, withoutDomain = 0, found = 0;
    for (const QJsonValue& v : targets) {
        const QJsonObject t = v.toObject();
        const int status = t[u"status"_s].toInt();
        const QJsonArray words = t[u"words"_s].toArray();
        EXPECT_FALSE(words.isEmpty()) << t[u"name"_s].toString().toStdString();
        EXPECT_TRUE(status == 0 || status == 1 || status == 3 || status == 4);
        const bool hasDomain = !t[u"domainId"_s].toString().isEmpty();
        bool allFound = true;
        for (const QJsonValue& w : words) {
            allFound = allFound && w.toObject()[u"found"_s].toBool();
            found += w.toObject()[u"found"_s].toBool();
        }
        // The state image follows from the words, the class word and the domain.
        if (!hasDomain) {
            EXPECT_EQ(status, 1) << t[u"name"_s].toString().toStdString();
        } else if (t[u"registered"_s].toBool()) {
            EXPECT_EQ(status, 3);
        } else if (!allFound) {
            EXPECT_EQ(status, 1);
        } else {
            EXPECT_EQ(status, words.last().toObject()[u"classWord"_s].toBool() ? 4 : 0);
        }
        complete += status == 4;
        registered += t[u"registered"_s].toBool();
        withoutDomain += !hasDomain;
    }
    EXPECT_EQ(totals[u"complete"_s].toInt(), complete);
    EXPECT_EQ(totals[u"registered"_s].toInt(), registered);
    EXPECT_EQ(totals[u"withoutDomain"_s].toInt(), withoutDomain);
    EXPECT_EQ(totals[u"foundWords"_s].toInt(), found);
    // The sample is a model of the same business as the demo standard: most words are known,
    // some attributes are complete and some are registered terms.
    EXPECT_GT(found * 2, totals[u"words"_s].toInt());
    EXPECT_GT(complete, 0);
    EXPECT_GT(registered, 0);
}

TEST(TermAreaResolution, NeedsAConnectedRepository)
{
    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    bool asked = false;
    EXPECT_FALSE(CTermAnalysis::ResolveStandardArea(u"ENT"_s, [&](const QString&) { return asked = true; }));
    EXPECT_FALSE(asked);

    // A well-formed term document is still refused without a repository.
    QTemporaryDir dir;
    CTermAnalysis saved;
    saved.SetAreaId(u"ENT"_s);
    const QString path = dir.filePath(u"terms.ztst"_s);
    ASSERT_TRUE(AnalysisDocument::WriteFile(AnalysisDocument::ToBytes(saved), path));
    CTermAnalysis term;
    const AnalysisDocument::Outcome read = AnalysisDocument::Read(term, path, [](const QString& area) {
        return CTermAnalysis::ResolveStandardArea(area, [](const QString&) { return true; });
    });
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.message, TermTexts::kNoStandardArea);
}

} // namespace
