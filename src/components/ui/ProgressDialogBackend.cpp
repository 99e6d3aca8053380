#include "components/ui/ProgressDialogBackend.h"

#include "components/ui/WindowWording.h"

#include <QApplication>
#include <QProgressDialog>

namespace {
constexpr qint64 kBreathMs = 40;
}

CProgressDialogBackend::CProgressDialogBackend(QWidget* mainFrame) : m_mainFrame(mainFrame) {}

CProgressDialogBackend::~CProgressDialogBackend()
{
    delete m_dialog.data();
}

QWidget* CProgressDialogBackend::OwnerOf(QObject* parent) const
{
    for (QObject* o = parent; o; o = o->parent()) {
        if (auto* w = qobject_cast<QWidget*>(o))
            return w->window();
    }
    return m_mainFrame ? m_mainFrame->window() : nullptr;
}

void CProgressDialogBackend::Open(const QString& title, const QString& text, QObject* parent, bool cancellable,
                                  int steps)
{
    delete m_dialog.data(); // a new Show opens the window anew
    auto* dlg = new QProgressDialog(OwnerOf(parent));
    dlg->setWindowTitle(WindowWording::Korean(title));
    dlg->setLabelText(WindowWording::Korean(text));
    dlg->setAutoClose(false);
    dlg->setAutoReset(false);
    dlg->setMinimumDuration(0);
    // window-modal: the loop pumps events, and the user must not start a second command meanwhile
    dlg->setWindowModality(Qt::WindowModal);
    if (!cancellable)
        dlg->setCancelButton(nullptr);
    else
        dlg->setCancelButtonText(QStringLiteral("취소"));
    dlg->setRange(0, steps);
    dlg->setMinimumWidth(360);
    m_dialog = dlg;
    m_value = 0;
    m_steps = steps;
    m_canceled = false;
    QObject::connect(dlg, &QProgressDialog::canceled, dlg, [this] { m_canceled = true; });
    dlg->setValue(0);
    dlg->show();
    Breathe(true);
}

void CProgressDialogBackend::Show(int steps, const QString& title, const QString& text, QObject* parent,
                                  bool cancellable)
{
    Open(title, text, parent, cancellable, std::max(steps, 0));
}

void CProgressDialogBackend::ShowMarquee(const QString& title, const QString& text, QObject* parent)
{
    Open(title, text, parent, false, 0); // range 0..0 is the busy indicator
}

void CProgressDialogBackend::SetMsg(const QString& text)
{
    if (m_dialog) {
        m_dialog->setLabelText(WindowWording::Korean(text));
        Breathe(true);
    }
}

void CProgressDialogBackend::StepIt()
{
    if (!m_dialog)
        return;
    ++m_value;
    Breathe(false);
}

bool CProgressDialogBackend::IsCanceling()
{
    if (!m_dialog)
        return m_canceled;
    Breathe(false);
    return m_canceled || m_dialog->wasCanceled();
}

void CProgressDialogBackend::Hide()
{
    if (m_dialog) {
        m_dialog->hide();
        m_dialog->deleteLater();
        m_dialog = nullptr;
    }
    m_canceled = false;
}

void CProgressDialogBackend::Breathe(bool force)
{
    if (!m_dialog)
        return;
    if (!force && m_sinceBreath.isValid() && m_sinceBreath.elapsed() < kBreathMs)
        return;
    m_sinceBreath.restart();
    if (m_steps > 0)
        m_dialog->setValue(std::min(m_value, m_steps)); // a window-modal dialog pumps events here
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}
