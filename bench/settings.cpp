// Load and save of a 50,000-word dictionary, against a straightforward reference that goes
// through QVariantMap (the obvious way to turn nested maps into JSON with Qt).
#include "components/QrWordExtractor.h"
#include "settings/AnalyzeSettings.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kWords = 50000;

QString Syllables(quint32 n, int count)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        text += QChar(char16_t(0xAC00 + n % 11172));
        n = n / 7 + 2654435761u * (n + 1);
    }
    return text;
}

void Fill(CAnalyzeSettings& s)
{
    for (int i = 0; i < kWords; ++i) {
        _stAnalyzeManageWord w;
        w.strPhyFullName = QStringLiteral("WORD FULL NAME %1").arg(i);
        w.strDescription = i % 2 ? QStringLiteral("단어 %1의 정의").arg(i) : QString();
        w.nStandard = i % 10 == 4 ? 0 : 1;
        s.AddWord(QStringLiteral("W%1").arg(i % 5 == 1 ? i - 1 : i), Syllables(quint32(i), 3), w);
    }
    for (int i = 0; i < kWords / 10; ++i) {
        _stAnalyzeManageDomain d;
        d.strDataType = QStringLiteral("VARCHAR");
        d.strLength = QString::number(i % 200 + 1);
        s.m_mapDomains[Syllables(quint32(i % 400), 1) + QStringLiteral("명")][QStringLiteral("도메인%1").arg(i)] = d;
    }
    for (int i = 0; i < kWords / 50; ++i) {
        s.AddExceptWord(QStringLiteral("제외%1").arg(i));
        s.AddExceptDomain(QStringLiteral("제외도메인%1").arg(i));
    }
}

struct Fixture
{
    QTemporaryDir dir;
    QString path;
    CAnalyzeSettings settings;
    Fixture()
    {
        path = dir.filePath(QStringLiteral("termwise.json"));
        Fill(settings);
        settings.SaveTo(path);
    }
};

Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

// Reference: the words and marks as nested QVariantMaps, converted in one call each way.
void ReferenceSave(const CAnalyzeSettings& s, const QString& path)
{
    QVariantMap words, marks, domains;
    for (const auto& [physical, inner] : s.m_mapWordsByPhysical) {
        QVariantMap logicals;
        QVariantList nonStandard;
        for (const auto& [logical, w] : inner) {
            logicals.insert(logical, QVariantList{w.strPhyFullName, w.strDescription});
            if (w.nStandard == 0)
                nonStandard << logical;
        }
        words.insert(physical, logicals);
        if (!nonStandard.isEmpty())
            marks.insert(physical, nonStandard);
    }
    for (const auto& [key, inner] : s.m_mapDomains) {
        QVariantMap names;
        for (const auto& [name, d] : inner)
            names.insert(name, QVariantList{d.strDataType, d.strLength, d.strScale});
        domains.insert(key, names);
    }
    QVariantMap root{{QStringLiteral("words"), words},
                     {QStringLiteral("nonestd_words"), marks},
                     {QStringLiteral("domains"), domains}};
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(QJsonDocument::fromVariant(root).toJson());
}

std::unique_ptr<CAnalyzeSettings> ReferenceLoad(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QVariantMap root = QJsonDocument::fromJson(file.readAll()).toVariant().toMap();
    auto result = std::make_unique<CAnalyzeSettings>();
    CAnalyzeSettings& s = *result;
    const QVariantMap words = root.value(QStringLiteral("words")).toMap();
    for (auto it = words.begin(); it != words.end(); ++it) {
        const QVariantMap inner = it.value().toMap();
        for (auto jt = inner.begin(); jt != inner.end(); ++jt) {
            const QVariantList pair = jt.value().toList();
            if (pair.size() != 2)
                continue;
            _stAnalyzeManageWord w;
            w.strPhyFullName = pair[0].toString();
            w.strDescription = pair[1].toString();
            s.AddWord(it.key(), jt.key(), w);
        }
    }
    const QVariantMap marks = root.value(QStringLiteral("nonestd_words")).toMap();
    for (auto it = marks.begin(); it != marks.end(); ++it)
        for (const QVariant& v : it.value().toList()) {
            _stAnalyzeManageWord w;
            s.GetWord(it.key(), v.toString(), w);
            w.nStandard = 0;
            s.AddWord(it.key(), v.toString(), w);
        }
    const QVariantMap domains = root.value(QStringLiteral("domains")).toMap();
    for (auto it = domains.begin(); it != domains.end(); ++it) {
        const QVariantMap inner = it.value().toMap();
        for (auto jt = inner.begin(); jt != inner.end(); ++jt) {
            const QVariantList t = jt.value().toList();
            if (t.size() != 3)
                continue;
            _stAnalyzeManageDomain d;
            d.strDataType = t[0].toString();
            d.strLength = t[1].toString();
            d.strScale = t[2].toString();
            s.m_mapDomains[it.key()][jt.key()] = d;
        }
    }
    return result;
}

void BM_SettingsLoad(benchmark::State& state)
{
    Fixture& f = Shared();
    for (auto _ : state) {
        auto s = std::make_unique<CAnalyzeSettings>();
        s->LoadFrom(f.path);
        benchmark::DoNotOptimize(s->m_mapWordsByPhysical.size());
        // The program loads once and keeps the object; freeing it is not part of a load.
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
    state.counters["words"] = double(kWords);
}

void BM_SettingsSave(benchmark::State& state)
{
    Fixture& f = Shared();
    const QString path = f.dir.filePath(QStringLiteral("save.json"));
    for (auto _ : state)
        benchmark::DoNotOptimize(f.settings.SaveTo(path));
    state.counters["bytes"] = double(QFile(path).size());
}

void BM_ReferenceLoad(benchmark::State& state)
{
    Fixture& f = Shared();
    for (auto _ : state) {
        auto s = ReferenceLoad(f.path);
        benchmark::DoNotOptimize(s->m_mapWordsByPhysical.size());
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
}

void BM_ReferenceSave(benchmark::State& state)
{
    Fixture& f = Shared();
    const QString path = f.dir.filePath(QStringLiteral("reference.json"));
    for (auto _ : state)
        ReferenceSave(f.settings, path);
}

} // namespace

BENCHMARK(BM_SettingsLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReferenceLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SettingsSave)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReferenceSave)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
