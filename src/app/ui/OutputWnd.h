#pragma once
// The output pane "출력": one tab "메세지" holding the message list. Every line gets the
// local time in front; the list's menu copies all lines or clears them.
#include <QDockWidget>
#include <QListWidget>

class QTabWidget;

class COutputList : public QListWidget
{
    Q_OBJECT
public:
    explicit COutputList(QWidget* parent = nullptr);
    // All lines, each followed by CR LF, to the clipboard; nothing when the list is empty.
    // Returns whether the clipboard was written.
    bool CopyAll();
    void ClearAll() { clear(); }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
};

class COutputWnd : public QDockWidget
{
    Q_OBJECT
public:
    explicit COutputWnd(QWidget* parent = nullptr);
    // Adds one line with the time prefix and scrolls to it. Safe from any thread.
    void AddText(const QString& text);
    COutputList* List() const { return m_list; }
    QTabWidget* Tabs() const { return m_tabs; }

private:
    QTabWidget* m_tabs;
    COutputList* m_list;
};
