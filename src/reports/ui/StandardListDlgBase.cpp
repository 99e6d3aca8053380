#include "reports/ui/StandardListDlgBase.h"

#include "components/ui/QrTreeGrid.h"
#include "reports/StandardListTexts.h"
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

    connect(m_register, &QPushButton::clicked, this, [this] { Register(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void CStandardListDlgBase::Start()
{
    StandardAreaMap areas;
    if (CSqlBaseGate* gate = CRepositoryConnection::Instance().OpenGate())
        gate->SelectStandardAreas(areas);
    {
        QSignalBlocker block(m_areas);
        for (const auto& [name, id] : areas)
            m_areas->addItem(name, id);
        int index = m_areas->findData(m_areaId);
        if (index < 0 && m_areas->count() > 0)
            index = 0;
        m_areas->setCurrentIndex(index);
        if (index >= 0)
            m_areaId = m_areas->itemData(index).toString();
    }
    connect(m_areas, &QComboBox::currentIndexChanged, this, &CStandardListDlgBase::OnAreaChanged);
    m_grid->BeginUpdate();
    FillRows();
    m_grid->EndUpdate();
    Check();
    m_grid->AutoSizeColumns();
}

void CStandardListDlgBase::OnAreaChanged(int index)
{
    m_areaId = m_areas->itemData(index).toString();
    Check();
}

void CStandardListDlgBase::ShowStatus(int row, int image, int noteColumn, const QString& note)
{
    m_grid->SetItemImage(row, 0, image);
    m_grid->SetItemText(row, noteColumn, note);
    m_grid->SetBkColorRow(
        row, CQrTreeGrid::FromWinColor(image == 0 ? CQrTreeGrid::ColorWhite : CQrTreeGrid::ColorLightGrey));
}
