#include "settings/AnalyzeSettings.h"

#include "components/OutputLog.h"
#include "components/QrWordExtractor.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

_stAnalyzeManageWord Word(const QString& full, const QString& desc = {}, int standard = 1)
{
    _stAnalyzeManageWord w;
    w.strPhyFullName = full;
    w.strDescription = desc;
    w.nStandard = standard;
    return w;
}

QJsonObject ReadJson(const QString& path)
{
    return QJsonDocument::fromJson(ReadTextFile(path).toUtf8()).object();
}

// Each test starts with an extractor that has seen no settings.
class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { CQrWordExtractor::DestoryInstance(); }
    void TearDown() override { CQrWordExtractor::DestoryInstance(); }
    QString Path() const { return m_dir.standardPath() + QStringLiteral("/termwise.json"); }
    TempDataDir m_dir;
};

} // namespace

TEST_F(SettingsTest, DefaultsAndPaths)
{
    CAnalyzeSettings s;
    EXPECT_EQ(s.seperator, QStringLiteral("_"));
    EXPECT_EQ(s.analyze_database, 1);
    EXPECT_EQ(s.analyze_sort_result + s.need_seperator + s.accept_synonym_words + s.domain_use_words +
                  s.term_analy_with_synonym + s.request_browser + s.word_request + s.domain_request + s.term_request,
              0);
    EXPECT_EQ(CAnalyzeSettings::SettingsPath(), Path());
    EXPECT_EQ(CAnalyzeSettings::DatabasePath(), m_dir.standardPath() + QStringLiteral("/termwise.db"));
    EXPECT_EQ(s.DataTypeKeywords().size(), 52u);
}

TEST_F(SettingsTest, WordIndexesStayMirrored)
{
    CAnalyzeSettings s;
    const quint64 r0 = s.Revision();
    s.AddWord(u"CUST"_qs, u"고객"_qs, Word(u"CUSTOMER"_qs));
    s.AddWord(u"CUST"_qs, u"손님"_qs, Word(u"CUSTOMER"_qs));
    s.AddWord(u"CLNT"_qs, u"고객"_qs, Word(u"CLIENT"_qs));
    s.AddWord(QString(), u"빈"_qs, Word(u"X"_qs)); // ignored
    EXPECT_GT(s.Revision(), r0);
    EXPECT_EQ(s.m_mapWordsByPhysical.size(), 2u);
    EXPECT_EQ(s.m_mapWordsByLogical.size(), 2u);

    QString name;
    ASSERT_TRUE(s.GetFirstLogicalName(u"CUST"_qs, name));
    EXPECT_EQ(name, u"고객"_qs); // lowest in code-unit order
    ASSERT_TRUE(s.GetFirstPhysicalName(u"고객"_qs, name));
    EXPECT_EQ(name, u"CLNT"_qs);
    EXPECT_FALSE(s.GetFirstLogicalName(QString(), name));
    EXPECT_FALSE(s.GetFirstPhysicalName(u"없음"_qs, name));

    s.RemoveWord(u"CUST"_qs, u"고객"_qs);
    s.RemoveWord(u"CUST"_qs, u"손님"_qs);
    EXPECT_EQ(s.m_mapWordsByPhysical.count(u"CUST"_qs), 0u); // emptied entries go
    EXPECT_EQ(s.m_mapWordsByLogical.count(u"손님"_qs), 0u);
    ASSERT_EQ(s.m_mapWordsByLogical.at(u"고객"_qs).size(), 1u);
    _stAnalyzeManageWord w;
    EXPECT_FALSE(s.GetWord(u"CUST"_qs, u"고객"_qs, w));
    ASSERT_TRUE(s.GetWord(u"CLNT"_qs, u"고객"_qs, w));
    EXPECT_EQ(w.strPhyFullName, u"CLIENT"_qs);

    // An excluded word may not be a logical word name.
    s.AddExceptWord(u"고객"_qs);
    s.AddExceptWord(u"의"_qs);
    s.AddExceptWord(QString());
    EXPECT_FALSE(s.IsExceptWord(u"고객"_qs));
    EXPECT_TRUE(s.IsExceptWord(u"의"_qs));
    EXPECT_EQ(s.m_setExceptWords.size(), 1u);
    s.ClearWords();
    EXPECT_TRUE(s.m_mapWordsByPhysical.empty() && s.m_mapWordsByLogical.empty());
}

TEST_F(SettingsTest, RevisionMovesWithEveryChange)
{
    CAnalyzeSettings s;
    _stAnalyzeManageDomain d;
    d.strDataType = u"VARCHAR"_qs;
    const std::function<void()> changes[] = {
        [&] { s.AddWord(u"CUST"_qs, u"고객"_qs, Word(u"C"_qs)); },
        [&] { s.RemoveWord(u"CUST"_qs, u"고객"_qs); },
        [&] { s.ClearWords(); },
        [&] { s.AddExceptWord(u"의"_qs); },
        [&] { s.AddDomain(u"명"_qs, u"명VC100"_qs, d); },
        [&] { s.AddExceptDomain(u"코드"_qs); },
        [&] { s.RemoveDomain(u"명"_qs, u"명VC100"_qs); },
        [&] {
            WriteTextFile(Path(), u"{}"_qs);
            s.Load();
        },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        const quint64 before = s.Revision();
        changes[i]();
        EXPECT_GT(s.Revision(), before) << "change " << i;
    }
    EXPECT_TRUE(s.m_mapDomains.empty()); // removing the last domain drops its key domain
    const quint64 before = s.Revision();
    _stAnalyzeManageWord w;
    s.GetWord(u"CUST"_qs, u"고객"_qs, w);
    s.IsExceptWord(u"의"_qs);
    s.AddExceptWord(u"의"_qs); // already there
    EXPECT_EQ(s.Revision(), before);
}

TEST_F(SettingsTest, Normalize)
{
    CAnalyzeSettings s;
    struct Case
    {
        QString sep, in, out;
        bool changed;
    };
    const Case cases[] = {
        {u"_"_qs, u"고객번호2"_qs, u"고객번호"_qs, true},
        {u"_"_qs, u"고객번호"_qs, u"고객번호"_qs, false},
        {u"_ -"_qs, u"고객 번호-코드01"_qs, u"고객_번호_코드"_qs, true},
        {u"."_qs, u"A.B_C"_qs, u"A_B_C"_qs, true},
        {QString(), u"A B"_qs, u"A B"_qs, false},
        {u"_"_qs, u"2024"_qs, u"2024"_qs, false}, // all digits: nothing to split off
        // A separator outside the BMP replaces itself only, not its neighbours sharing a half.
        {u"\U0001F600"_qs, u"A\U0001F600B\U0001F601"_qs, u"A_B\U0001F601"_qs, true},
        {u"\U0001F600"_qs.left(1), u"A\U0001F601"_qs, u"A\U0001F601"_qs, false},
    };
    for (const Case& c : cases) {
        s.seperator = c.sep;
        QString name = c.in;
        EXPECT_EQ(s.NormalizeAttributeName(name), c.changed) << c.in.toStdString();
        EXPECT_EQ(name, c.out) << c.in.toStdString();
    }
}

TEST_F(SettingsTest, LoadReadsEveryMemberAndSkipsWrongForms)
{
    WriteTextFile(Path(), uR"({
      "words": {"CUST": {"고객": ["CUSTOMER", "물건을 사는 사람"], "손님": ["X"]}, "BAD": 5,
                "NO": {"번호": ["NUMBER", ""]}},
      "nonestd_words": {"NO": ["번호", 3, "넘버"], "TMP": ["임시"]},
      "domains": {"명": {"명VC100": ["VARCHAR", "100", ""], "짧은": ["VARCHAR"]}, "X": []},
      "except_domains": ["명", "코드", ""],
      "except_words": ["고객", "의", 7],
      "seperator": "",
      "analyze_database": "abc",
      "analyze_sort_result": "1",
      "need_seperator": 1,
      "request_browser": "-1x",
      "user_tags": ["33", "40", "x"],
      "user_words": ["고객번호", 1]
    })"_qs);
    CAnalyzeSettings s;
    s.Load();
    _stAnalyzeManageWord w;
    ASSERT_TRUE(s.GetWord(u"CUST"_qs, u"고객"_qs, w));
    EXPECT_EQ(w, Word(u"CUSTOMER"_qs, u"물건을 사는 사람"_qs));
    EXPECT_FALSE(s.GetWord(u"CUST"_qs, u"손님"_qs, w)); // one element instead of two
    ASSERT_TRUE(s.GetWord(u"NO"_qs, u"번호"_qs, w));
    EXPECT_EQ(w, Word(u"NUMBER"_qs, QString(), 0));
    ASSERT_TRUE(s.GetWord(u"TMP"_qs, u"임시"_qs, w)); // created by its non-standard mark
    EXPECT_EQ(w, Word(QString(), QString(), 0));
    ASSERT_TRUE(s.GetWord(u"NO"_qs, u"넘버"_qs, w));
    EXPECT_EQ(s.m_mapWordsByLogical.at(u"임시"_qs).at(u"TMP"_qs).nStandard, 0);

    _stAnalyzeManageDomain d;
    ASSERT_TRUE(s.GetDomain(u"명"_qs, u"명VC100"_qs, d));
    EXPECT_EQ(d.strDataType, u"VARCHAR"_qs);
    EXPECT_EQ(d.strLength, u"100"_qs);
    EXPECT_FALSE(s.GetDomain(u"명"_qs, u"짧은"_qs, d));
    std::map<QString, _stAnalyzeManageDomain> domains;
    EXPECT_FALSE(s.GetDomains(u"X"_qs, domains)); // no entry survived, so no key domain

    EXPECT_FALSE(s.IsExceptDomain(u"명"_qs)); // a key domain cannot be excluded
    EXPECT_TRUE(s.IsExceptDomain(u"코드"_qs));
    EXPECT_FALSE(s.IsExceptWord(u"고객"_qs)); // a logical word cannot be excluded
    EXPECT_TRUE(s.IsExceptWord(u"의"_qs));
    EXPECT_EQ(s.m_setExceptWords.size(), 1u);

    EXPECT_EQ(s.seperator, QString());
    EXPECT_EQ(s.analyze_database, 0);
    EXPECT_EQ(s.analyze_sort_result, 1);
    EXPECT_EQ(s.need_seperator, 0); // a number, not a string: left as it was
    EXPECT_EQ(s.request_browser, -1);

    const auto* tags = CQrWordExtractor::GetInstance().GetTags();
    ASSERT_NE(tags, nullptr);
    EXPECT_EQ(*tags, (std::set<int>{0, 33, 40}));
    const auto* words = CQrWordExtractor::GetInstance().GetUserWords();
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(*words, (std::set<QString>{u"고객번호"_qs}));
}

TEST_F(SettingsTest, SaveWritesTheDocumentedForms)
{
    WriteTextFile(Path(), uR"({"words": {}, "nonestd_words": {"TMP": ["임시"]},
                               "except_words": ["의"], "analyze_database": "11"})"_qs);
    CAnalyzeSettings s;
    s.Load();
    s.AddWord(u"CUST"_qs, u"고객"_qs, Word(u"CUSTOMER"_qs, u"정의"_qs));
    ASSERT_TRUE(s.Save());
    const QJsonObject root = ReadJson(Path());
    EXPECT_EQ(root.value(u"words"_qs).toObject().value(u"TMP"_qs).toObject().value(u"임시"_qs).toArray(),
              (QJsonArray{QString(), QString()}));
    EXPECT_EQ(root.value(u"words"_qs).toObject().value(u"CUST"_qs).toObject().value(u"고객"_qs).toArray(),
              (QJsonArray{u"CUSTOMER"_qs, u"정의"_qs}));
    EXPECT_EQ(root.value(u"nonestd_words"_qs).toObject(), (QJsonObject{{u"TMP"_qs, QJsonArray{u"임시"_qs}}}));
    EXPECT_EQ(root.value(u"analyze_database"_qs), QJsonValue(u"11"_qs));
    EXPECT_EQ(root.value(u"seperator"_qs), QJsonValue(u"_"_qs));
    EXPECT_EQ(root.value(u"except_words"_qs).toArray(), (QJsonArray{u"의"_qs}));
    EXPECT_TRUE(root.value(u"except_domains"_qs).isArray());
    EXPECT_TRUE(root.value(u"domains"_qs).isObject());
    // The file had no user words or tags: neither member is written.
    EXPECT_FALSE(root.contains(u"user_words"_qs));
    EXPECT_FALSE(root.contains(u"user_tags"_qs));
    for (const char* key : {"word_request", "domain_request", "term_request"})
        EXPECT_FALSE(root.contains(QLatin1String(key)));
}

TEST_F(SettingsTest, MissingFileKeepsDefaultsAndLeavesTheExtractorAlone)
{
    CAnalyzeSettings s;
    OutputLogCapture log;
    s.Load();
    EXPECT_EQ(s.seperator, u"_"_qs);
    EXPECT_EQ(CQrWordExtractor::GetInstance().GetTags(), nullptr);
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(SettingsTest, UnreadableFileIsKeptBeforeTheFirstSave)
{
    const QString broken = u"{\"words\": {\"CUST\": {\"고객\": [\"CUSTOMER\", \"\"]}"_qs; // cut short
    WriteTextFile(Path(), broken);
    CAnalyzeSettings s;
    OutputLogCapture log;
    s.Load();
    EXPECT_TRUE(s.m_mapWordsByPhysical.empty());
    ASSERT_EQ(log.lines.size(), 1);

    ASSERT_TRUE(s.Save());
    const QStringList copies = QDir(m_dir.standardPath()).entryList({u"termwise.json.unreadable-*"_qs}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(QRegularExpression(u"^termwise\\.json\\.unreadable-\\d{14}$"_qs).match(copies[0]).hasMatch());
    EXPECT_EQ(ReadTextFile(m_dir.standardPath() + u'/' + copies[0]), broken);
    EXPECT_TRUE(ReadJson(Path()).contains(u"words"_qs));
    EXPECT_EQ(log.lines.size(), 2);

    // Only the first save keeps a copy.
    ASSERT_TRUE(s.Save());
    EXPECT_EQ(QDir(m_dir.standardPath()).entryList({u"termwise.json.unreadable-*"_qs}, QDir::Files).size(), 1);
}

TEST_F(SettingsTest, EveryUnreadableFormIsKeptBeforeTheFirstSave)
{
    const QString json = u"{\"except_words\": [\"의\"]}"_qs;
    const QByteArray utf16(reinterpret_cast<const char*>(json.utf16()), json.size() * 2);
    const QByteArray contents[] = {
        QByteArray("[\"의\"]"),         // JSON, but not an object
        QByteArray("\xFF\xFE") + utf16, // UTF-16 text from another editor
        QByteArray("{\"except_words\": [\"\xEC\x9D\x98\"]} trailing"),
    };
    for (const QByteArray& content : contents) {
        QDir(m_dir.standardPath()).removeRecursively();
        QDir().mkpath(m_dir.standardPath());
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        CAnalyzeSettings s;
        OutputLogCapture log;
        s.Load();
        ASSERT_TRUE(s.Save());
        const QStringList copies =
            QDir(m_dir.standardPath()).entryList({u"termwise.json.unreadable-*"_qs}, QDir::Files);
        ASSERT_EQ(copies.size(), 1) << content.toHex().left(40).constData();
        QFile copy(m_dir.standardPath() + u'/' + copies[0]);
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), content);
    }
}

namespace {
// Caps the size of files this process may write, like a disk that fills up mid-save.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit capped = m_old;
        capped.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};
} // namespace

TEST_F(SettingsTest, FailedSaveIsReportedAndTheOldFileStays)
{
    CAnalyzeSettings s;
    s.AddWord(u"CUST"_qs, u"고객"_qs, Word(u"CUSTOMER"_qs));
    ASSERT_TRUE(s.Save());
    const QString before = ReadTextFile(Path());

    for (int i = 0; i < 500; ++i)
        s.AddWord(u"W%1"_qs.arg(i), u"단어%1"_qs.arg(i), Word(u"WORD"_qs));
    OutputLogCapture log;
    bool saved = true;
    {
        FileSizeLimit limit(4096);
        saved = s.Save();
    }
    EXPECT_FALSE(saved);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(u"termwise.json"_qs));
    EXPECT_EQ(ReadTextFile(Path()), before);
    EXPECT_EQ(QDir(m_dir.standardPath()).entryList(QDir::Files), QStringList{u"termwise.json"_qs});

    // A folder that cannot be created is reported too.
    WriteTextFile(m_dir.file(u"plain"_qs), u"x"_qs);
    EXPECT_FALSE(s.SaveTo(m_dir.file(u"plain/standard/termwise.json"_qs)));
    EXPECT_EQ(log.lines.size(), 2);
}

TEST_F(SettingsTest, LargeDictionaryRoundTrip)
{
    CAnalyzeSettings original;
    FillDictionary(original, 50000);
    {
        std::set<int> tags{1, 33, 40};
        std::set<QString> words{u"고객번호"_qs, u"\"인용\""_qs};
        CQrWordExtractor::GetInstance().SetTags(&tags);
        CQrWordExtractor::GetInstance().SetUserWords(&words);
    }
    original.seperator = u"_ -"_qs;
    original.analyze_database = 11;
    original.need_seperator = 1;
    ASSERT_TRUE(original.Save());
    const QString firstText = ReadTextFile(Path());
    CQrWordExtractor::DestoryInstance();

    CAnalyzeSettings loaded;
    loaded.Load();
    size_t entries = 0;
    for (const auto& [physical, inner] : loaded.m_mapWordsByPhysical)
        entries += inner.size();
    ASSERT_GE(entries, 48000u);
    EXPECT_EQ(loaded.m_mapWordsByPhysical, original.m_mapWordsByPhysical);
    EXPECT_EQ(loaded.m_mapWordsByLogical, original.m_mapWordsByLogical);
    EXPECT_EQ(loaded.m_mapDomains, original.m_mapDomains);
    EXPECT_EQ(loaded.m_setExceptWords, original.m_setExceptWords);
    EXPECT_EQ(loaded.m_setExceptDomains, original.m_setExceptDomains);
    EXPECT_EQ(loaded.seperator, original.seperator);
    EXPECT_EQ(loaded.analyze_database, 11);
    EXPECT_EQ(loaded.need_seperator, 1);
    EXPECT_EQ(*CQrWordExtractor::GetInstance().GetTags(), (std::set<int>{1, 33, 40}));
    EXPECT_EQ(CQrWordExtractor::GetInstance().GetUserWords()->size(), 2u);

    size_t nonStandard = 0;
    for (const auto& [physical, inner] : loaded.m_mapWordsByPhysical)
        for (const auto& [logical, word] : inner)
            nonStandard += word.nStandard == 0;
    EXPECT_GT(nonStandard, 4000u);

    // Saving what was loaded writes the same text again.
    ASSERT_TRUE(loaded.Save());
    EXPECT_EQ(ReadTextFile(Path()), firstText);
}
