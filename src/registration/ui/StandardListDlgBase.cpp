#include "registration/ui/StandardListDlgBase.h"

#include "components/ui/QrMessageBox.h"
#include "components/ui/QrTreeGrid.h"
#include "registration/StandardListTexts.h"
#include "repository/RepositoryConnection.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace T = StandardListTexts;

QList<QIcon> StandardStatusImages()
{
    QStyle* style = QApplication::style();
    return {style->standardIcon(QStyle::SP_DialogApplyButton), style->standardIcon(QStyle::SP_DialogCancelButton),
            style->standardIcon(QStyle::SP_MessageBoxWarning), style->standardIcon(QStyle::SP_MessageBoxInformation),
            style->standardIcon(QStyle::SP_MessageBoxCritical)};
}

CStandardListDlgBase::CStandardListDlgBase(const QString& caption, const QString& listLabel, const QStringList& columns,
                                           const QString& areaId, QWidget* parent)
    : QDialog(parent), m_areaId(areaId)
{
    setWindowTitle(caption);
    setSizeGripEnabled(true);
    resize(760, 520);
    m_areas = new QComboBox(this);
    m_areas->setMinimumWidth(240);
    m_group = new QGroupBox(listLabel, this);
    m_grid = new CQrTreeGrid(m_group);
    m_grid->setRootIsDecorated(false);
    m_grid->SetDefaultEditable(false);
    m_grid->SetImageList(StandardStatusImages());
    m_grid->SetColumns(columns);
    auto* groupLayout = new QVBoxLayout(m_group);
    groupLayout->addWidget(m_grid);
    m_register = new QPushButton(T::Register, this);
    m_close = new QPushButton(T::Close, this);
    m_register->setAutoDefault(false);
    m_close->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(T::AreaLabel, this));
    top->addWidget(m_areas, 1);
    m_extra = new QHBoxLayout;
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(m_extra);
    bottom->addStretch();
    bottom->addWidget(m_register);
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_group, 1);
    layout->addLayout(bottom);

    connect(m_register, &QPushButton::clicked, this, [this] {
        if (HasArea())
            Register();
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void CStandardListDlgBase::Start()
{
    StandardAreaMap areas;
    if (CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate())
        gate->SelectStandardAreas(areas);
    {
        QSignalBlocker block(m_areas);
        // The area last worked in comes first; it is offered, not chosen: registration goes
        // only into an area the caller gave or the user picks now.
        const QString remembered = CRepositoryConnection::Instance().RememberedAreaId();
        for (const auto& [name, id] : areas)
            if (id == remembered)
                m_areas->addItem(name, id);
        for (const auto& [name, id] : areas)
            if (id != remembered)
                m_areas->addItem(name, id);
        const int index = m_areaId.isEmpty() ? -1 : m_areas->findData(m_areaId);
        m_areas->setCurrentIndex(index);
        m_areaId = index >= 0 ? m_areas->itemData(index).toString() : QString();
        m_areas->setPlaceholderText(T::ChooseArea);
    }
    connect(m_areas, &QComboBox::currentIndexChanged, this, &CStandardListDlgBase::OnAreaChanged);
    m_grid->BeginUpdate();
    FillRows();
    m_grid->EndUpdate();
    if (!m_areaId.isEmpty())
        Check();
    m_grid->AutoSizeColumns();
}

bool CStandardListDlgBase::HasArea()
{
    if (!m_areaId.isEmpty())
        return true;
    CQrMessageBox::Information(this, T::ChooseArea);
    return false;
}

void CStandardListDlgBase::OnAreaChanged(int index)
{
    m_areaId = index >= 0 ? m_areas->itemData(index).toString() : QString();
    if (m_areaId.isEmpty())
        return;
    CRepositoryConnection::Instance().RememberArea(m_areaId);
    Check();
}

void CStandardListDlgBase::ShowStatus(int row, int image, int noteColumn, const QString& note)
{
    m_grid->SetItemImage(row, 0, image);
    m_grid->SetItemText(row, noteColumn, note);
    m_grid->SetBkColorRow(
        row, CQrTreeGrid::FromWinColor(image == 0 ? CQrTreeGrid::ColorWhite : CQrTreeGrid::ColorLightGrey));
}
