#include "TestSupport.h"

#include <QDir>
#include <QFile>

#include "settings/AnalyzeSettings.h"

TempDataDir::TempDataDir()
{
    m_hadOld = qEnvironmentVariableIsSet("TERMWISE_DATA_DIR");
    m_old = qgetenv("TERMWISE_DATA_DIR");
    QDir(m_dir.path()).mkpath(QStringLiteral("standard"));
    qputenv("TERMWISE_DATA_DIR", m_dir.path().toUtf8());
}

TempDataDir::~TempDataDir()
{
    if (m_hadOld)
        qputenv("TERMWISE_DATA_DIR", m_old);
    else
        qunsetenv("TERMWISE_DATA_DIR");
}

QString TestDataPath(const QString& relative)
{
    return QStringLiteral(TERMWISE_TEST_DATA) + u'/' + relative;
}

QString ReadTextFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

void WriteTextFile(const QString& path, const QString& text)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text.toUtf8());
}

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {
// Hangul syllable text of a number, so logical names look like the real ones.
QString Syllables(quint32 n, int count)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        text += QChar(char16_t(0xAC00 + n % 11172));
        n = n / 7 + 2654435761u * (n + 1);
    }
    return text;
}
} // namespace

void FillDictionary(CAnalyzeSettings& s, int words)
{
    for (int i = 0; i < words; ++i) {
        // Every 5th physical name has a second logical name, every 7th logical name a second physical.
        const QString physical = QStringLiteral("W%1").arg(i % 5 == 1 ? i - 1 : i);
        const QString logical = i % 7 == 3 ? Syllables(quint32(i - 1), 3) : Syllables(quint32(i), 3);
        _stAnalyzeManageWord w;
        w.strPhyFullName = i % 13 == 0 ? QString() : QStringLiteral("WORD FULL NAME %1").arg(i);
        w.strDescription = i % 17 == 0  ? QStringLiteral("정의 \"따옴표\" \\ 줄\n바꿈 \U0001F600 %1").arg(i)
                           : i % 2 == 0 ? QStringLiteral("정의 %1").arg(i)
                                        : QString();
        w.nStandard = i % 10 == 4 ? 0 : 1;
        s.AddWord(physical, logical, w);
    }
    for (int i = 0; i < words / 10; ++i) {
        _stAnalyzeManageDomain d;
        d.strDataType = i % 3 == 0 ? QStringLiteral("NUMERIC") : QStringLiteral("VARCHAR");
        d.strLength = QString::number(i % 200 + 1);
        d.strScale = i % 3 == 0 ? QString::number(i % 5) : QString();
        s.m_mapDomains[Syllables(quint32(i % 400), 1) + QStringLiteral("명")][QStringLiteral("도메인%1").arg(i)] = d;
    }
    for (int i = 0; i < words / 50; ++i) {
        s.AddExceptWord(QStringLiteral("제외%1").arg(i));
        s.AddExceptDomain(QStringLiteral("제외도메인%1").arg(i));
    }
    s.Touch();
}
