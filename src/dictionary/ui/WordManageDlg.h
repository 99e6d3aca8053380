#pragma once
// "단어 관리": the analysis words and excluded words of the local dictionary, shared with the
// repository's analysis tables. Opened from the ribbon and from the review dialogs.
#include "dictionary/ui/ManageDlgBase.h"

class CWordManageDlg : public CManageDlgBase
{
    Q_OBJECT
public:
    explicit CWordManageDlg(QWidget* parent = nullptr);
    CWordManageDlg(CAnalyzeSettings& settings, QWidget* parent = nullptr);

    enum Column { ColCheck = 0, ColLogical = 1, ColPhysical = 2, ColFullName = 3, ColDefinition = 4 };

protected:
    void FillEntries() override;
    void StoreEntries() override;
    QStringList ExcludedNames() const override;
    void StoreExcluded(const QStringList& names) override;
    std::vector<ShareResult> Download(CSqlBaseGate* gate, CConflictResolver& resolver) override;
    ShareResult Upload(const std::vector<int>& rows, CSqlBaseGate* gate, CConflictResolver& resolver) override;
    void Compare(CSqlBaseGate* gate) override;
    void Convert(const std::vector<int>& rows) override;
    void OnEntryEdited(int row, int col) override;
    void SizeEntryColumns() override;
    // The widths follow the grid's client width.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ManageWordRow RowAt(int row) const;
    // The rows' words with the dictionary's records (flags) where it has them.
    WordIndex WordsOf(const std::vector<int>& rows) const;
};
