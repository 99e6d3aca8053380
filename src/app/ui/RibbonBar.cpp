#include "app/ui/RibbonBar.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kLargeIcon = 32;

// Keeps the button's two-line caption when the action's text changes.
class CLargeButton : public QToolButton
{
public:
    explicit CLargeButton(QWidget* parent) : QToolButton(parent) {}

protected:
    void actionEvent(QActionEvent* event) override
    {
        QToolButton::actionEvent(event);
        if (defaultAction())
            setText(CRibbonBar::TwoLineCaption(defaultAction()->text()));
    }
};
} // namespace

CRibbonPanel::CRibbonPanel(const QString& caption, QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("RibbonPanel"));
    setFrameShape(QFrame::NoFrame);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 3, 4, 2);
    outer->setSpacing(1);
    m_row = new QHBoxLayout;
    m_row->setSpacing(1);
    m_row->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(m_row, 1);
    m_caption = new QLabel(caption, this);
    m_caption->setObjectName(QStringLiteral("RibbonPanelCaption"));
    m_caption->setAlignment(Qt::AlignCenter);
    outer->addWidget(m_caption);
}

QToolButton* CRibbonPanel::AddButton(QAction* action)
{
    auto* button = new CLargeButton(this);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(kLargeIcon, kLargeIcon));
    button->setAutoRaise(true);
    button->setText(CRibbonBar::TwoLineCaption(action->text()));
    button->setToolTip(action->text());
    button->setMinimumWidth(54);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_row->addWidget(button, 0, Qt::AlignTop);
    m_buttons << button;
    return button;
}

void CRibbonPanel::AddSeparator()
{
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("RibbonSeparator"));
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    m_row->addWidget(line);
}

QString CRibbonPanel::Caption() const
{
    return m_caption->text();
}

CRibbonBar::CRibbonBar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("RibbonBar"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* tabRow = new QHBoxLayout;
    tabRow->setContentsMargins(2, 2, 2, 0);
    tabRow->setSpacing(4);
    m_appButton = new QToolButton(this);
    m_appButton->setObjectName(QStringLiteral("RibbonAppButton"));
    m_appButton->setPopupMode(QToolButton::InstantPopup);
    m_appButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_appButton->setMinimumWidth(64);
    tabRow->addWidget(m_appButton);
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("RibbonTabs"));
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    tabRow->addWidget(m_tabs);
    tabRow->addStretch(1);
    m_cornerButton = new QToolButton(this);
    m_cornerButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_cornerButton->setAutoRaise(true);
    m_cornerButton->hide();
    tabRow->addWidget(m_cornerButton);
    outer->addLayout(tabRow);

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("RibbonPages"));
    outer->addWidget(m_pages);
    connect(m_tabs, &QTabBar::currentChanged, m_pages, &QStackedWidget::setCurrentIndex);
}

void CRibbonBar::SetApplicationMenu(const QString& caption, QMenu* menu)
{
    m_appButton->setText(caption);
    m_appButton->setMenu(menu);
}

void CRibbonBar::SetCornerAction(QAction* action)
{
    m_cornerButton->setDefaultAction(action);
    m_cornerButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_cornerButton->show();
}

int CRibbonBar::AddCategory(const QString& caption)
{
    auto* page = new QWidget(m_pages);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(0);
    row->addStretch(1);
    m_pages->addWidget(page);
    m_panels.append(QList<CRibbonPanel*>());
    return m_tabs->addTab(caption);
}

CRibbonPanel* CRibbonBar::AddPanel(int category, const QString& caption)
{
    if (category < 0 || category >= m_panels.size())
        return nullptr;
    QWidget* page = m_pages->widget(category);
    auto* row = static_cast<QHBoxLayout*>(page->layout());
    auto* panel = new CRibbonPanel(caption, page);
    // panels go before the trailing stretch, each followed by a divider
    const int at = row->count() - 1;
    row->insertWidget(at, panel);
    auto* divider = new QFrame(page);
    divider->setObjectName(QStringLiteral("RibbonPanelDivider"));
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    row->insertWidget(at + 1, divider);
    m_panels[category].append(panel);
    return panel;
}

QList<CRibbonPanel*> CRibbonBar::Panels(int category) const
{
    return category >= 0 && category < m_panels.size() ? m_panels[category] : QList<CRibbonPanel*>();
}

QStringList CRibbonBar::Categories() const
{
    QStringList names;
    for (int i = 0; i < m_tabs->count(); ++i)
        names << m_tabs->tabText(i);
    return names;
}

QString CRibbonBar::TwoLineCaption(const QString& caption)
{
    if (caption.contains(u'\n'))
        return caption;
    // short captions keep a blank second line so all icons line up
    if (caption.size() <= 4)
        return caption + u'\n';
    const qsizetype mid = caption.size() / 2;
    qsizetype best = -1;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u' ' && (best < 0 || qAbs(i - mid) < qAbs(best - mid)))
            best = i;
    }
    if (best < 0)
        return caption + u'\n';
    QString out = caption;
    out[best] = u'\n';
    return out;
}
