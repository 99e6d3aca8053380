#pragma once
// What the word and domain management dialogs share: the list selector, the working-copy
// grid, add, delete, search, save, export, the three sharing commands and the conversion to
// standards, with their questions and messages. The two dialogs add their columns, their
// rows and the kind-specific rules (headless in DictionaryManage and ShareSync).
//
// exec() returns Accepted when the dictionary changed while the dialog was open (a save, a
// download or an upload), so a review dialog that opened it knows to run again.
#include "dictionary/DictionaryManage.h"
#include "dictionary/ShareSync.h"

#include <QDialog>

class CAnalyzeSettings;
class CQrTreeGrid;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

class CManageDlgBase : public QDialog
{
    Q_OBJECT
public:
    struct Texts
    {
        QString caption, entriesItem, excludedItem, searchPrompt, groupCount, convert, automatic;
        QStringList columns, excludedColumns;
        ManageKind kind = ManageKind::Words;
    };

    bool Changed() const { return m_changed; }
    // The grid holds edits, additions or deletions not yet saved.
    bool HasUnsavedEdits() const { return m_dirty; }
    ManageList Mode() const;

    // Controls, for tests and for the review dialogs' screenshots.
    CQrTreeGrid* Grid() const { return m_grid; }
    QComboBox* ListSelector() const { return m_list; }
    QLineEdit* SearchBox() const { return m_search; }
    QCheckBox* AutoCheck() const { return m_auto; }
    QGroupBox* ListGroup() const { return m_group; }
    QPushButton* Button(const QString& text) const;

    void done(int result) override;
    // 닫기, Escape and the window's close button: unsaved edits ask 저장 / 저장 안 함 / 취소.
    void reject() override;

protected:
    CManageDlgBase(CAnalyzeSettings& settings, Texts texts, QWidget* parent);
    // Call at the end of the derived constructor.
    void Start();

    CAnalyzeSettings& Settings() const { return m_settings; }
    // Entries mode: the grid's rows, the dictionary's rows, the rules of a row.
    virtual void FillEntries() = 0;
    virtual void StoreEntries() = 0;
    virtual QStringList ExcludedNames() const = 0;
    virtual void StoreExcluded(const QStringList& names) = 0;
    virtual std::vector<ShareResult> Download(CSqlBaseGate* gate, CConflictResolver& resolver) = 0;
    // Checked rows with their keys filled, already saved into the dictionary.
    virtual ShareResult Upload(const std::vector<int>& rows, CSqlBaseGate* gate, CConflictResolver& resolver) = 0;
    virtual void Compare(CSqlBaseGate* gate) = 0;
    virtual void Convert(const std::vector<int>& rows) = 0;
    virtual void OnEntryEdited(int row, int col) = 0;
    virtual void SizeEntryColumns() { AutoSizeAll(); }
    virtual bool RowHasKeys(int row) const;
    // A new empty row of the entries mode (drop-down cells and the like).
    virtual void PrepareEntryRow(int row) { Q_UNUSED(row); }

    void AutoSizeAll();
    // Rows whose check box is set and whose keys are filled, top down.
    std::vector<int> CheckedRows() const;
    QString Cell(int row, int col) const;
    // The conflict dialog; the repeat answer lives for one resolver.
    CConflictResolver MakeResolver();
    void Fill();
    // Grid into dictionary and the settings file; false (after a warning) when the file failed.
    bool SaveGrid();

private:
    void OnListChanged();
    void OnAdd();
    void OnDelete();
    void OnSearch();
    void OnSave();
    void OnExport();
    void OnDownload();
    void OnUpload();
    void OnCompare();
    void OnConvert();
    void UpdateEnabling();
    void PostLines(const QStringList& lines);

    void MarkEdited(int row);
    // Unsaved edits: asks 저장 / 저장 안 함 / 취소; true when the caller may go on.
    bool ConfirmEdits();

    CAnalyzeSettings& m_settings;
    Texts m_texts;
    bool m_changed = false;
    bool m_dirty = false;
    CQrTreeGrid* m_grid = nullptr;
    QComboBox* m_list = nullptr;
    QLineEdit* m_search = nullptr;
    QCheckBox* m_auto = nullptr;
    QGroupBox* m_group = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_download = nullptr;
    QPushButton* m_upload = nullptr;
    QPushButton* m_compare = nullptr;
    QPushButton* m_convert = nullptr;
    QPushButton* m_export = nullptr;
};
