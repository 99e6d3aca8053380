#pragma once
// A ribbon of our own: a row with the application button, the category tabs and a small
// about button, above the panels of the current category. Panels hold large buttons with
// a caption under the icon, separators, and the panel caption at the bottom.
#include <QFrame>
#include <QList>

class QAction;
class QHBoxLayout;
class QLabel;
class QMenu;
class QStackedWidget;
class QTabBar;
class QToolButton;

class CRibbonPanel : public QFrame
{
    Q_OBJECT
public:
    explicit CRibbonPanel(const QString& caption, QWidget* parent = nullptr);
    QToolButton* AddButton(QAction* action);
    void AddSeparator();
    QString Caption() const;
    QList<QToolButton*> Buttons() const { return m_buttons; }

private:
    QHBoxLayout* m_row;
    QLabel* m_caption;
    QList<QToolButton*> m_buttons;
};

class CRibbonBar : public QFrame
{
    Q_OBJECT
public:
    explicit CRibbonBar(QWidget* parent = nullptr);

    // The application button's caption and menu.
    void SetApplicationMenu(const QString& caption, QMenu* menu);
    QToolButton* ApplicationButton() const { return m_appButton; }
    // The caption-less button at the right end of the tab row.
    void SetCornerAction(QAction* action);

    // Adds a category tab; panels are then added to it in order.
    int AddCategory(const QString& caption);
    CRibbonPanel* AddPanel(int category, const QString& caption);
    QList<CRibbonPanel*> Panels(int category) const;
    QStringList Categories() const;

    // Large button captions go over two lines, split at the blank nearest the middle.
    static QString TwoLineCaption(const QString& caption);

private:
    QToolButton* m_appButton;
    QToolButton* m_cornerButton;
    QTabBar* m_tabs;
    QStackedWidget* m_pages;
    QList<QList<CRibbonPanel*>> m_panels;
};
