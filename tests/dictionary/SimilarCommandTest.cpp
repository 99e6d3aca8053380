#include "dictionary/SimilarCommand.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

const char16_t* const kDictionary = uR"({
  "words": {
    "CUST_NO": {"고객번호": ["CUSTOMER NUMBER", ""], "고객변호": ["", ""]},
    "CSTMR_NO": {"고객번호": ["", ""]},
    "CUST_NM": {"고객명": ["", ""]},
    "AB": {"주소": ["", ""]},
    "ABCD": {"주소지": ["", ""]}
  },
  "seperator": "_"
})";

QJsonObject ReadJson(const QString& path)
{
    return QJsonDocument::fromJson(ReadTextFile(path).toUtf8()).object();
}

} // namespace

TEST(SimilarCommand, WritesTheGroupsInTheDialogsOrder)
{
    TempDataDir dir;
    WriteTextFile(dir.standardPath() + "/termwise.json", QString::fromUtf16(kDictionary));
    struct Case
    {
        QString view;
        const char* expected;
    } cases[] = {
        {"logical",
         R"({"groups":[{"name":"고객번호","partners":"CSTMR_NO, CUST_NO","similar":[{"name":"고객변호","partners":"CUST_NO"}]},)"
         R"({"name":"주소지","partners":"ABCD","similar":[{"name":"주소","partners":"AB"}]}]})"},
        {"physical",
         R"({"groups":[{"name":"ABCD","partners":"주소지","similar":[{"name":"AB","partners":"주소"}]},)"
         R"({"name":"CUST_NM","partners":"고객명","similar":[{"name":"CUST_NO","partners":"고객번호, 고객변호"}]}]})"},
    };
    for (const auto& c : cases) {
        const QString output = dir.file(c.view + ".json");
        SimilarCommand::Options options;
        QString error;
        ASSERT_TRUE(SimilarCommand::Parse({c.view, "--data-dir", dir.path(), "--output", output}, options, error))
            << error.toStdString();
        ASSERT_EQ(SimilarCommand::Run(options, error), 0) << error.toStdString();
        EXPECT_EQ(ReadJson(output), QJsonDocument::fromJson(QByteArray(c.expected)).object()) << c.view.toStdString();
    }
    // Without --data-dir the common data folder is used.
    SimilarCommand::Options options;
    QString error;
    ASSERT_TRUE(SimilarCommand::Parse({"--output", dir.file("default.json"), "physical"}, options, error));
    ASSERT_EQ(SimilarCommand::Run(options, error), 0) << error.toStdString();
    EXPECT_EQ(ReadJson(dir.file("default.json")), ReadJson(dir.file("physical.json")));
}

TEST(SimilarCommand, RefusesBadArgumentsAndBadDictionaries)
{
    struct Usage
    {
        QStringList args;
    } usages[] = {
        {{}},
        {{"logical"}},
        {{"--output", "x.json"}},
        {{"both", "--output", "x.json"}},
        {{"logical", "--output"}},
        {{"logical", "physical", "--output", "x.json"}},
        {{"logical", "--data-dir"}},
    };
    for (const auto& u : usages) {
        SimilarCommand::Options options;
        QString error;
        EXPECT_FALSE(SimilarCommand::Parse(u.args, options, error)) << u.args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(RunSimilarCommand(u.args), 2);
    }

    TempDataDir dir;
    struct Input
    {
        const char* what;
        QString content; // empty: no file
        QString output;
        QString message;
    } inputs[] = {
        {"missing dictionary", "", "out.json", "사전 파일이 없습니다"},
        {"broken JSON", "{\"words\": {", "out.json", "사전 파일이 아닙니다"},
        {"JSON that is not an object", "[1, 2]", "out.json", "JSON 객체가 아닙니다"},
        {"unwritable output", "{}", "no/such/folder/out.json", "파일을 쓸 수 없습니다"},
    };
    for (const auto& in : inputs) {
        const QString path = dir.standardPath() + "/termwise.json";
        QFile::remove(path);
        if (!in.content.isEmpty())
            WriteTextFile(path, in.content);
        SimilarCommand::Options options;
        QString error;
        ASSERT_TRUE(SimilarCommand::Parse({"logical", "--data-dir", dir.path(), "--output", dir.file(in.output)},
                                          options, error));
        EXPECT_EQ(SimilarCommand::Run(options, error), 1) << in.what;
        EXPECT_TRUE(error.contains(in.message)) << in.what << ": " << error.toStdString();
        EXPECT_FALSE(QFile::exists(dir.file(in.output))) << in.what;
    }
}
