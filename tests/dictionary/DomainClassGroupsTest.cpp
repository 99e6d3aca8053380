#include "dictionary/DomainClassGroups.h"

#include <gtest/gtest.h>

using Groups = CDomainClassGroups;

namespace {

QString S(const char16_t* text)
{
    return QString::fromUtf16(text);
}

DomainIndex Domains(std::initializer_list<std::pair<QString, std::vector<QStringList>>> keyDomains)
{
    DomainIndex index;
    for (const auto& [keyDomain, domains] : keyDomains) {
        auto& inner = index[keyDomain];
        for (const QStringList& d : domains) {
            _stAnalyzeManageDomain domain;
            domain.strKeyDomainName = keyDomain;
            domain.strDomainName = d.value(0);
            domain.strDataType = d.value(1);
            domain.strLength = d.value(2);
            domain.strScale = d.value(3);
            inner[domain.strDomainName] = domain;
        }
    }
    return index;
}

std::string Dump(const std::vector<Groups::Row>& rows)
{
    std::string text;
    for (const auto& r : rows)
        text += r.suffix.toStdString() + " | " + r.keyDomain.toStdString() + " | " + r.domain.toStdString() + " | " +
                std::to_string(r.group) + "\n";
    return text;
}

} // namespace

TEST(DomainClassGroups, SharedEndingsOfTwoOrMoreCharacters)
{
    struct Case
    {
        const char* what;
        DomainIndex domains;
        std::vector<Groups::Row> expected;
    } cases[] = {
        {"two key domains sharing one ending",
         Domains(
             {{S(u"고객번호"), {{S(u"고객번호V10"), "VARCHAR", "10", ""}}},
              {S(u"주문번호"), {{S(u"주문번호N12"), "NUMERIC", "12", "0"}, {S(u"주문번호V20"), "VARCHAR", "20", ""}}}}),
         {{S(u"번호"), S(u"고객번호"), S(u"고객번호V10"), "VARCHAR", "10", "", 0},
          {S(u"번호"), S(u"주문번호"), S(u"주문번호N12"), "NUMERIC", "12", "0", 0},
          {S(u"번호"), S(u"주문번호"), S(u"주문번호V20"), "VARCHAR", "20", "", 0}}},
        {"a whole key domain is the ending of a longer one",
         Domains(
             {{S(u"일자"), {{S(u"일자D"), "DATE", "", ""}}}, {S(u"시작일자"), {{S(u"시작일자D"), "DATE", "", ""}}}}),
         {{S(u"일자"), S(u"시작일자"), S(u"시작일자D"), "DATE", "", "", 0},
          {S(u"일자"), S(u"일자"), S(u"일자D"), "DATE", "", "", 0}}},
        {"one-character key domains and endings shared by nobody stay out",
         Domains({{S(u"자"), {{S(u"자V1"), "VARCHAR", "1", ""}}},
                  {S(u"일자"), {{S(u"일자D"), "DATE", "", ""}}},
                  {S(u"명칭"), {{S(u"명칭V100"), "VARCHAR", "100", ""}}}}),
         {}},
        {"shorter endings first, then by ending text; colours alternate",
         Domains({{S(u"고객번호"), {{"A", "", "", ""}}},
                  {S(u"개인고객번호"), {{"B", "", "", ""}}},
                  {S(u"시작일자"), {{"C", "", "", ""}}},
                  {S(u"종료일자"), {{"D", "", "", ""}}},
                  {"CUST_NO", {{"E", "", "", ""}}},
                  {"ORD_NO", {{"F", "", "", ""}}}}),
         {{"NO", "CUST_NO", "E", "", "", "", 0},
          {"NO", "ORD_NO", "F", "", "", "", 0},
          {S(u"번호"), S(u"개인고객번호"), "B", "", "", "", 1},
          {S(u"번호"), S(u"고객번호"), "A", "", "", "", 1},
          {S(u"일자"), S(u"시작일자"), "C", "", "", "", 2},
          {S(u"일자"), S(u"종료일자"), "D", "", "", "", 2},
          {"_NO", "CUST_NO", "E", "", "", "", 3},
          {"_NO", "ORD_NO", "F", "", "", "", 3},
          {S(u"객번호"), S(u"개인고객번호"), "B", "", "", "", 4},
          {S(u"객번호"), S(u"고객번호"), "A", "", "", "", 4},
          {S(u"고객번호"), S(u"개인고객번호"), "B", "", "", "", 5},
          {S(u"고객번호"), S(u"고객번호"), "A", "", "", "", 5}}},
        {"a key domain without domains lists nothing and forms no group",
         Domains({{S(u"고객번호"), {}}, {S(u"주문번호"), {{"A", "", "", ""}}}}),
         {}},
    };
    for (const auto& c : cases) {
        const auto rows = Groups::Build(c.domains);
        EXPECT_EQ(rows, c.expected) << c.what << "\n" << Dump(rows);
    }
    EXPECT_EQ(Groups::RowColour({"", "", "", "", "", "", 0}), 0xFFFFFFu);
    EXPECT_EQ(Groups::RowColour({"", "", "", "", "", "", 1}), 0xF7F7F7u);
    EXPECT_EQ(Groups::RowColour({"", "", "", "", "", "", 4}), 0xFFFFFFu);
    EXPECT_EQ(Groups::Headers(), QStringList({S(u"분류"), S(u"키도메인명"), S(u"도메인명"), S(u"타입"), S(u"길이"),
                                              S(u"스케일"), S(u"비고")}));
}

TEST(DomainClassGroups, SearchIgnoresCaseAndWraps)
{
    const auto rows = Groups::Build(Domains({{S(u"고객번호"), {{S(u"고객NO"), "", "", ""}}},
                                             {S(u"주문번호"), {{S(u"주문번호V10"), "", "", ""}}},
                                             {S(u"사원번호"), {{S(u"사원no"), "", "", ""}}}}));
    ASSERT_EQ(rows.size(), 3u); // 고객번호, 사원번호, 주문번호 under 번호
    struct Case
    {
        QString text;
        int current;
        int row, column;
    } cases[] = {
        {"no", -1, 0, 2},      {"no", 0, 1, 2},           {"NO", 1, 0, 2}, // past the last hit: from the top again
        {S(u"번호"), 0, 1, 1}, {S(u"주문번호"), 2, 2, 1},                  // key domain cell when both columns match
        {"xyz", 1, -1, -1},
    };
    for (const auto& c : cases) {
        const auto hit = Groups::FindNext(rows, c.text, c.current);
        EXPECT_EQ(hit.row, c.row) << c.text.toStdString() << " from " << c.current;
        EXPECT_EQ(hit.column, c.column) << c.text.toStdString() << " from " << c.current;
    }
}
