#pragma once
// "표준 등록": registers one standard word, domain or term in a standard area. Three property
// grid categories, the one of the mode expanded; each ends in an in-place button that checks
// the repository and registers (StandardRegisterForm does the work).
#include "settings/AnalyzeRecords.h"

#include <QDialog>
#include <map>

class CQrPropertyGrid;
class QComboBox;
class QTreeWidgetItem;

class CStandardRegisterDlg : public QDialog
{
    Q_OBJECT
public:
    enum Mode { ModeWord = 0, ModeDomain = 1, ModeTerm = 2 };
    enum ItemId {
        IdWordLogical = 1000,
        IdWordPhysical,
        IdWordFullName,
        IdWordClass,
        IdWordDefinition,
        IdWordRegister,
        IdKeyDomain,
        IdDomainName,
        IdDataType,
        IdLength,
        IdScale,
        IdDomainDefinition,
        IdDomainRegister,
        IdTermLogical,
        IdTermPhysical,
        IdTermWords,
        IdTermDomain,
        IdTermDefinition,
        IdTermRegister,
    };

    // An empty area lets the user choose one in the combo box.
    CStandardRegisterDlg(int mode, const QString& areaId, QWidget* parent = nullptr);

    // The records shown; call before the dialog is shown.
    void SetWord(const _stAnalyzeManageWord& word);
    void SetDomain(const _stAnalyzeManageDomain& domain);
    void SetTerm(const _stAnalyzeManageTerm& term, const QString& domainName = QString());

    bool IsRegistered() const { return m_registered; }
    QString AreaId() const { return m_areaId; }
    const _stAnalyzeManageWord& Word() const { return m_word; }
    const _stAnalyzeManageDomain& Domain() const { return m_domain; }
    const _stAnalyzeManageTerm& Term() const { return m_term; }

    CQrPropertyGrid* Grid() const { return m_grid; }
    QComboBox* AreaCombo() const { return m_areas; }
    // As clicking the in-place button of the item.
    void PressButton(int itemId);

private:
    void BuildGrid();
    void FillAreas();
    void OnButton(QTreeWidgetItem* item, int buttonId);
    QString Value(int id) const;
    void SetValue(int id, const QString& value);
    void RegisterWord();
    void GenerateDomainName();
    void RegisterDomain();
    void ChangeDomain();
    void RegisterTerm();
    void Finish(int kind, const QString& message);

    int m_mode;
    QString m_areaId;
    bool m_registered = false;
    std::map<QString, QString> m_areaList; // name -> id
    std::map<int, QString> m_indexToId;
    _stAnalyzeManageWord m_word;
    _stAnalyzeManageDomain m_domain;
    _stAnalyzeManageTerm m_term;
    QString m_termDomainName;
    QComboBox* m_areas = nullptr;
    CQrPropertyGrid* m_grid = nullptr;
};
