#pragma once
// "설정": the analysis options, the word extractor's part-of-speech tags and user words in one
// property grid. The grid holds the edited copy; "확인" applies it and saves termwise.json,
// "취소" leaves everything as it was.
#include <QDialog>
#include <set>

class CAnalyzeSettings;
class CQrPropertyGrid;
class QTreeWidgetItem;

class CWordSettingDlg : public QDialog
{
    Q_OBJECT
public:
    // Item ids of the grid.
    enum ItemId {
        IdSeperator = 1000,
        IdSortResult = 1001,
        IdNeedSeperator = 1002,
        IdDatabase = 1003,
        IdTags = 1005,
        IdAcceptSynonym = 1007,
        IdDomainUseWords = 1008,
        IdTermWithSynonym = 1009,
        IdBrowser = 1010,
        IdWordRequest = 1011,
        IdDomainRequest = 1012,
        IdTermRequest = 1013,
        IdUserWords = 1014,
    };
    enum ButtonId { ButtonAddUserWord = 2000, ButtonRemoveUserWord = 2001 };

    explicit CWordSettingDlg(CAnalyzeSettings& settings, QWidget* parent = nullptr);

    CQrPropertyGrid* Grid() const { return m_grid; }
    // Appends an empty user word for the user to type into; returns it.
    QTreeWidgetItem* AddUserWord(const QString& word = QString());
    // Writes the grid to the extractor and the settings and saves the file. False when the
    // file could not be written (the dialog then stays open).
    bool Apply();

    // Tags of the checked part-of-speech boxes, and the non-empty user words, as shown now.
    std::set<int> CheckedTags() const;
    std::set<QString> UserWords() const;

    // While a repository is connected its proposal options set the three "신청 사용"
    // switches: they are shown as set, greyed, with a tooltip saying so.
    void SetRequestsFromRepository(bool fromRepository);

    void accept() override;

private:
    void Build();
    QTreeWidgetItem* m_userWords = nullptr;
    CAnalyzeSettings& m_settings;
    CQrPropertyGrid* m_grid;
};
