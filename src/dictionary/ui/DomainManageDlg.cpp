#include "dictionary/ui/DomainManageDlg.h"

#include "components/QrDatatype.h"
#include "components/ui/QrTreeGrid.h"
#include "dictionary/ManageTexts.h"
#include "registration/ui/StandardDomainDlg.h"
#include "settings/AnalyzeSettings.h"

#include <QSignalBlocker>

namespace T = ManageTexts;

namespace {
CManageDlgBase::Texts DomainTexts()
{
    return {T::DomainCaption,       T::DomainListItem,  T::ExceptDomainListItem, T::DomainSearchPrompt,
            T::DomainGroupCount,    T::ConvertDomains,  T::AutoDomainNames,      T::DomainColumns,
            T::ExceptDomainColumns, ManageKind::Domains};
}
} // namespace

CDomainManageDlg::CDomainManageDlg(QWidget* parent) : CDomainManageDlg(CAnalyzeSettings::Instance(), parent) {}

CDomainManageDlg::CDomainManageDlg(CAnalyzeSettings& settings, QWidget* parent)
    : CManageDlgBase(settings, DomainTexts(), parent)
{
    std::vector<tagLogicalDatatype> types;
    QrDatatype::GetLogicalDatatypes(types);
    for (const tagLogicalDatatype& t : types)
        m_types << t.name;
    Start();
}

ManageDomainRow CDomainManageDlg::RowAt(int row) const
{
    return {Cell(row, ColKey),
            Cell(row, ColName),
            Cell(row, ColType),
            Cell(row, ColLength),
            Cell(row, ColScale),
            Cell(row, ColRemark),
            Grid()->GetCheckCellVal(row, ColCheck)};
}

void CDomainManageDlg::PrepareEntryRow(int row)
{
    Grid()->SetComboCellStyle(row, ColType, m_types);
    Grid()->SetReadOnlyCell(row, ColRemark);
}

void CDomainManageDlg::FillEntries()
{
    for (const ManageDomainRow& d : DictionaryManage::DomainRows(Settings())) {
        const int row = Grid()->InsertRow(1, {QString(), d.key, d.name, d.type, d.length, d.scale, d.remark});
        Grid()->SetCheckCellStyle(row, ColCheck, false);
        PrepareEntryRow(row);
    }
}

void CDomainManageDlg::StoreEntries()
{
    std::vector<ManageDomainRow> rows;
    for (int r = 0; r < Grid()->GetRowCount(); ++r)
        rows.push_back(RowAt(r));
    DictionaryManage::StoreDomainRows(Settings(), rows);
}

QStringList CDomainManageDlg::ExcludedNames() const
{
    return QStringList(Settings().m_setExceptDomains.begin(), Settings().m_setExceptDomains.end());
}

void CDomainManageDlg::StoreExcluded(const QStringList& names)
{
    DictionaryManage::StoreExceptDomains(Settings(), names);
}

std::vector<ShareResult> CDomainManageDlg::Download(CSqlBaseGate* gate, CConflictResolver& resolver)
{
    if (Mode() == ManageList::Excluded)
        return {ShareSync::DownloadExceptDomains(Settings(), gate)};
    return {ShareSync::DownloadDomains(Settings(), gate, resolver)};
}

DomainIndex CDomainManageDlg::DomainsOf(const std::vector<int>& rows) const
{
    DomainIndex domains;
    for (int r : rows) {
        const ManageDomainRow row = RowAt(r);
        if (!row.IsComplete())
            continue;
        _stAnalyzeManageDomain domain;
        Settings().GetDomain(row.key, row.name, domain);
        domain.strKeyDomainName = row.key;
        domain.strDomainName = row.name;
        domain.strDataType = row.type;
        domain.strLength = row.length;
        domain.strScale = row.scale;
        domains[row.key][row.name] = domain;
    }
    return domains;
}

ShareResult CDomainManageDlg::Upload(const std::vector<int>& rows, CSqlBaseGate* gate, CConflictResolver& resolver)
{
    if (Mode() == ManageList::Excluded) {
        std::set<QString> names;
        for (int r : rows)
            names.insert(Cell(r, 1));
        return ShareSync::UploadExceptDomains(names, gate);
    }
    return ShareSync::UploadDomains(DomainsOf(rows), gate, resolver);
}

void CDomainManageDlg::Compare(CSqlBaseGate* gate)
{
    std::vector<int> all;
    for (int r = 0; r < Grid()->GetRowCount(); ++r)
        all.push_back(r);
    const auto differing = ShareSync::DifferingDomains(DomainsOf(all), gate);
    for (int r : all)
        if (differing.count({Cell(r, ColKey), Cell(r, ColName)}))
            Grid()->SetBkColorRow(r, CQrTreeGrid::FromWinColor(ManageColours::StatusDiffers));
}

void CDomainManageDlg::Convert(const std::vector<int>& rows)
{
    const DomainIndex domains = DomainsOf(rows);
    SaveGrid();
    CStandardDomainDlg dlg(domains, QString(), this);
    dlg.exec();
}

void CDomainManageDlg::OnEntryEdited(int row, int col)
{
    if (col == ColName)
        return; // the user's own name stays
    const QString name = DictionaryManage::AutoDomainName(Settings(), RowAt(row));
    if (name.isEmpty())
        return;
    QSignalBlocker block(Grid()->Model());
    Grid()->SetItemText(row, ColName, name);
    Grid()->SetItemBkColor(row, ColName, CQrTreeGrid::FromWinColor(ManageColours::Proposed));
    Grid()->viewport()->update();
}
