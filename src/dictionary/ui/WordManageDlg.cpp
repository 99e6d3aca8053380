#include "dictionary/ui/WordManageDlg.h"

#include "components/ui/QrTreeGrid.h"
#include "dictionary/ManageTexts.h"
#include "registration/ui/StandardWordDlg.h"
#include "settings/AnalyzeSettings.h"

#include <QEvent>
#include <QSignalBlocker>

namespace T = ManageTexts;

namespace {
CManageDlgBase::Texts WordTexts()
{
    return {T::WordCaption,  T::WordListItem,    T::ExceptWordListItem, T::WordSearchPrompt, T::WordGroupCount,
            T::ConvertWords, T::AutoDefinitions, T::WordColumns,        T::ExceptWordColumns};
}
} // namespace

CWordManageDlg::CWordManageDlg(QWidget* parent) : CWordManageDlg(CAnalyzeSettings::Instance(), parent) {}

CWordManageDlg::CWordManageDlg(CAnalyzeSettings& settings, QWidget* parent)
    : CManageDlgBase(settings, WordTexts(), parent)
{
    Grid()->viewport()->installEventFilter(this);
    Start();
}

ManageWordRow CWordManageDlg::RowAt(int row) const
{
    return {Cell(row, ColLogical), Cell(row, ColPhysical), Cell(row, ColFullName), Cell(row, ColDefinition),
            Grid()->GetCheckCellVal(row, ColCheck)};
}

void CWordManageDlg::FillEntries()
{
    for (const ManageWordRow& w : DictionaryManage::WordRows(Settings())) {
        const int row = Grid()->InsertRow(1, {QString(), w.logical, w.physical, w.fullName, w.definition});
        Grid()->SetCheckCellStyle(row, ColCheck, false);
    }
}

void CWordManageDlg::StoreEntries()
{
    std::vector<ManageWordRow> rows;
    for (int r = 0; r < Grid()->GetRowCount(); ++r)
        rows.push_back(RowAt(r));
    DictionaryManage::StoreWordRows(Settings(), rows);
}

QStringList CWordManageDlg::ExcludedNames() const
{
    return QStringList(Settings().m_setExceptWords.begin(), Settings().m_setExceptWords.end());
}

void CWordManageDlg::StoreExcluded(const QStringList& names)
{
    DictionaryManage::StoreExceptWords(Settings(), names);
}

std::vector<ShareResult> CWordManageDlg::Download(CSqlBaseGate* gate, CConflictResolver& resolver)
{
    if (Mode() == ManageList::Excluded)
        return {ShareSync::DownloadExceptWords(Settings(), gate)};
    return {ShareSync::DownloadWords(Settings(), gate, resolver)};
}

WordIndex CWordManageDlg::WordsOf(const std::vector<int>& rows) const
{
    WordIndex words;
    for (int r : rows) {
        const ManageWordRow row = RowAt(r);
        _stAnalyzeManageWord word;
        Settings().GetWord(row.physical, row.logical, word);
        word.strLogicalName = row.logical;
        word.strPhysicalName = row.physical;
        word.strPhyFullName = row.fullName;
        word.strDescription = row.definition;
        words[row.physical][row.logical] = word;
    }
    return words;
}

ShareResult CWordManageDlg::Upload(const std::vector<int>& rows, CSqlBaseGate* gate, CConflictResolver& resolver)
{
    if (Mode() == ManageList::Excluded) {
        std::set<QString> names;
        for (int r : rows)
            names.insert(Cell(r, 1));
        return ShareSync::UploadExceptWords(names, gate);
    }
    return ShareSync::UploadWords(WordsOf(rows), gate, resolver);
}

void CWordManageDlg::Compare(CSqlBaseGate* gate)
{
    std::vector<int> all;
    for (int r = 0; r < Grid()->GetRowCount(); ++r)
        if (RowAt(r).HasKeys())
            all.push_back(r);
    const auto differing = ShareSync::DifferingWords(WordsOf(all), gate);
    for (int r : all)
        if (differing.count({Cell(r, ColPhysical), Cell(r, ColLogical)}))
            Grid()->SetBkColorRow(r, CQrTreeGrid::FromWinColor(ManageColours::StatusDiffers));
}

void CWordManageDlg::Convert(const std::vector<int>& rows)
{
    const WordIndex words = WordsOf(rows);
    SaveGrid();
    CStandardWordDlg dlg(words, QString(), this);
    dlg.exec();
}

void CWordManageDlg::OnEntryEdited(int row, int col)
{
    if (col != ColLogical && col != ColPhysical)
        return;
    const ManageWordRow current = RowAt(row);
    if (!current.HasKeys())
        return;
    const DictionaryManage::CollectedNames names = DictionaryManage::CollectNames(Settings(), current);
    const QColor proposed = CQrTreeGrid::FromWinColor(ManageColours::Proposed);
    QSignalBlocker block(Grid()->Model());
    if (names.definitionFound) {
        Grid()->SetComboCellStyle(row, ColDefinition, names.definitions);
        Grid()->SetItemBkColor(row, ColDefinition, proposed);
        Grid()->SetItemText(row, ColDefinition, names.definition);
    }
    if (names.fullNameFound) {
        Grid()->SetComboCellStyle(row, ColFullName, names.fullNames);
        Grid()->SetItemBkColor(row, ColFullName, proposed);
        Grid()->SetItemText(row, ColFullName, names.fullName);
    }
    Grid()->viewport()->update();
}

void CWordManageDlg::SizeEntryColumns()
{
    const int width = Grid()->viewport()->width();
    Grid()->SetColumnWidth(ColCheck, 32);
    for (int c = ColLogical; c <= ColFullName; ++c)
        Grid()->SetColumnWidth(c, width * 15 / 100);
    Grid()->SetColumnWidth(ColDefinition, width / 2);
}

bool CWordManageDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Grid()->viewport() && event->type() == QEvent::Resize && Mode() == ManageList::Entries)
        SizeEntryColumns();
    return CManageDlgBase::eventFilter(watched, event);
}
