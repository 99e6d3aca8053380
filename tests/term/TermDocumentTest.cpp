#include "analysis/TermDocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(TermDocument, RoundTripAndArea)
{
    CTermAnalysis term;
    term.SetAreaId(u"ENT"_s);
    TermAnalysisTarget a;
    a.strName = u"주문번호"_s;
    a.strColumn = u"ORD_NO"_s;
    a.strReference = u"참고"_s;
    a.strType = u"NUMERIC"_s;
    a.strLength = u"15"_s;
    a.strScale = u"2"_s;
    a.strDefinition = u"주문의 번호"_s;
    TermAnalysisTarget b;
    b.strName = u"고객명"_s;
    term.SetTargets({a, b});

    const QByteArray bytes = WriteTermDocument(term);
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    EXPECT_EQ(root[u"term_analyze_area"_s].toString(), u"ENT"_s);
    // No count members in the term kind.
    EXPECT_FALSE(root[u"term_analyze"_s].toArray()[0].toObject().contains(u"RefCount"_s));

    QString area, error;
    std::vector<TermAnalysisTarget> read;
    ASSERT_TRUE(ReadTermDocument(bytes, area, read, error)) << error.toStdString();
    EXPECT_EQ(area, u"ENT"_s);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].strName, u"고객명"_s); // saved in name order
    EXPECT_EQ(read[1].strColumn, u"ORD_NO"_s);
    EXPECT_EQ(read[1].strDefinition, u"주문의 번호"_s);
    EXPECT_EQ(read[1].strDisplayType, u"NUMERIC(15,2)"_s);

    // An empty result still writes the array and the area.
    CTermAnalysis empty;
    empty.SetAreaId(u"PUB"_s);
    ASSERT_TRUE(ReadTermDocument(WriteTermDocument(empty), area, read, error));
    EXPECT_EQ(area, u"PUB"_s);
    EXPECT_TRUE(read.empty());
}

TEST(TermDocument, RefusedKindsAndTolerantEntries)
{
    struct Case
    {
        const char* json;
        bool ok;
        const char16_t* error;
    };
    const Case cases[] = {
        {R"({"domain_analyze": []})", false, u"not term analyzed document file"},
        {R"({"term_analyze": [], "term_analyze_area": 7})", false, u"not term analyzed document file"},
        {R"({"term_analyze": {}, "term_analyze_area": "A"})", false, u"not term analyzed document file"},
        {R"([1, 2])", false, u"not term analyzed document file"},
        {R"({"term_analyze": [1, "x", null, {"Attribute": "고객명", "Column": 5},
             {"Attribute": "고객명", "Column": "CUST_NM"}], "term_analyze_area": "A"})",
         true, u""},
    };
    for (const Case& c : cases) {
        QString area, error;
        std::vector<TermAnalysisTarget> read;
        EXPECT_EQ(ReadTermDocument(QByteArray(c.json), area, read, error), c.ok) << c.json;
        EXPECT_EQ(error, QString::fromUtf16(c.error)) << c.json;
    }
    QString area, error;
    std::vector<TermAnalysisTarget> read;
    ASSERT_TRUE(ReadTermDocument(QByteArray(cases[4].json), area, read, error));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].strColumn, u"CUST_NM"_s);

    // Malformed JSON: the parser's text, not the wrong-kind message.
    EXPECT_FALSE(ReadTermDocument(QByteArray("{\"term_analyze\": ["), area, read, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_NE(error, TermDocumentTexts::kWrongKind);
}

TEST(TermRequest, LaterObjectOverwrites)
{
    const QByteArray text = QStringLiteral(R"({"standard_areaid": "ENT", "termwise": [
        {"attributeName": "고객명1", "columnName": "CUST_NM", "attributeDataType": "VARCHAR", "attributeDataLength": "50"},
        "skip me",
        {"attributeName": "주문번호", "columnName": "ORD_NO"},
        {"attributeName": "고객명", "columnName": "CUSTOMER_NAME", "attributeReference": "참고",
         "attributeDataType": "VARCHAR", "attributeDataLength": "100", "attributeDesc": "ignored"}]})")
                                .toUtf8();
    QString area, error;
    std::vector<TermAnalysisTarget> targets;
    ASSERT_TRUE(ReadTermRequest(text, area, targets, error));
    EXPECT_EQ(area, u"ENT"_s);
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0].strName, u"고객명"_s);
    EXPECT_EQ(targets[0].strColumn, u"CUSTOMER_NAME"_s);
    EXPECT_EQ(targets[0].strReference, u"참고"_s);
    EXPECT_EQ(targets[0].strDisplayType, u"VARCHAR(100)"_s);
    EXPECT_EQ(targets[0].strDefinition, QString());
    EXPECT_EQ(targets[1].strName, u"주문번호"_s);

    EXPECT_FALSE(ReadTermRequest(QByteArray("not json"), area, targets, error));
}

} // namespace
