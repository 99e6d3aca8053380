#include "analysis/DomainAnalysis.h"
#include "analysis/LogicalWordAnalysis.h"
#include "analysis/PhysicalWordAnalysis.h"
#include "analysis/TermAnalysis.h"
#include "exchange/AnalysisDocument.h"
#include "exchange/ExchangeTexts.h"
#include "settings/AnalyzeSettings.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using AnalysisDocument::Kind;

namespace {

CAnalyzeSettings& Settings()
{
    static CAnalyzeSettings settings = [] {
        CAnalyzeSettings s;
        _stAnalyzeManageWord word;
        s.AddWord(QStringLiteral("CUST"), QStringLiteral("고객"), word);
        s.AddWord(QStringLiteral("NO"), QStringLiteral("번호"), word);
        return s;
    }();
    return settings;
}

QString S(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
const QString* P(const QString& s)
{
    return &s;
}

template <class Engine> QByteArray Save(const Engine& engine)
{
    return AnalysisDocument::ToBytes(engine);
}

QByteArray Json(const char* text)
{
    return QByteArray(text);
}

} // namespace

TEST(AnalysisDocument, WordKindsRoundTrip)
{
    for (Kind kind : {Kind::Logical, Kind::Physical}) {
        std::unique_ptr<WordAnalysis> engine;
        if (kind == Kind::Logical)
            engine = std::make_unique<LogicalWordAnalysis>(&Settings());
        else
            engine = std::make_unique<PhysicalWordAnalysis>(&Settings());
        const QString a = S("고객번호1"), b = S("고객번호2"), col = S("CUST_NO"), def = S("고객을 식별하는 번호"),
                      ref = S("참고"), empty;
        engine->AddSourceRow(a, P(col), P(def), P(ref));
        engine->AddSourceRow(b, P(empty), P(def), nullptr);
        engine->AddSourceRow(S("주문"), nullptr, nullptr, nullptr);
        engine->Analyze();
        const QByteArray bytes = Save(*engine);

        WordInputMap read;
        const AnalysisDocument::Outcome outcome = AnalysisDocument::Parse(bytes, kind, read);
        ASSERT_TRUE(outcome.ok) << outcome.message.toStdString();
        ASSERT_EQ(read.size(), engine->Inputs().size());
        for (const auto& [key, original] : engine->Inputs()) {
            const WordAnalysisInput* back = read.find(key);
            ASSERT_NE(back, nullptr) << key.toStdString();
            EXPECT_EQ(back->name, original.name);
            EXPECT_EQ(back->AnalyzeTargetText(), original.AnalyzeTargetText());
            EXPECT_EQ(back->opposite, original.opposite);
            EXPECT_EQ(back->reference, original.reference);
            EXPECT_EQ(back->description, original.description);
            EXPECT_EQ(back->refCount, original.refCount);
            EXPECT_EQ(back->mapOpposites, original.mapOpposites);
            EXPECT_EQ(back->mapReferences, original.mapReferences);
            EXPECT_EQ(back->mapDescriptions, original.mapDescriptions);
        }
        // Saving what was read gives the same document.
        std::unique_ptr<WordAnalysis> again =
            kind == Kind::Logical ? std::unique_ptr<WordAnalysis>(new LogicalWordAnalysis(&Settings()))
                                  : std::unique_ptr<WordAnalysis>(new PhysicalWordAnalysis(&Settings()));
        again->Inputs() = read;
        again->Analyze();
        EXPECT_EQ(Save(*again), bytes);
    }
}

TEST(AnalysisDocument, MemberNamesAndTypesAreExact)
{
    LogicalWordAnalysis logical(&Settings());
    PhysicalWordAnalysis physical(&Settings());
    const QString name = S("고객번호"), other = S("CUST_NO");
    logical.AddSourceRow(name, P(other), nullptr, nullptr);
    logical.AddSourceRow(name, P(other), nullptr, nullptr);
    logical.AddSourceRow(name, P(other), nullptr, nullptr);
    physical.AddSourceRow(other, P(name), nullptr, nullptr);
    logical.Analyze();
    physical.Analyze();

    const QJsonObject l = QJsonDocument::fromJson(Save(logical)).object();
    const QJsonObject le = l.value(QStringLiteral("logical_word_analyze")).toArray().at(0).toObject();
    EXPECT_EQ(QStringList(le.keys()), QStringList({"AnalyzeTarget", "Attribute", "Column", "Description", "RefCount",
                                                   "Reference", "mapDescriptinons", "mapOpposites", "mapReferences"}));
    EXPECT_TRUE(le.value(QStringLiteral("RefCount")).isString());
    EXPECT_EQ(le.value(QStringLiteral("RefCount")).toString(), QStringLiteral("3"));
    EXPECT_EQ(le.value(QStringLiteral("mapOpposites")).toObject().value(other).toInt(), 3);
    EXPECT_TRUE(le.value(QStringLiteral("mapReferences")).isObject()); // empty, never absent

    const QJsonObject p = QJsonDocument::fromJson(Save(physical)).object();
    const QJsonObject pe = p.value(QStringLiteral("physical_word_analyze")).toArray().at(0).toObject();
    EXPECT_TRUE(pe.contains(QStringLiteral("mapOpposite")));
    EXPECT_FALSE(pe.contains(QStringLiteral("mapOpposites")));
    EXPECT_EQ(pe.value(QStringLiteral("Column")).toString(), other);
    EXPECT_EQ(pe.value(QStringLiteral("Attribute")).toString(), name);

    // Each reader reads only its own map member name.
    WordInputMap read;
    ASSERT_TRUE(AnalysisDocument::Parse(Json(R"({"physical_word_analyze":[{"Column":"C","mapOpposites":{"x":1},
        "mapOpposite":{"y":2}}]})"),
                                        Kind::Physical, read)
                    .ok);
    EXPECT_EQ(read.find(QStringLiteral("C"))->mapOpposites, (std::map<QString, int>{{QStringLiteral("y"), 2}}));

    DomainAnalysis domain(&Settings());
    const QString col = S("CUST_NO");
    domain.AddSourceRow(name, QStringLiteral("VARCHAR2(20)"), nullptr, nullptr, P(col), nullptr);
    domain.Analyze();
    const QJsonObject d = QJsonDocument::fromJson(Save(domain)).object();
    const QJsonObject de = d.value(QStringLiteral("domain_analyze")).toArray().at(0).toObject();
    EXPECT_EQ(QStringList(de.keys()), QStringList({"Attribute", "Column", "DataLength", "DataScale", "DataType",
                                                   "RefCount", "Reference", "mapColumns", "mapReferences"}));
    EXPECT_EQ(de.value(QStringLiteral("DataLength")).toString(), QStringLiteral("20"));

    CTermAnalysis term;
    term.SetAreaId(QStringLiteral("AREA01"));
    TermAnalysisTarget t;
    t.strName = name;
    t.strType = QStringLiteral("VARCHAR");
    t.strLength = QStringLiteral("20");
    term.SetTargets({t});
    const QJsonObject te = QJsonDocument::fromJson(AnalysisDocument::ToBytes(term)).object();
    EXPECT_EQ(te.value(QStringLiteral("term_analyze_area")).toString(), QStringLiteral("AREA01"));
    EXPECT_EQ(QStringList(te.value(QStringLiteral("term_analyze")).toArray().at(0).toObject().keys()),
              QStringList({"Attribute", "Column", "DataLength", "DataScale", "DataType", "Description", "Reference"}));
}

TEST(AnalysisDocument, EntriesReadAsDescribed)
{
    struct Case
    {
        const char* name;
        const char* json;
        const char* key;
        int refCount;
        std::map<QString, int> opposites;
        const char* column;
    };
    const std::vector<Case> cases = {
        {"RefCount missing", R"({"logical_word_analyze":[{"Attribute":"a"}]})", "a", 0, {}, ""},
        {"RefCount digits", R"({"logical_word_analyze":[{"Attribute":"a","RefCount":"12"}]})", "a", 12, {}, ""},
        {"RefCount leading digits", R"({"logical_word_analyze":[{"Attribute":"a","RefCount":"7x"}]})", "a", 7, {}, ""},
        {"RefCount as a number", R"({"logical_word_analyze":[{"Attribute":"a","RefCount":5}]})", "a", 0, {}, ""},
        {"wrong member types",
         R"({"logical_word_analyze":[{"Attribute":"a","Column":3,"mapOpposites":[1]}]})",
         "a",
         0,
         {},
         ""},
        {"non-objects skipped",
         R"({"logical_word_analyze":[null,1,"x",[],{"Attribute":"a","Column":"C"}]})",
         "a",
         0,
         {},
         "C"},
        {"absent key reads empty", R"({"logical_word_analyze":[{"Column":"C","RefCount":"2"}]})", "", 2, {}, "C"},
        {"duplicate keys merge",
         R"({"logical_word_analyze":[{"Attribute":"a","Column":"C1","RefCount":"2","mapOpposites":{"C1":2,"X":1}},
            {"Attribute":"a","Column":"C2","RefCount":"3","mapOpposites":{"X":9,"C2":3,"Y":"4"}}]})",
         "a",
         3,
         {{"C1", 2}, {"C2", 3}, {"X", 1}},
         "C2"},
    };
    for (const Case& c : cases) {
        WordInputMap read;
        const AnalysisDocument::Outcome outcome = AnalysisDocument::Parse(Json(c.json), Kind::Logical, read);
        ASSERT_TRUE(outcome.ok) << c.name << ": " << outcome.message.toStdString();
        ASSERT_EQ(read.size(), 1) << c.name;
        const WordAnalysisInput* entry = read.find(S(c.key));
        ASSERT_NE(entry, nullptr) << c.name;
        EXPECT_EQ(entry->refCount, c.refCount) << c.name;
        EXPECT_EQ(entry->mapOpposites, c.opposites) << c.name;
        EXPECT_EQ(entry->opposite, S(c.column)) << c.name;
    }

    DomainInputMap domains;
    ASSERT_TRUE(AnalysisDocument::Parse(Json(R"({"domain_analyze":[
        {"Attribute":"명","DataType":"VARCHAR2","DataLength":"20","RefCount":"1"},
        {"Attribute":"명","DataType":"VARCHAR2","DataLength":"40","RefCount":"1"},
        {"Attribute":"명","DataType":"VARCHAR2","DataLength":"40","DataScale":"","RefCount":"2"}]})"),
                                        domains)
                    .ok);
    ASSERT_EQ(domains.size(), 2);
    const DomainAnalysisTarget* forty = domains.find(S("명+VARCHAR2+40+"));
    ASSERT_NE(forty, nullptr); // an empty scale still gives its separator
    EXPECT_EQ(forty->refCount, 2);
    EXPECT_EQ(forty->length, QStringLiteral("40"));
}

TEST(AnalysisDocument, RefusalsLeaveTheFormUntouched)
{
    QTemporaryDir dir;
    auto write = [&](const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    };
    QStringEncoder toUtf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const QByteArray wide = toUtf16(S(R"({"logical_word_analyze":[{"Attribute":"넓은"}]})"));
    struct Case
    {
        const char* name;
        Kind kind;
        QByteArray bytes;
        QString message; // empty: the parser's text
    };
    const std::vector<Case> cases = {
        {"physical document in the logical form", Kind::Logical, R"({"physical_word_analyze":[]})",
         ExchangeTexts::kNotLogicalDocument},
        {"logical document in the physical form", Kind::Physical, R"({"logical_word_analyze":[]})",
         ExchangeTexts::kNotPhysicalDocument},
        {"root member of the wrong type", Kind::Logical, R"({"logical_word_analyze":{}})",
         ExchangeTexts::kNotLogicalDocument},
        {"not an object", Kind::Logical, "[1,2]", ExchangeTexts::kNotLogicalDocument},
        {"malformed JSON", Kind::Logical, R"({"logical_word_analyze":[)", {}},
        {"not UTF-8", Kind::Logical, QByteArray("{\"logical_word_analyze\":[{\"Attribute\":\"\xC0\xFF\"}]}"), {}},
        {"empty file", Kind::Physical, QByteArray(), {}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<WordAnalysis> engine;
        if (c.kind == Kind::Logical)
            engine = std::make_unique<LogicalWordAnalysis>(&Settings());
        else
            engine = std::make_unique<PhysicalWordAnalysis>(&Settings());
        const QString col = QStringLiteral("CUST_NO");
        engine->AddSourceRow(S("고객번호"), P(col), nullptr, nullptr);
        engine->Analyze();
        engine->Designations().Designate(WordAnalysis::RoleName, 2);
        const WordInputMap before = engine->Inputs();
        const size_t results = engine->Results().size();

        const AnalysisDocument::Outcome outcome = AnalysisDocument::Read(*engine, write("doc.ztsx", c.bytes));
        EXPECT_FALSE(outcome.ok) << c.name;
        if (c.message.isEmpty()) {
            EXPECT_FALSE(outcome.message.isEmpty()) << c.name;
            EXPECT_FALSE(outcome.message.startsWith(QLatin1String("not "))) << c.name;
        } else {
            EXPECT_EQ(outcome.message, c.message) << c.name;
        }
        EXPECT_EQ(engine->Inputs().size(), before.size()) << c.name;
        EXPECT_EQ(engine->Results().size(), results) << c.name;
        EXPECT_EQ(engine->Designations().Column(WordAnalysis::RoleName), -1) << c.name; // reset before parsing
    }

    // A document written as UTF-16 with a byte order mark reads like UTF-8.
    LogicalWordAnalysis logical(&Settings());
    ASSERT_TRUE(AnalysisDocument::Read(logical, write("wide.ztsl", wide)).ok);
    EXPECT_TRUE(logical.Inputs().contains(S("넓은")));

    // An empty root array gives an empty input, which analyses to nothing.
    ASSERT_TRUE(AnalysisDocument::Read(logical, write("empty.ztsl", R"({"logical_word_analyze":[]})")).ok);
    EXPECT_TRUE(logical.Inputs().empty());
    logical.Analyze();
    EXPECT_TRUE(logical.Results().empty());
}

TEST(AnalysisDocument, TermDocumentsNeedTheirArea)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("terms.ztst"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(R"({"term_analyze":[{"Attribute":"고객번호","Column":"CUST_NO","DataType":"VARCHAR","DataLength":"20"},
                     {"Attribute":"고객번호","Column":"CUST_NO2"},{"Attribute":"주문일자"}],
                   "term_analyze_area":"A01"})");
    }
    CTermAnalysis term;
    TermAnalysisTarget kept;
    kept.strName = QStringLiteral("earlier");
    term.SetTargets({kept});

    // No repository connected: no resolver.
    AnalysisDocument::Outcome outcome = AnalysisDocument::Read(term, path, nullptr);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, ExchangeTexts::kNoStandardArea);
    outcome = AnalysisDocument::Read(term, path, [](const QString&) { return false; });
    EXPECT_EQ(outcome.message, ExchangeTexts::kNoStandardArea);
    EXPECT_EQ(term.Targets().size(), 1u);

    QString asked;
    outcome = AnalysisDocument::Read(term, path, [&](const QString& id) {
        asked = id;
        return true;
    });
    ASSERT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_EQ(asked, QStringLiteral("A01"));
    EXPECT_EQ(term.AreaId(), QStringLiteral("A01"));
    ASSERT_EQ(term.Targets().size(), 2u);
    EXPECT_EQ(term.Targets().at(S("고객번호")).strColumn, QStringLiteral("CUST_NO2")); // later overwrites

    // The area member must be a string.
    std::vector<TermAnalysisTarget> targets;
    QString area;
    EXPECT_EQ(AnalysisDocument::Parse(Json(R"({"term_analyze":[],"term_analyze_area":1})"), targets, area).message,
              ExchangeTexts::kNotTermDocument);
    EXPECT_EQ(AnalysisDocument::Parse(Json(R"({"term_analyze":[]})"), targets, area).message,
              ExchangeTexts::kNotTermDocument);
    // Written and read back.
    EXPECT_TRUE(AnalysisDocument::Parse(AnalysisDocument::ToBytes(term), targets, area).ok);
    EXPECT_EQ(area, QStringLiteral("A01"));
    EXPECT_EQ(targets.size(), 2u);
}

TEST(AnalysisDocument, NamesAndFilters)
{
    EXPECT_EQ(AnalysisDocument::SaveFilter(Kind::Domain), QStringLiteral("Doamin Analyzed Files(*.ztsd)|*.ztsd|"));
    EXPECT_EQ(AnalysisDocument::OpenFilter(Kind::Logical),
              QStringLiteral("Document Files(*.xlsx,*.xls,*.ztsl)|*.xlsx;*.xls;*.ztsl|"));
    EXPECT_TRUE(AnalysisDocument::IsDocumentPath(Kind::Term, QStringLiteral("/x/a.ZTST")));
    EXPECT_FALSE(AnalysisDocument::IsDocumentPath(Kind::Term, QStringLiteral("/x/a.ztsl")));
}
