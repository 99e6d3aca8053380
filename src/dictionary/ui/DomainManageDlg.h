#pragma once
// "도메인 관리": the analysis domains and excluded domains of the local dictionary, shared
// with the repository's analysis tables. Opened from the ribbon and from the class-word review.
#include "dictionary/ui/ManageDlgBase.h"

class CDomainManageDlg : public CManageDlgBase
{
    Q_OBJECT
public:
    explicit CDomainManageDlg(QWidget* parent = nullptr);
    CDomainManageDlg(CAnalyzeSettings& settings, QWidget* parent = nullptr);

    enum Column { ColCheck = 0, ColKey = 1, ColName = 2, ColType = 3, ColLength = 4, ColScale = 5, ColRemark = 6 };

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
    void PrepareEntryRow(int row) override;

private:
    ManageDomainRow RowAt(int row) const;
    DomainIndex DomainsOf(const std::vector<int>& rows) const;
    QStringList m_types; // logical data type names, in the library's order
};
