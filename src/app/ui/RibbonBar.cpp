#include "app/ui/RibbonBar.h"

#include <QAction>
#include <QActionEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int kLargeIcon = 32;
constexpr int kSmallIcon = 16;
constexpr int kSmallRows = 3;
const char* const kReasonProperty = "ribbonDisabledReason";
const QString kUnavailable = QStringLiteral("사용할 수 없음: ");

QFrame* MakeSeparator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("RibbonSeparator"));
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
} // namespace

// --- button -----------------------------------------------------------------------------

CRibbonButton::CRibbonButton(bool twoLineCaption, QWidget* parent) : QToolButton(parent), m_twoLine(twoLineCaption) {}

void CRibbonButton::Refresh()
{
    const QAction* action = defaultAction();
    if (!action)
        return;
    setText(m_twoLine ? CRibbonBar::TwoLineCaption(action->text()) : action->text());
    setToolTip(CRibbonBar::ToolTipFor(action));
}

void CRibbonButton::actionEvent(QActionEvent* event)
{
    QToolButton::actionEvent(event);
    Refresh();
}

bool CRibbonButton::event(QEvent* event)
{
    // the reason may have changed without the action telling anyone
    if (event->type() == QEvent::ToolTip)
        Refresh();
    return QToolButton::event(event);
}

// --- panel ------------------------------------------------------------------------------

CRibbonPanel::CRibbonPanel(const QString& caption, QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("RibbonPanel"));
    setFrameShape(QFrame::NoFrame);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 3, 4, 2);
    outer->setSpacing(1);
    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    outer->addLayout(body, 1);

    m_large = new QWidget(this);
    m_row = new QHBoxLayout(m_large);
    m_row->setSpacing(1);
    m_row->setContentsMargins(0, 0, 0, 0);
    body->addWidget(m_large);

    m_small = new QWidget(this);
    m_smallGrid = new QGridLayout(m_small);
    m_smallGrid->setContentsMargins(0, 0, 0, 0);
    m_smallGrid->setHorizontalSpacing(2);
    m_smallGrid->setVerticalSpacing(0);
    m_small->hide();
    body->addWidget(m_small);

    m_dropMenu = new QMenu(this);
    m_dropDown = new QToolButton(this);
    m_dropDown->setObjectName(QStringLiteral("RibbonPanelDropDown"));
    m_dropDown->setPopupMode(QToolButton::InstantPopup);
    m_dropDown->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_dropDown->setIconSize(QSize(kLargeIcon, kLargeIcon));
    m_dropDown->setAutoRaise(true);
    m_dropDown->setText(CRibbonBar::TwoLineCaption(caption));
    m_dropDown->setToolTip(caption);
    m_dropDown->setMenu(m_dropMenu);
    m_dropDown->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_dropDown->hide();
    body->addWidget(m_dropDown, 0, Qt::AlignTop);

    m_caption = new QLabel(caption, this);
    m_caption->setObjectName(QStringLiteral("RibbonPanelCaption"));
    m_caption->setAlignment(Qt::AlignCenter);
    outer->addWidget(m_caption);
}

QToolButton* CRibbonPanel::AddButton(QAction* action)
{
    auto* button = new CRibbonButton(true, m_large);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(kLargeIcon, kLargeIcon));
    button->setAutoRaise(true);
    button->Refresh();
    button->setMinimumWidth(54);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_row->addWidget(button, 0, Qt::AlignTop);
    m_buttons << button;

    if (m_actions.isEmpty())
        m_dropDown->setIcon(action->icon());
    m_actions << action;
    m_dropMenu->addAction(action);
    RebuildSmall();
    return button;
}

void CRibbonPanel::AddSeparator()
{
    m_row->addWidget(MakeSeparator(m_large));
    m_actions << nullptr;
    m_dropMenu->addSeparator();
    RebuildSmall();
}

void CRibbonPanel::RebuildSmall()
{
    // Columns of three small buttons; a separator closes its column.
    while (QLayoutItem* item = m_smallGrid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_smallButtons.clear();
    int col = 0;
    int row = 0;
    for (QAction* action : m_actions) {
        if (!action) {
            if (row > 0)
                ++col;
            m_smallGrid->addWidget(MakeSeparator(m_small), 0, col++, kSmallRows, 1);
            row = 0;
            continue;
        }
        auto* button = new CRibbonButton(false, m_small);
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIconSize(QSize(kSmallIcon, kSmallIcon));
        button->setAutoRaise(true);
        button->Refresh();
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_smallGrid->addWidget(button, row, col);
        m_smallButtons << button;
        if (++row == kSmallRows) {
            row = 0;
            ++col;
        }
    }
}

QList<QToolButton*> CRibbonPanel::VisibleButtons() const
{
    switch (m_mode) {
    case EMode::Large:
        return m_buttons;
    case EMode::Small:
        return m_smallButtons;
    case EMode::Collapsed:
        break;
    }
    return {m_dropDown};
}

void CRibbonPanel::SetMode(EMode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    m_large->setVisible(mode == EMode::Large);
    m_small->setVisible(mode == EMode::Small);
    m_dropDown->setVisible(mode == EMode::Collapsed);
    m_caption->setVisible(mode != EMode::Collapsed);
}

int CRibbonPanel::WidthFor(EMode mode) const
{
    const QMargins margins = layout()->contentsMargins();
    int content = 0;
    switch (mode) {
    case EMode::Large:
        content = m_large->sizeHint().width();
        break;
    case EMode::Small:
        content = m_small->sizeHint().width();
        break;
    case EMode::Collapsed:
        return m_dropDown->sizeHint().width() + margins.left() + margins.right();
    }
    return std::max(content, m_caption->sizeHint().width()) + margins.left() + margins.right();
}

QString CRibbonPanel::Caption() const
{
    return m_caption->text();
}

// --- bar --------------------------------------------------------------------------------

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
    // The panels fit themselves to the width (FitPanels); the ribbon never holds the window wide.
    m_pages->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    outer->addWidget(m_pages);
    connect(m_tabs, &QTabBar::currentChanged, m_pages, &QStackedWidget::setCurrentIndex);
    connect(m_tabs, &QTabBar::currentChanged, this, &CRibbonBar::FitPanels);
}

void CRibbonBar::SetApplicationMenu(const QString& caption, QMenu* menu)
{
    m_appButton->setText(caption);
    m_appButton->setMenu(menu);
    QStringList items;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator() && !action->text().isEmpty())
            items << action->text();
    m_appButton->setToolTip(caption + QStringLiteral(" 메뉴: ") + items.join(QStringLiteral(", ")));
    connect(menu, &QMenu::aboutToShow, m_appButton, [this, caption, menu] {
        QStringList now;
        for (const QAction* action : menu->actions())
            if (!action->isSeparator() && !action->text().isEmpty())
                now << action->text();
        m_appButton->setToolTip(caption + QStringLiteral(" 메뉴: ") + now.join(QStringLiteral(", ")));
    });
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

void CRibbonBar::SetDisabledReason(QAction* action, const QString& reason)
{
    if (!action)
        return;
    action->setProperty(kReasonProperty, reason);
    for (QObject* object : action->associatedObjects())
        if (auto* button = qobject_cast<CRibbonButton*>(object))
            button->Refresh();
}

QString CRibbonBar::DisabledReason(const QAction* action)
{
    return action ? action->property(kReasonProperty).toString() : QString();
}

QString CRibbonBar::ToolTipFor(const QAction* action)
{
    if (!action)
        return {};
    QString tip = action->toolTip();
    if (tip.isEmpty())
        tip = action->text();
    const QString reason = DisabledReason(action);
    if (!action->isEnabled() && !reason.isEmpty())
        tip += u'\n' + kUnavailable + reason;
    return tip;
}

void CRibbonBar::FitPanels()
{
    const int category = m_tabs->currentIndex();
    const QList<CRibbonPanel*> panels = Panels(category);
    if (panels.isEmpty())
        return;
    QWidget* page = m_pages->widget(category);
    const QMargins margins = page->layout()->contentsMargins();
    int available = width() - margins.left() - margins.right();
    // the dividers between panels
    for (int i = 0; i < panels.size(); ++i)
        available -= 4;

    QList<CRibbonPanel::EMode> modes(panels.size(), CRibbonPanel::EMode::Large);
    auto total = [&] {
        int sum = 0;
        for (int i = 0; i < panels.size(); ++i)
            sum += panels[i]->WidthFor(modes[i]);
        return sum;
    };
    // From the right: small icons first, then whole panels into their drop-down.
    for (CRibbonPanel::EMode step : {CRibbonPanel::EMode::Small, CRibbonPanel::EMode::Collapsed}) {
        for (int i = int(panels.size()) - 1; i >= 0 && total() > available; --i) {
            // a drop-down holding one command only hides it behind a second click
            if (step == CRibbonPanel::EMode::Collapsed && panels[i]->Buttons().size() < 2)
                continue;
            if (panels[i]->WidthFor(step) < panels[i]->WidthFor(modes[i]))
                modes[i] = step;
        }
    }
    for (int i = 0; i < panels.size(); ++i)
        panels[i]->SetMode(modes[i]);
}

void CRibbonBar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    FitPanels();
}

void CRibbonBar::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    FitPanels();
}
