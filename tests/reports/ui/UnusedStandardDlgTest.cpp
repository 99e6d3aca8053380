// The unused-standards dialogs on the demo repository, connected as "AR" the way the window
// connects, on SQLite and on the PostgreSQL of scripts/with-postgres.
#include "reports/ui/UnusedStandardDlg.h"
#include "app/ui/AppTexts.h"
#include "app/ui/MainFrame.h"
#include "components/QrDatabaseManager.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"
#include "repository/ui/RepositoryUi.h"
#include "settings/AnalyzeSettings.h"
#include "support/FormTestKit.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <gtest/gtest.h>
#include <set>

namespace {

enum class Backend { Sqlite, Postgresql };

// A demo repository open as "AR"; on PostgreSQL in a schema of its own, dropped afterwards.
class DemoRepository
{
public:
    bool Open(Backend backend, QString& reason)
    {
        CRepositoryConnection::SetDictionaryInitializer([] {});
        QString uri;
        if (backend == Backend::Sqlite) {
            uri = QStringLiteral("sqlite:") + m_dir.file(QStringLiteral("demo.db"));
        } else {
            const QString server = qEnvironmentVariable("TERMWISE_TEST_PG");
            if (server.isEmpty()) {
                reason = QStringLiteral("TERMWISE_TEST_PG is not set: run the tests through scripts/with-postgres");
                return false;
            }
            RepositoryUri parsed;
            if (!ParseRepositoryUri(server, parsed, reason))
                return false;
            m_schema = QStringLiteral("tw_unused_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
            QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_schema);
            admin.setHostName(parsed.host);
            admin.setPort(parsed.port);
            admin.setDatabaseName(parsed.database);
            admin.setUserName(parsed.user);
            admin.setPassword(parsed.password);
            if (!admin.open() || !QSqlQuery(admin).exec(QStringLiteral("CREATE SCHEMA ") + m_schema)) {
                reason = admin.lastError().text();
                return false;
            }
            uri = server + QStringLiteral("?options=-csearch_path%3D") + m_schema;
        }
        CRepositoryConnection& connection = CRepositoryConnection::Instance();
        if (!connection.Open(uri, &reason, true))
            return false;
        RepositoryInitSummary summary;
        if (!CreateRepositorySchema(*connection.Database(), summary, reason) ||
            !LoadDemoStandard(*connection.Database(), summary, reason))
            return false;
        connection.OnRepositoryConnected();
        return connection.OpenGate() != nullptr;
    }

    ~DemoRepository()
    {
        CRepositoryConnection::Instance().OnRepositoryDisconnected();
        CRepositoryConnection::SetDictionaryInitializer({});
        if (!m_schema.isEmpty()) {
            {
                QSqlDatabase admin = QSqlDatabase::database(m_schema, false);
                QSqlQuery(admin).exec(QStringLiteral("DROP SCHEMA ") + m_schema + QStringLiteral(" CASCADE"));
                admin.close();
            }
            QSqlDatabase::removeDatabase(m_schema);
        }
    }

private:
    TempDataDir m_dir;
    QString m_schema;
};

#define OPEN_DEMO(repo, backend)                                                                                       \
    do {                                                                                                               \
        QString reason_;                                                                                               \
        if (!(repo).Open((backend), reason_)) {                                                                        \
            if ((backend) == Backend::Postgresql && qEnvironmentVariable("CI") != QLatin1String("true") &&             \
                qEnvironmentVariableIsEmpty("TERMWISE_TEST_PG"))                                                       \
                GTEST_SKIP() << reason_.toStdString();                                                                 \
            FAIL() << reason_.toStdString();                                                                           \
        }                                                                                                              \
    } while (0)

// What the demo's own files say is unused in its main area, worked out without the
// repository: words in no term and no domain, class words in no term, terms no attribute of
// the order model links to, and how many domains no term takes.
struct DemoFacts
{
    QStringList words, classWords, terms;
    int domains = 0;
};

std::vector<QStringList> DemoTable(const char* name)
{
    QFile file(QStringLiteral(TERMWISE_SOURCE_DIR "/resources/sql/demo/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    std::vector<QStringList> rows;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n'))
        if (!line.trimmed().isEmpty() && !line.startsWith(u'#'))
            rows.push_back(line.split(u'\t'));
    return rows;
}

DemoFacts UnusedInTheDemo()
{
    const auto words = DemoTable("words.tsv");     // 논리명, 물리명, 물리전체명, 분류어, 표준, 정의
    const auto domains = DemoTable("domains.tsv"); // 키도메인명, 단어들, 타입, 길이, 소수점, 설명
    const auto terms = DemoTable("terms.tsv");     // 단어들, 도메인명, 정의
    std::set<QString> inTerms, inDomains, domainsUsed;
    for (const QStringList& t : terms) {
        for (const QString& w : t.value(0).split(u' ', Qt::SkipEmptyParts))
            inTerms.insert(w);
        domainsUsed.insert(t.value(1));
    }
    for (const QStringList& d : domains)
        for (const QString& w : d.value(1).split(u' ', Qt::SkipEmptyParts))
            inDomains.insert(w);
    const QStringList ordered{u"고객번호"_qs, u"고객명"_qs,   u"주문번호"_qs, u"주문일자"_qs, u"주문금액"_qs,
                              u"주문수량"_qs, u"상품번호"_qs, u"상품명"_qs,   u"결제금액"_qs, u"등록일시"_qs};
    DemoFacts facts;
    for (const QStringList& w : words) {
        if (w.value(4) == u"Y" && !inTerms.count(w[0]) && !inDomains.count(w[0]))
            facts.words << w[0];
        if (w.value(3) == u"Y" && !inTerms.count(w[0]))
            facts.classWords << w[0];
    }
    for (const QStringList& t : terms) {
        const QString name = t.value(0).split(u' ', Qt::SkipEmptyParts).join(QString());
        if (!ordered.contains(name))
            facts.terms << name;
    }
    facts.domains = int(domains.size()) - int(domainsUsed.size());
    for (QStringList* list : {&facts.words, &facts.classWords, &facts.terms})
        std::sort(list->begin(), list->end());
    return facts;
}

QStringList Column(CQrTreeGrid* grid, int col)
{
    QStringList texts;
    for (int r = 0; r < grid->GetRowCount(); ++r)
        texts << grid->GetItemText(r, col);
    return texts;
}

class UnusedStandardDlgTest : public ::testing::TestWithParam<Backend>
{
};

} // namespace

TEST_P(UnusedStandardDlgTest, EachDialogListsItsAreaAndSwitchingAreasStartsAfresh)
{
    TempDataDir data;
    UiScript ui;
    DemoRepository repo;
    OPEN_DEMO(repo, GetParam());
    const DemoFacts facts = UnusedInTheDemo();
    ASSERT_GT(facts.words.size(), 100);

    struct Case
    {
        QString kind;
        std::function<CUnusedStandardDlgBase*()> make;
        QString title;
    } cases[] = {
        {"words", [] { return new CUnusedStandardWordDlg(0); }, QStringLiteral("미사용 표준 단어")},
        {"class words", [] { return new CUnusedStandardWordDlg(1); }, QStringLiteral("미사용 표준 분류 단어")},
        {"terms", [] { return new CUnusedStandardTermDlg; }, QStringLiteral("미사용 표준 용어")},
        {"domains", [] { return new CUnusedStandardDomainDlg; }, QStringLiteral("미사용 표준 도메인")},
    };
    bool first = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind.toStdString());
        std::unique_ptr<CUnusedStandardDlgBase> dlg(c.make());
        EXPECT_EQ(dlg->windowTitle(), c.title);
        QComboBox* combo = dlg->AreaCombo();
        QStringList names;
        for (int i = 0; i < combo->count(); ++i)
            names << combo->itemText(i);
        QStringList sorted = names;
        sorted.sort();
        EXPECT_EQ(names, sorted);
        EXPECT_TRUE(names.contains(QStringLiteral("전사 표준")));
        if (first) {
            // nothing chosen yet on this repository: the list starts empty
            EXPECT_EQ(combo->currentIndex(), -1);
            EXPECT_EQ(dlg->Grid()->GetRowCount(), 0);
            first = false;
        } else {
            // the area chosen last is offered again, its list read at once
            EXPECT_EQ(combo->currentText(), QStringLiteral("공공 표준"));
        }

        combo->setCurrentIndex(combo->findText(QStringLiteral("전사 표준")));
        CQrTreeGrid* grid = dlg->Grid();
        if (c.kind == "words")
            EXPECT_EQ(Column(grid, 0), facts.words);
        else if (c.kind == "class words")
            EXPECT_EQ(Column(grid, 0), facts.classWords);
        else if (c.kind == "terms")
            EXPECT_EQ(Column(grid, 0), facts.terms);
        else
            EXPECT_EQ(grid->GetRowCount(), facts.domains);
        EXPECT_GT(grid->GetRowCount(), 0) << "the demo standard has unused entries of every kind";
        for (int r = 0; r < grid->GetRowCount(); ++r) {
            EXPECT_EQ(grid->GetItemImage(r, 0), 0);
            EXPECT_TRUE(grid->IsReadOnlyCell(r, 0));
        }
        // another area: only its own rows, none of the first one's
        const QStringList main = Column(grid, 0);
        combo->setCurrentIndex(combo->findText(QStringLiteral("금융 업무 표준")));
        EXPECT_NE(Column(grid, 0), main);
        combo->setCurrentIndex(combo->findText(QStringLiteral("공공 표준")));
        EXPECT_EQ(grid->GetRowCount(), 0) << "an area without standards lists nothing";
    }
    EXPECT_TRUE(ui.messages.empty());
}

// A lost connection shows its reason over the list, never an empty list that reads as "all
// used"; after "나중에" the next try asks again instead of a box with only 확인.
TEST_P(UnusedStandardDlgTest, ALostConnectionShowsTheErrorNotAnEmptyList)
{
    TempDataDir data;
    UiScript ui;
    DemoRepository repo;
    OPEN_DEMO(repo, GetParam());
    int asked = 0;
    RepositoryUi::SetLostQuestion([&](QWidget*) {
        ++asked;
        return false; // 나중에
    });
    CUnusedStandardWordDlg dlg(0);
    dlg.AreaCombo()->setCurrentIndex(dlg.AreaCombo()->findText(QStringLiteral("전사 표준")));
    ASSERT_GT(dlg.Grid()->GetRowCount(), 0);
    EXPECT_TRUE(dlg.ErrorLabel()->isHidden());
    CRepositoryConnection::Instance().MarkLost(QStringLiteral("server closed the connection unexpectedly"));
    dlg.AreaCombo()->setCurrentIndex(dlg.AreaCombo()->findText(QStringLiteral("금융 업무 표준")));
    EXPECT_FALSE(dlg.ErrorLabel()->isHidden());
    EXPECT_TRUE(dlg.ErrorLabel()->text().contains(QStringLiteral("읽지 못했습니다")));
    EXPECT_EQ(asked, 1);

    CUnusedStandardWordDlg again(0);
    EXPECT_EQ(asked, 2) << "asked again after 나중에";
    EXPECT_FALSE(again.ErrorLabel()->isHidden());
    EXPECT_TRUE(again.ErrorLabel()->text().contains(QStringLiteral("server closed"))) << "the driver's words below";
    RepositoryUi::SetLostQuestion({});
}

TEST_P(UnusedStandardDlgTest, RibbonCommandsOpenTheDialogsWhileConnected)
{
    TempDataDir data;
    UiScript ui;
    DemoRepository repo;
    OPEN_DEMO(repo, GetParam());
    CMainFrame::ClearRegistrations();
    RegisterUnusedStandardDialogs();
    CMainFrame frame;
    frame.SetRepositoryConnected(false); // the frame starts from the live connection the demo opened
    EXPECT_FALSE(frame.RunCommand(AppCmd::UnusedWord));
    frame.SetRepositoryConnected(true);
    frame.SetRepositoryDbType(CRepositoryConnection::Instance().DbType());
    // the unused-terms command needs a server that holds the model tables: types 1, 10, 11
    const bool termsAllowed = GetParam() == Backend::Postgresql;
    EXPECT_EQ(frame.CommandAction(AppCmd::UnusedTerm)->isEnabled(), termsAllowed);

    const std::pair<int, QString> commands[] = {
        {AppCmd::UnusedWord, QStringLiteral("미사용 표준 단어")},
        {AppCmd::UnusedClassWord, QStringLiteral("미사용 표준 분류 단어")},
        {AppCmd::UnusedDomain, QStringLiteral("미사용 표준 도메인")},
        {AppCmd::UnusedTerm, QStringLiteral("미사용 표준 용어")},
    };
    for (const auto& [command, title] : commands) {
        QString opened;
        int areas = 0;
        WhenModal([&](QWidget* modal) {
            opened = modal ? modal->windowTitle() : QString();
            if (auto* dlg = qobject_cast<CUnusedStandardDlgBase*>(modal))
                areas = dlg->AreaCombo()->count();
        });
        const bool ran = frame.RunCommand(command);
        if (command == AppCmd::UnusedTerm && !termsAllowed) {
            EXPECT_FALSE(ran);
            QApplication::processEvents(); // the pending check finds no dialog
            continue;
        }
        EXPECT_TRUE(ran) << title.toStdString();
        EXPECT_EQ(opened, title);
        EXPECT_GT(areas, 0);
    }
    CMainFrame::ClearRegistrations();
}

INSTANTIATE_TEST_SUITE_P(Backends, UnusedStandardDlgTest, ::testing::Values(Backend::Sqlite, Backend::Postgresql),
                         [](const auto& info) {
                             return std::string(info.param == Backend::Sqlite ? "Sqlite" : "Postgresql");
                         });

// A picture for the documentation; only when TERMWISE_SCREENSHOTS names the folder.
TEST(Screenshots, UnusedWords)
{
    const QString folder = qEnvironmentVariable("TERMWISE_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "TERMWISE_SCREENSHOTS not set";
    TempDataDir data;
    DemoRepository repo;
    OPEN_DEMO(repo, Backend::Sqlite);
    CUnusedStandardWordDlg dlg(0);
    dlg.AreaCombo()->setCurrentIndex(dlg.AreaCombo()->findText(QStringLiteral("전사 표준")));
    dlg.resize(900, 560);
    dlg.show();
    QApplication::processEvents();
    ASSERT_TRUE(dlg.grab().save(QDir(folder).filePath("unused-words.png")));
}
