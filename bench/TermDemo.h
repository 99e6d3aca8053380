#pragma once
// The demo standard on a fresh SQLite repository ("AR") and 10,000 attribute names made from
// its words: the term benchmarks of the engine and of the form share them.
#include "analysis/TermAnalysis.h"
#include "components/QrDatabaseManager.h"
#include "components/QrDatatype.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"
#include "settings/AnalyzeSettings.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <map>
#include <random>
#include <set>

namespace {

constexpr int kAttributes = 10000;
constexpr int kReferenceAttributes = 300;

struct Demo
{
    QTemporaryDir dir;
    bool ok = false;
    std::vector<TermAnalysisTarget> targets;

    Demo()
    {
        CRepositoryConnection& connection = CRepositoryConnection::Instance();
        QString error;
        RepositoryInitSummary summary;
        ok = connection.Open(QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("demo.db")), &error, true) &&
             CreateRepositorySchema(*connection.Database(), summary, error) &&
             LoadDemoStandard(*connection.Database(), summary, error);
        if (!ok) {
            std::fprintf(stderr, "demo repository: %s\n", error.toLocal8Bit().constData());
            return;
        }
        connection.OnRepositoryConnected();
        MakeTargets();
    }

    // Attribute names of two to four demo words, the last mostly a class word; some with an
    // unknown run, some with a synonym, some repeated registered terms.
    void MakeTargets()
    {
        QStringList words, classWords, synonyms;
        QSqlQuery q(CQrDatabaseManager::GetInstance().Database(QStringLiteral("AR")));
        q.exec(QStringLiteral("SELECT DIC_LOG_NM, ATTR_CLSS_YN, STANDARD_YN FROM STD_DIC WHERE STD_AREA_ID = 'ENT' "
                              "AND DIC_GBN_CD = '0001' AND AVAL_END_DT = '99991231235959'"));
        while (q.next()) {
            const QString name = q.value(0).toString();
            if (q.value(2).toString() != QLatin1String("Y"))
                synonyms.append(name);
            else if (q.value(1).toString() == QLatin1String("Y"))
                classWords.append(name);
            else
                words.append(name);
        }
        QStringList terms;
        q.exec(QStringLiteral("SELECT DIC_LOG_NM FROM STD_DIC WHERE STD_AREA_ID = 'ENT' AND DIC_GBN_CD = '0002' "
                              "AND AVAL_END_DT = '99991231235959'"));
        while (q.next())
            terms.append(q.value(0).toString());
        // The types of each key domain's domains, so that most attributes can find one.
        std::map<QString, std::vector<std::array<QString, 3>>> domainTypes;
        q.exec(QStringLiteral("SELECT KEY_DOM_NM, DATA_TYPE_CD, DATA_LEN, DATA_SCALE FROM STD_DOM WHERE STD_AREA_ID = "
                              "'ENT' AND AVAL_END_DT = '99991231235959'"));
        while (q.next())
            domainTypes[q.value(0).toString()].push_back({QrDatatype::GetLogicalDataTypeName(q.value(1).toString()),
                                                          q.value(2).toString(), q.value(3).toString()});
        if (words.isEmpty() || classWords.isEmpty())
            return;
        std::mt19937 random(7);
        auto pick = [&](const QStringList& list) { return list[int(random() % quint32(list.size()))]; };
        const QStringList types = {QStringLiteral("VARCHAR"), QStringLiteral("NUMERIC"), QStringLiteral("CHAR"),
                                   QStringLiteral("DATE")};
        std::set<QString> seen;
        while (int(targets.size()) < kAttributes) {
            QString name;
            const quint32 kind = random() % 20;
            if (kind == 0 && !terms.isEmpty()) {
                name = pick(terms) + QString::number(targets.size()); // the number is cut off again
            } else {
                const int count = 1 + int(random() % 3);
                for (int i = 0; i < count; ++i)
                    name += (kind == 1 && i == 0 && !synonyms.isEmpty()) ? pick(synonyms) : pick(words);
                if (kind == 2)
                    name += QStringLiteral("가나");
                name += kind == 3 ? pick(words) : pick(classWords);
            }
            CAnalyzeSettings::Instance().NormalizeAttributeName(name);
            if (!seen.insert(name).second) {
                name += pick(classWords);
                if (!seen.insert(name).second)
                    continue;
            }
            TermAnalysisTarget t;
            t.strName = name;
            t.strType = types[int(random() % 4)];
            t.strLength = t.strType == QLatin1String("DATE") ? QString() : QString::number(10 * (1 + random() % 10));
            for (const auto& [key, list] : domainTypes) {
                if (random() % 10 < 7 && name.endsWith(key)) {
                    const auto& d = list[random() % list.size()];
                    t.strType = d[0];
                    t.strLength = d[1] == QLatin1String("0") ? QString() : d[1];
                    t.strScale = d[2] == QLatin1String("0") ? QString() : d[2];
                    break;
                }
            }
            t.strDisplayType = t.strType + u'(' + t.strLength + u')';
            targets.push_back(t);
        }
    }
};

Demo& TheDemo()
{
    static Demo demo;
    return demo;
}

} // namespace
