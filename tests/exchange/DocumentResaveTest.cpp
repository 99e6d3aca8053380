// Re-saving odd documents (repeated entry keys, repeated members, unknown members, escapes,
// non-objects) gives the bytes the first, DOM-based writer gave; they are kept beside the
// inputs as *.resaved. TERMWISE_RECORD_FIXTURES=1 writes them anew (and fails the run).
#include "analysis/DomainAnalysis.h"
#include "analysis/LogicalWordAnalysis.h"
#include "analysis/PhysicalWordAnalysis.h"
#include "analysis/TermAnalysis.h"
#include "exchange/AnalysisDocument.h"
#include "settings/AnalyzeSettings.h"

#include <QFile>
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
