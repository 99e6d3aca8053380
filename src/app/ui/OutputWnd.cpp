#include "app/ui/OutputWnd.h"

#include "app/ui/AppTexts.h"
#include "components/OutputLog.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTabWidget>
#include <QThread>

COutputList::COutputList(QWidget* parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("OutputList"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
}

bool COutputList::CopyAll()
{
    if (count() == 0)
        return false;
    QString text;
    for (int i = 0; i < count(); ++i)
        text += item(i)->text() + QStringLiteral("\r\n");
    QApplication::clipboard()->setText(text);
    return true;
}

void COutputList::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(AppText::Copy);
    QAction* clear = menu.addAction(AppText::Clear);
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == copy)
        CopyAll();
    else if (chosen == clear)
        ClearAll();
}

COutputWnd::COutputWnd(QWidget* parent) : QDockWidget(AppText::OutputPane, parent)
{
    setObjectName(QStringLiteral("OutputWnd"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_tabs = new QTabWidget(this);
    m_tabs->setDocumentMode(true);
    m_tabs->setTabPosition(QTabWidget::South);
    m_list = new COutputList(m_tabs);
    // two lines are enough on a short window: the forms need the height more
    m_list->setMinimumHeight(2 * m_list->fontMetrics().height() + 8);
    m_tabs->addTab(m_list, AppText::OutputTab);
    setWidget(m_tabs);
}

void COutputWnd::AddText(const QString& text)
{
    const QString line = OutputLog::TimePrefix() + text;
    auto add = [this, line] {
        m_list->addItem(line);
        m_list->scrollToBottom();
    };
    if (QThread::currentThread() != thread())
        QMetaObject::invokeMethod(this, add, Qt::QueuedConnection);
    else
        add();
}
