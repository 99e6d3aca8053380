#pragma once
// The progress window of the desktop program: a window-modal QProgressDialog over the form
// (or the main window). The caller's loop runs on the UI thread, so the back end lets the
// event loop breathe at most every few tens of milliseconds: the window repaints and the
// cancel button works without slowing loops of 100,000 items.
#include "components/QrProgressWnd.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

class CProgressDialogBackend : public IProgressBackend
{
public:
    // The default owner when a caller passes no parent (the main frame).
    explicit CProgressDialogBackend(QWidget* mainFrame = nullptr);
    ~CProgressDialogBackend() override;

    void SetMainFrame(QWidget* mainFrame) { m_mainFrame = mainFrame; }

    void Show(int steps, const QString& title, const QString& text, QObject* parent, bool cancellable) override;
    void ShowMarquee(const QString& title, const QString& text, QObject* parent) override;
    void SetMsg(const QString& text) override;
    void StepIt() override;
    bool IsCanceling() override;
    void Hide() override;

    QProgressDialog* Dialog() const { return m_dialog; }
    int Value() const { return m_value; }

private:
    QWidget* OwnerOf(QObject* parent) const;
    void Open(const QString& title, const QString& text, QObject* parent, bool cancellable, int steps);
    void Breathe(bool force);

    QPointer<QWidget> m_mainFrame;
    QPointer<QProgressDialog> m_dialog;
    QElapsedTimer m_sinceBreath;
    int m_value = 0;
    int m_steps = 0;
    bool m_canceled = false;
};
