#include "components/QrProgressWnd.h"

#include "components/Platform.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {
std::unique_ptr<IProgressBackend>& Slot()
{
    static std::unique_ptr<IProgressBackend> backend = std::make_unique<CSilentProgress>();
    return backend;
}
bool g_shown = false;
} // namespace

void CQrProgressWnd::SetBackend(std::unique_ptr<IProgressBackend> backend)
{
    Slot() = backend ? std::move(backend) : std::make_unique<CSilentProgress>();
}

IProgressBackend* CQrProgressWnd::Backend()
{
    return Slot().get();
}

void CQrProgressWnd::Show(int steps, const QString& title, const QString& text, QObject* parent, bool cancellable)
{
    g_shown = true;
    Slot()->Show(steps, title, text, parent, cancellable);
}

void CQrProgressWnd::ShowMarquee(const QString& title, const QString& text, QObject* parent)
{
    g_shown = true;
    Slot()->ShowMarquee(title, text, parent);
}

void CQrProgressWnd::SetMsg(const QString& text)
{
    Slot()->SetMsg(text);
}
void CQrProgressWnd::StepIt()
{
    Slot()->StepIt();
}
bool CQrProgressWnd::IsCanceling()
{
    return Slot()->IsCanceling();
}
void CQrProgressWnd::Hide()
{
    g_shown = false;
    Slot()->Hide();
}
bool CQrProgressWnd::IsShown()
{
    return g_shown;
}

CConsoleProgress::CConsoleProgress() : m_terminal(Platform::IsTerminal(stderr)) {}

void CConsoleProgress::Show(int steps, const QString& title, const QString& text, QObject*, bool)
{
    m_steps = steps;
    m_done = 0;
    m_lastPercent = -1;
    m_text = text.isEmpty() ? title : text;
    m_visible = true;
    if (!m_terminal) {
        if (steps <= 0) // no count: a busy line, as ShowMarquee
            std::fprintf(stderr, "%s\n", m_text.toLocal8Bit().constData());
        else
            std::fprintf(stderr, "%s (%d)\n", m_text.toLocal8Bit().constData(), steps);
        std::fflush(stderr);
        return;
    }
    Draw(true);
}

void CConsoleProgress::ShowMarquee(const QString& title, const QString& text, QObject*)
{
    m_steps = 0;
    m_done = 0;
    m_text = text.isEmpty() ? title : text;
    m_visible = true;
    if (!m_terminal) {
        std::fprintf(stderr, "%s\n", m_text.toLocal8Bit().constData());
        std::fflush(stderr);
        return;
    }
    Draw(true);
}

void CConsoleProgress::SetMsg(const QString& text)
{
    m_text = text;
    if (m_terminal)
        Draw(true);
}

void CConsoleProgress::StepIt()
{
    ++m_done;
    Draw(false);
}

void CConsoleProgress::Hide()
{
    if (m_visible && m_terminal)
        std::fputs("\n", stderr);
    m_visible = false;
}

void CConsoleProgress::Draw(bool force)
{
    if (!m_visible || !m_terminal)
        return;
    // Callers may step past their count; the bar must not grow past its width.
    const int percent = m_steps > 0 ? int(std::clamp<qint64>(qint64(m_done) * 100 / m_steps, 0, 100)) : 0;
    if (!force && percent == m_lastPercent)
        return; // redraw only when the bar moves
    m_lastPercent = percent;
    if (m_steps <= 0) { // busy, no count: the text alone (a bar would stand at 0 %)
        std::fprintf(stderr, "\r%s", m_text.left(60).toLocal8Bit().constData());
        std::fflush(stderr);
        return;
    }
    const int width = 30;
    const int filled = percent * width / 100;
    std::string bar(size_t(filled), '#');
    bar.append(size_t(width - filled), '.');
    std::fprintf(stderr, "\r%s [%s] %3d%%", m_text.left(40).toLocal8Bit().constData(), bar.c_str(), percent);
    std::fflush(stderr);
}
