#pragma once
// What the two standard registration lists share: the area combo box, the read-only grid
// with status images 0 to 4 (grey rows for everything not registrable), the register and
// close buttons. The derived dialogs fill, check and register their kind.
#include <QDialog>
#include <QIcon>
#include <map>

class CQrTreeGrid;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QPushButton;

class CStandardListDlgBase : public QDialog
{
    Q_OBJECT
public:
    QString AreaId() const { return m_areaId; }
    QComboBox* AreaCombo() const { return m_areas; }
    CQrTreeGrid* Grid() const { return m_grid; }
    QPushButton* RegisterButton() const { return m_register; }

protected:
    CStandardListDlgBase(const QString& caption, const QString& listLabel, const QStringList& columns,
                         const QString& areaId, QWidget* parent);
    // Call at the end of the derived constructor: areas, rows, and the check when an area was
    // given (otherwise none is chosen and the list is checked once the user picks one).
    void Start();
    virtual void FillRows() = 0;
    virtual void Check() = 0;
    virtual void Register() = 0;
    // False, after telling the user to choose one, while no area is chosen.
    bool HasArea();
    // Image, note column and grey background of one row.
    void ShowStatus(int row, int image, int noteColumn, const QString& note);
    QHBoxLayout* ExtraButtons() const { return m_extra; }

private:
    void OnAreaChanged(int index);

    QString m_areaId;
    QComboBox* m_areas = nullptr;
    QGroupBox* m_group = nullptr;
    CQrTreeGrid* m_grid = nullptr;
    QPushButton* m_register = nullptr;
    QPushButton* m_close = nullptr;
    QHBoxLayout* m_extra = nullptr;
};

// Pictures of the status images 0 (registrable) to 4 (a word was not found).
QList<QIcon> StandardStatusImages();
