#include "settings/ui/WordSettingDlg.h"
#include "components/QrWordExtractor.h"
#include "components/ui/QrMessageBox.h"
#include "components/ui/QrPropertyGrid.h"
#include "settings/AnalyzeSettings.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
QTreeWidgetItem* FindByCaption(QTreeWidgetItem* parent, const QString& caption)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == caption)
            return parent->child(i);
    }
    return nullptr;
}

QTreeWidgetItem* TagBox(CWordSettingDlg& dlg, const QString& group, const QString& caption)
{
    QTreeWidgetItem* tags = dlg.Grid()->FindItem(CWordSettingDlg::IdTags);
    QTreeWidgetItem* sub = tags ? FindByCaption(tags, group) : nullptr;
    return sub ? FindByCaption(sub, caption) : nullptr;
}

QJsonObject ReadSaved()
{
    return QJsonDocument::fromJson(ReadTextFile(CAnalyzeSettings::SettingsPath()).toUtf8()).object();
}

class SettingDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::set<int> noTags;
        const std::set<QString> noWords;
        CQrWordExtractor::GetInstance().SetTags(&noTags);
        CQrWordExtractor::GetInstance().SetUserWords(&noWords);
    }
    TempDataDir m_data;
    CAnalyzeSettings m_settings;
};
} // namespace

TEST_F(SettingDlgTest, SharedTagChecksBothBoxesNextTime)
{
    {
        CWordSettingDlg dlg(m_settings);
        QTreeWidgetItem* conj = TagBox(dlg, QStringLiteral("조사"), QStringLiteral("접속 조사"));
        QTreeWidgetItem* aux = TagBox(dlg, QStringLiteral("조사"), QStringLiteral("보조사"));
        ASSERT_NE(conj, nullptr);
        ASSERT_NE(aux, nullptr);
        EXPECT_FALSE(dlg.Grid()->IsChecked(aux));
        dlg.Grid()->SetChecked(conj, true);
        EXPECT_EQ(dlg.CheckedTags(), std::set<int>{40});
        ASSERT_TRUE(dlg.Apply());
    }
    const std::set<int>* tags = CQrWordExtractor::GetInstance().GetTags();
    ASSERT_NE(tags, nullptr);
    EXPECT_EQ(*tags, std::set<int>{40});
    EXPECT_EQ(ReadSaved().value(QStringLiteral("user_tags")).toVariant().toStringList(), QStringList{"40"});

    CWordSettingDlg again(m_settings);
    EXPECT_TRUE(again.Grid()->IsChecked(TagBox(again, QStringLiteral("조사"), QStringLiteral("접속 조사"))));
    EXPECT_TRUE(again.Grid()->IsChecked(TagBox(again, QStringLiteral("조사"), QStringLiteral("보조사"))));
    EXPECT_FALSE(again.Grid()->IsChecked(TagBox(again, QStringLiteral("체언"), QStringLiteral("일반 명사"))));
}

TEST_F(SettingDlgTest, EmptyUserWordsAndSeparatorAreStoredAsEmpty)
{
    const std::set<QString> words{QStringLiteral("데이터")};
    CQrWordExtractor::GetInstance().SetUserWords(&words);
    CWordSettingDlg dlg(m_settings);
    QTreeWidgetItem* list = dlg.Grid()->FindItem(CWordSettingDlg::IdUserWords);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->childCount(), 1);
    EXPECT_EQ(list->child(0)->text(0), QStringLiteral("단어 1"));
    EXPECT_EQ(dlg.Grid()->GetValue(list->child(0)), QStringLiteral("데이터"));

    // the " X " button removes its word; a new word left empty is not handed on
    dlg.Grid()->expandAll();
    dlg.show();
    dlg.Grid()->itemWidget(list->child(0), 2)->findChild<QToolButton*>()->click();
    EXPECT_EQ(list->childCount(), 0);
    QTreeWidgetItem* fresh = dlg.AddUserWord();
    EXPECT_EQ(fresh->text(0), QStringLiteral("단어 1"));
    dlg.Grid()->SetValue(dlg.Grid()->FindItem(CWordSettingDlg::IdSeperator), QString());
    ASSERT_TRUE(dlg.Apply());

    EXPECT_TRUE(CQrWordExtractor::GetInstance().GetUserWords()->empty());
    EXPECT_EQ(m_settings.seperator, QString());
    const QJsonObject saved = ReadSaved();
    EXPECT_FALSE(saved.contains(QStringLiteral("user_words")));
    EXPECT_EQ(saved.value(QStringLiteral("seperator")).toString(QStringLiteral("missing")), QString());
    EXPECT_TRUE(saved.contains(QStringLiteral("except_words")));
}

TEST_F(SettingDlgTest, OptionsRoundTripAndCancelChangesNothing)
{
    m_settings.analyze_database = 13;
    m_settings.request_browser = 1;
    m_settings.term_request = 1;
    {
        CWordSettingDlg dlg(m_settings);
        CQrPropertyGrid* g = dlg.Grid();
        EXPECT_EQ(g->GetListValue(g->FindItem(CWordSettingDlg::IdDatabase)), 13);
        EXPECT_EQ(g->GetChoices(g->FindItem(CWordSettingDlg::IdDatabase)).size(), 24);
        EXPECT_EQ(g->GetValue(g->FindItem(CWordSettingDlg::IdBrowser)),
                  QStringLiteral("내장 웹브라우저 (Chromium Edge)"));
        // one engine here: the choice shows greyed with the reason, and its value is kept
        EXPECT_TRUE(g->FindItem(CWordSettingDlg::IdBrowser)->isDisabled());
        EXPECT_TRUE(g->FindItem(CWordSettingDlg::IdBrowser)->toolTip(1).contains(QStringLiteral("하나뿐")));
        EXPECT_TRUE(g->IsChecked(g->FindItem(CWordSettingDlg::IdTermRequest)));
        EXPECT_FALSE(g->FindItem(CWordSettingDlg::IdTermRequest)->isDisabled());
        // while connected the repository sets the three switches
        dlg.SetRequestsFromRepository(true);
        for (int id :
             {CWordSettingDlg::IdWordRequest, CWordSettingDlg::IdDomainRequest, CWordSettingDlg::IdTermRequest}) {
            EXPECT_TRUE(g->FindItem(id)->isDisabled()) << id;
            EXPECT_TRUE(g->FindItem(id)->toolTip(0).contains(QStringLiteral("저장소"))) << id;
        }
        g->SetChecked(g->FindItem(CWordSettingDlg::IdSortResult), true);
        g->SetListValue(g->FindItem(CWordSettingDlg::IdDatabase), 11);
        dlg.reject();
    }
    EXPECT_EQ(m_settings.analyze_sort_result, 0);
    EXPECT_EQ(m_settings.analyze_database, 13);
    EXPECT_FALSE(QFile::exists(CAnalyzeSettings::SettingsPath()));

    CWordSettingDlg dlg(m_settings);
    CQrPropertyGrid* g = dlg.Grid();
    g->SetChecked(g->FindItem(CWordSettingDlg::IdSortResult), true);
    g->SetChecked(g->FindItem(CWordSettingDlg::IdNeedSeperator), true);
    g->SetChecked(g->FindItem(CWordSettingDlg::IdTermRequest), false);
    g->SetListValue(g->FindItem(CWordSettingDlg::IdDatabase), 11);
    g->SetValue(g->FindItem(CWordSettingDlg::IdSeperator), QStringLiteral("_-"));
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(m_settings.analyze_sort_result, 1);
    EXPECT_EQ(m_settings.need_seperator, 1);
    EXPECT_EQ(m_settings.term_request, 0);
    EXPECT_EQ(m_settings.analyze_database, 11);
    EXPECT_EQ(m_settings.request_browser, 1) << "the settings file is shared: its value stays";
    const QJsonObject saved = ReadSaved();
    EXPECT_EQ(saved.value(QStringLiteral("analyze_database")).toString(), QStringLiteral("11"));
    EXPECT_EQ(saved.value(QStringLiteral("need_seperator")).toString(), QStringLiteral("1"));
    EXPECT_EQ(saved.value(QStringLiteral("seperator")).toString(), QStringLiteral("_-"));
    EXPECT_FALSE(saved.contains(QStringLiteral("term_request"))); // kept only in memory
}

TEST_F(SettingDlgTest, FailedSaveKeepsTheDialogOpen)
{
    // the standard folder is a file: nothing can be written there
    QFile::remove(m_data.standardPath() + QStringLiteral("/termwise.json"));
    QDir(m_data.standardPath()).removeRecursively();
    WriteTextFile(m_data.standardPath(), QStringLiteral("x"));
    QStringList shown;
    CQrMessageBox::SetHook([&shown](QMessageBox::Icon, const QString& text) {
        shown << text;
        return QMessageBox::Ok;
    });
    CWordSettingDlg dlg(m_settings);
    dlg.setResult(QDialog::Rejected);
    dlg.accept();
    CQrMessageBox::SetHook({});
    EXPECT_EQ(shown.size(), 1);
    EXPECT_NE(dlg.result(), QDialog::Accepted);
}
