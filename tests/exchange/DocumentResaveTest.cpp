// Re-saving odd documents (repeated entry keys, repeated members, unknown members, escapes,
// non-objects) gives the bytes the first, DOM-based writer gave; they are kept beside the
// inputs as *.resaved. TERMWISE_RECORD_FIXTURES=1 writes them anew (and fails the run).
#include "analysis/DomainAnalysis.h"
#include "analysis/LogicalWordAnalysis.h"
#include "analysis/PhysicalWordAnalysis.h"
#include "analysis/TermAnalysis.h"
#include "components/JsonTextWriter.h"
#include "exchange/AnalysisDocument.h"
#include "exchange/AnalysisResultJson.h"
#include "exchange/DocumentReader.h"
#include "settings/AnalyzeSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using AnalysisDocument::Kind;

namespace {

const QString kDir = QStringLiteral(TERMWISE_TEST_DATA "/documents/");

QByteArray Load(const QString& name)
{
    QFile file(kDir + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Compare(const QString& name, const QByteArray& saved)
{
    if (qEnvironmentVariableIsSet("TERMWISE_RECORD_FIXTURES")) {
        QFile file(kDir + name + QStringLiteral(".resaved"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(saved);
        FAIL() << "recorded " << name.toStdString();
    }
    const QByteArray expected = Load(name + QStringLiteral(".resaved"));
    ASSERT_FALSE(expected.isEmpty()) << name.toStdString();
    EXPECT_EQ(saved, expected) << name.toStdString();
}

} // namespace

TEST(AnalysisDocument, OddDocumentsResaveAsTheFirstWriterDid)
{
    CAnalyzeSettings settings;
    _stAnalyzeManageWord word;
    settings.AddWord(QStringLiteral("CUST"), QStringLiteral("고객"), word);
    settings.AddWord(QStringLiteral("NO"), QStringLiteral("번호"), word);

    for (const Kind kind : {Kind::Logical, Kind::Physical}) {
        const QString name = kind == Kind::Logical ? QStringLiteral("odd.ztsl") : QStringLiteral("odd.ztsp");
        WordInputMap inputs;
        const AnalysisDocument::Outcome read = AnalysisDocument::Parse(Load(name), kind, inputs);
        ASSERT_TRUE(read.ok) << read.message.toStdString();
        LogicalWordAnalysis logical(&settings);
        PhysicalWordAnalysis physical(&settings);
        WordAnalysis& engine = kind == Kind::Logical ? static_cast<WordAnalysis&>(logical) : physical;
        engine.Inputs() = std::move(inputs);
        engine.Analyze();
        Compare(name, AnalysisDocument::ToBytes(engine));
    }

    DomainInputMap domains;
    ASSERT_TRUE(AnalysisDocument::Parse(Load(QStringLiteral("odd.ztsd")), domains).ok);
    DomainAnalysis domain(&settings);
    domain.Inputs() = std::move(domains);
    domain.Analyze();
    Compare(QStringLiteral("odd.ztsd"), AnalysisDocument::ToBytes(domain));

    std::vector<TermAnalysisTarget> terms;
    QString area;
    ASSERT_TRUE(AnalysisDocument::Parse(Load(QStringLiteral("odd.ztst")), terms, area).ok);
    CTermAnalysis term;
    term.SetAreaId(area);
    term.SetTargets(terms);
    Compare(QStringLiteral("odd.ztst"), AnalysisDocument::ToBytes(term));
}

namespace {

QByteArray WithNul()
{
    static const char text[] = "{\"logical_word_analyze\":[{\"Attribute\":\"a\0b\"}]}";
    return QByteArray(text, sizeof(text) - 1);
}

// Enough of the entries to see where two readings part.
std::string Describe(const WordInputMap& map)
{
    QString text;
    for (const auto& [key, e] : map) {
        text += key + u'|' + e.AnalyzeTargetText() + u'|' + e.opposite + u'|' + QString::number(e.refCount);
        for (const auto* counts : {&e.mapOpposites, &e.mapReferences, &e.mapDescriptions}) {
            text += u'{';
            for (const auto& [name, count] : *counts)
                text += name + u'=' + QString::number(count) + u',';
            text += u'}';
        }
        text += u'\n';
    }
    return text.toStdString();
}

bool SameWords(const WordInputMap& a, const WordInputMap& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a.keyAt(i) != b.keyAt(i) || !(a.at(i) == b.at(i)))
            return false;
    return true;
}

bool SameDomains(const DomainInputMap& a, const DomainInputMap& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a.keyAt(i) != b.keyAt(i) || !(a.at(i) == b.at(i)))
            return false;
    return true;
}

bool SameTerms(const std::vector<TermAnalysisTarget>& a, const std::vector<TermAnalysisTarget>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].strName != b[i].strName || a[i].strColumn != b[i].strColumn ||
            a[i].strReference != b[i].strReference || a[i].strType != b[i].strType ||
            a[i].strLength != b[i].strLength || a[i].strScale != b[i].strScale ||
            a[i].strDefinition != b[i].strDefinition || a[i].strDisplayType != b[i].strDisplayType)
            return false;
    return true;
}

// Parse gives what ParseDom gives: entries, refusals and messages, for every kind.
void ExpectDomReading(const QByteArray& text, const std::string& label)
{
    for (const Kind kind : {Kind::Logical, Kind::Physical}) {
        WordInputMap fast, dom;
        const AnalysisDocument::Outcome a = AnalysisDocument::Parse(text, kind, fast);
        const AnalysisDocument::Outcome b = AnalysisDocument::ParseDom(text, kind, dom);
        EXPECT_EQ(a.ok, b.ok) << label;
        EXPECT_EQ(a.message, b.message) << label;
        EXPECT_TRUE(SameWords(fast, dom)) << label << "\n" << Describe(fast) << "--\n" << Describe(dom);
    }
    DomainInputMap fastDomains, domDomains;
    const AnalysisDocument::Outcome a = AnalysisDocument::Parse(text, fastDomains);
    const AnalysisDocument::Outcome b = AnalysisDocument::ParseDom(text, domDomains);
    EXPECT_EQ(a.message, b.message) << label;
    EXPECT_TRUE(SameDomains(fastDomains, domDomains)) << label;
    std::vector<TermAnalysisTarget> fastTerms, domTerms;
    QString fastArea, domArea;
    EXPECT_EQ(AnalysisDocument::Parse(text, fastTerms, fastArea).message,
              AnalysisDocument::ParseDom(text, domTerms, domArea).message)
        << label;
    EXPECT_TRUE(SameTerms(fastTerms, domTerms)) << label;
    EXPECT_EQ(fastArea, domArea) << label;
}

} // namespace

// The one-pass reader reads every text as the DOM reader does, or leaves it to it: the same
// entries, the same refusals, the same messages.
TEST(AnalysisDocument, OnePassReaderAgreesWithTheDomReader)
{
    const QByteArray deep =
        QByteArray("{\"logical_word_analyze\":[{\"x\":") + QByteArray(1021, '[') + QByteArray(1021, ']') + "}]}";
    const QByteArray deeper =
        QByteArray("{\"logical_word_analyze\":[{\"x\":") + QByteArray(1022, '[') + QByteArray(1022, ']') + "}]}";
    const std::vector<QByteArray> texts = {
        Load(QStringLiteral("odd.ztsl")),
        Load(QStringLiteral("odd.ztsp")),
        Load(QStringLiteral("odd.ztsd")),
        Load(QStringLiteral("odd.ztst")),
        R"({"logical_word_analyze":[{"Attribute":"a"}],"logical_word_analyze":{}})",
        R"({"logical_word_analyze":3,"logical_word_analyze":[{"Attribute":"b","mapOpposites":{"x":1,"x":"y"}}]})",
        R"({"logical_word_analyze":[{"Attribute":"a","mapOpposites":{"x":1},"mapOpposites":2}]})",
        R"({"logical_word_analyze":[{"Attribute":"a","Column":"c","Column":{"k":[1]}}]})",
        R"({"logical_word_analyze":[{"Attribute":"\x"}]})", // an escape only Qt takes
        R"({"logical_word_analyze":[{"Attribute":"a","RefCount":1.}]})",
        "{\"logical_word_analyze\":[{\"Attribute\":\"a\x01\tb\"}]}", // raw control characters
        WithNul(),
        R"({"logical_word_analyze":[{"Attribute":"\udc00\ud800x"}]})",
        R"({"logical_word_analyze":[{"Attribute":"\ud83d\ude00"}]})",
        R"({"logical_word_analyze":[{"mapOpposites":{"a":1e400}}]})",
        R"({"logical_word_analyze":[{"mapOpposites":{"a":-9223372036854775809,"b":1.9,"c":4294967296}}]})",
        R"({"logical_word_analyze":[],"term_analyze":[],"term_analyze_area":"A","domain_analyze":[]})",
        R"({"physical_word_analyze":[{"Column":"c"}]} x)",
        R"({"logical_word_analyze":[1,]})",
        "\xEF\xBB\xBF{\"logical_word_analyze\":[{\"Attribute\":\"bom\"}]}",
        "{\"logical_word_analyze\":[{\"Attribute\":\"\xED\xA0\x80\"}]}",
        "{\"logical_word_analyze\":[{\"Attribute\":\"\xE0\x80\xAF\"}]}", // overlong
        "{\"logical_word_analyze\":[{\"Attribute\":\"\xEA\xB0\"}]}",     // cut short
        "{\"logical_word_analyze\":[{\"Attribute\":\"\xED\x9F\xBF\xEF\xBF\xBF\xE0\xA0\x80\"}]}", // the edges
        "[{\"Attribute\":\"a\"}]",
        "\"logical_word_analyze\"",
        "",
        deep,
        deeper,
    };
    for (size_t i = 0; i < texts.size(); ++i)
        ExpectDomReading(texts[i], std::to_string(i));
}

// Large texts are read in two halves at once; whatever falls at the cut, the reading is the
// DOM reader's: keys in both halves keep the last texts and the earliest counts.
TEST(AnalysisDocument, ReadingInTwoAgreesWithTheDomReader)
{
    const auto big = [](const QByteArray& middle, const QByteArray& tail = {},
                        const char* space = "\n        ") -> QByteArray {
        QByteArray text = QByteArray("{\"logical_word_analyze\": [") + space;
        constexpr int kEntries = 7000;
        for (int i = 0; i < kEntries; ++i) {
            const QByteArray n = QByteArray::number(i % 4000), m = QByteArray::number(i);
            text += "{\"Attribute\": \"이름" + n + "\", \"Column\": \"COL_" + n + "\", \"DataType\": \"CHAR\", " +
                    "\"Description\": \"정의 " + m + "\", \"RefCount\": \"" + m + "\", \"mapOpposites\": {\"C" + m +
                    "\": 1, \"C" + n + "\": 2}, \"mapOpposite\": {\"A" + m + "\": 3}, \"mapColumns\": {\"K" + n +
                    "\": " + m + "}, \"mapReferences\": {\"R" + m + "\": 1}}";
            if (i == kEntries / 2)
                text += middle;
            text += i + 1 < kEntries ? QByteArray(",") + space : QByteArray(space);
        }
        return text + "]" + tail + "}";
    };
    // The padding puts the middle of the text, where the cut is looked for, just before what follows it.
    const QByteArray pad = ", {\"Reference\": \"" + QByteArray(1 << 16, 'p') + "\"";
    const QByteArray cut = pad + "}";
    const std::vector<std::pair<const char*, QByteArray>> texts = {
        {"plain", big(cut)},
        {"no spaces", big(cut, {}, "")},
        {"a cut inside a text", big(pad + ", \"Attribute\": \"}, {}, {\"}")},
        {"a cut inside an entry", big(pad + ", \"nested\": [{}, {}, {\"a\": [{}, {}]}], \"Attribute\": \"x\"}")},
        {"an escape only Qt takes after the cut", big(cut + ", {\"Attribute\": \"\\x\"}")},
        {"a syntax error after the cut", big(cut + ", {\"Attribute\": \"x\",}")},
        {"bad UTF-8 after the cut", big(cut + ", {\"Attribute\": \"\xC0\xAF\"}")},
        {"members after the root", big(cut, ", \"other\": [{}, {}]")},
        {"the root again after it", big(cut, ", \"logical_word_analyze\": [{\"Attribute\": \"last\"}]")},
        {"the root replaced after it", big(cut, ", \"logical_word_analyze\": 1")},
    };
    for (const auto& [name, text] : texts)
        ExpectDomReading(text, name);

    DocumentReader::Handlers first, second;
    int before = 0, after = 0;
    first.restart = second.restart = [] {};
    first.entry = [&](const DocumentReader::Entry&) { ++before; };
    second.entry = [&](const DocumentReader::Entry&) { ++after; };
    bool split = false;
    EXPECT_EQ(DocumentReader::ReadSplit(texts[0].second, QStringLiteral("logical_word_analyze"), first, second, split),
              DocumentReader::Result::Ok);
    EXPECT_TRUE(split);
    EXPECT_EQ(before + after, 7001); // with the padding entry
    EXPECT_GT(after, 3000);

    // A file large enough to be read from disk in two halves gives the same entries.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.ztsl"));
    const QByteArray large = big(", {\"Reference\": \"" + QByteArray(9 << 20, 'r') + "\"}");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(large) == large.size());
    file.close();
    CAnalyzeSettings settings;
    LogicalWordAnalysis engine(&settings);
    WordInputMap expected;
    ASSERT_TRUE(AnalysisDocument::Read(engine, path).ok);
    ASSERT_TRUE(AnalysisDocument::Parse(large, Kind::Logical, expected).ok);
    EXPECT_EQ(engine.Inputs().size(), 4001);
    EXPECT_TRUE(SameWords(engine.Inputs(), expected));
}

// The command line's JSON result, written as it is made, is the text the JSON tree gave.
TEST(AnalysisResultJson, StreamedTextIsTheTreeText)
{
    CAnalyzeSettings settings;
    _stAnalyzeManageWord word;
    word.strDescription = QStringLiteral("\"정의\"\t");
    settings.AddWord(QStringLiteral("CUST"), QStringLiteral("고객"), word);
    settings.AddWord(QStringLiteral("NO"), QStringLiteral("번호"), word);
    const QString odd = QStringLiteral("고객\\번호\x01") + QChar(0xD800);
    const QString column = QStringLiteral("CUST_NO");
    for (const Kind kind : {Kind::Logical, Kind::Physical}) {
        LogicalWordAnalysis logical(&settings);
        PhysicalWordAnalysis physical(&settings);
        WordAnalysis& engine = kind == Kind::Logical ? static_cast<WordAnalysis&>(logical) : physical;
        engine.Splitter().SetFallback({});
        for (const QString& name : {odd, QStringLiteral("고객번호"), QStringLiteral("CUST_NO"), QStringLiteral("가나")})
            engine.AddSourceRow(name, &column, &odd, nullptr);
        engine.Analyze();
        CJsonTextWriter writer;
        WriteAnalysisResultJson(writer, engine);
        writer.Finish();
        EXPECT_EQ(writer.Bytes(), AnalysisResultJsonBytes(AnalysisResultJson(engine)));
    }
    DomainAnalysis domain(&settings);
    const QString length = QStringLiteral("10");
    for (const QString& name : {odd, QStringLiteral("고객번호"), QStringLiteral("가나")})
        domain.AddSourceRow(name, QStringLiteral("VARCHAR2"), &length, nullptr, &column, &odd);
    domain.Analyze();
    CJsonTextWriter writer;
    WriteAnalysisResultJson(writer, domain);
    writer.Finish();
    EXPECT_EQ(writer.Bytes(), AnalysisResultJsonBytes(AnalysisResultJson(domain)));
}
