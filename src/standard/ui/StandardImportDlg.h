#pragma once
// "공통표준 가져오기…": a built-in edition (the newest first and chosen; the older ones by
// name, for an agency still on one or to compare) or files the user picks, into the local analysis
// dictionary or into a standard area of the connected repository (chosen, or created here).
// The import shows progress and can be cancelled; afterwards the result lists what was loaded
// and what was refused.
#include "standard/ui/StandardImportRun.h"

#include <QDialog>
#include <map>
#include <vector>

class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CStandardImportDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CStandardImportDlg(QWidget* parent = nullptr);

    // What the dialog would import now; false with the message to show when a choice is missing.
    bool Choice(StandardImportChoice& choice, QString& problem) const;
    void SetFiles(const QStringList& files); // as picked with "찾아보기…"
    const StandardImportOutcome& LastOutcome() const { return m_outcome; }

    QRadioButton* BuiltinRadio() const { return m_builtins.front(); }              // the default edition
    const std::vector<QRadioButton*>& BuiltinRadios() const { return m_builtins; } // as Editions()
    QRadioButton* FilesRadio() const { return m_filesRadio; }
    QRadioButton* DictionaryRadio() const { return m_dictionary; }
    QRadioButton* RepositoryRadio() const { return m_repository; }
    QComboBox* AreaCombo() const { return m_areas; }
    QLineEdit* NewAreaId() const { return m_newId; }
    QLineEdit* NewAreaName() const { return m_newName; }
    QCheckBox* ReplaceBox() const { return m_replace; }
    QPushButton* ImportButton() const { return m_import; }

private:
    void FillAreas();
    void UpdateStates();
    void Browse();
    void Import();
    void SuggestAreaName();

    std::vector<QRadioButton*> m_builtins; // one per built-in edition
    QRadioButton* m_filesRadio = nullptr;
    QLineEdit* m_files = nullptr;
    QPushButton* m_browse = nullptr;
    QRadioButton* m_dictionary = nullptr;
    QRadioButton* m_repository = nullptr;
    QComboBox* m_areas = nullptr;
    QLabel* m_newIdLabel = nullptr;
    QLineEdit* m_newId = nullptr;
    QLabel* m_newNameLabel = nullptr;
    QLineEdit* m_newName = nullptr;
    QCheckBox* m_replace = nullptr;
    QPushButton* m_import = nullptr;
    QStringList m_fileList;
    std::map<QString, QString> m_areaNames; // id -> name
    StandardImportOutcome m_outcome;
};
