#pragma once
// A ribbon of our own: a row with the application button, the category tabs and a small
// about button, above the panels of the current category. Panels hold large buttons with
// a caption under the icon, separators, and the panel caption at the bottom.
//
// When the window is too narrow for every panel, panels give way from the right: first to
// small icons with the caption beside them in columns of three, then to one drop-down
// button that holds the panel's commands. Every button's tooltip says what its command
// does and, while it is disabled, why (the reason the enabling rules gave the ribbon).
#include <QFrame>
#include <QList>
#include <QToolButton>

class QAction;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QMenu;
class QStackedWidget;
class QTabBar;

class CRibbonPanel : public QFrame
{
    Q_OBJECT
public:
    enum class EMode { Large, Small, Collapsed };

    explicit CRibbonPanel(const QString& caption, QWidget* parent = nullptr);
    QToolButton* AddButton(QAction* action);
    void AddSeparator();
    QString Caption() const;
    // The large buttons, in order.
    QList<QToolButton*> Buttons() const { return m_buttons; }
    // The buttons of the current mode that show a command (the drop-down when collapsed).
    QList<QToolButton*> VisibleButtons() const;
    QToolButton* DropDownButton() const { return m_dropDown; }

    EMode Mode() const { return m_mode; }
    void SetMode(EMode mode);
    // The width the panel needs in a mode.
    int WidthFor(EMode mode) const;

private:
    void RebuildSmall();

    EMode m_mode = EMode::Large;
    QWidget* m_large;
    QHBoxLayout* m_row;
    QWidget* m_small;
    QGridLayout* m_smallGrid;
    QToolButton* m_dropDown;
    QMenu* m_dropMenu;
    QLabel* m_caption;
    QList<QToolButton*> m_buttons;
    QList<QToolButton*> m_smallButtons;
    QList<QAction*> m_actions; // null entries stand for separators
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

    // Why a command is disabled, shown in its tooltip while it is (for example that it needs
    // the A/R connection). The rules that enable the command set it; empty removes it.
    static void SetDisabledReason(QAction* action, const QString& reason);
    static QString DisabledReason(const QAction* action);
    // The tooltip of a command's buttons: what it does, and why it is disabled when it is.
    static QString ToolTipFor(const QAction* action);

    // Chooses each panel's mode for the width available now.
    void FitPanels();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QToolButton* m_appButton;
    QToolButton* m_cornerButton;
    QTabBar* m_tabs;
    QStackedWidget* m_pages;
    QList<QList<CRibbonPanel*>> m_panels;
};

// A ribbon button that keeps its caption style and its tooltip in step with its action.
class CRibbonButton : public QToolButton
{
    Q_OBJECT
public:
    CRibbonButton(bool twoLineCaption, QWidget* parent);
    void Refresh();

protected:
    void actionEvent(QActionEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool m_twoLine;
};
