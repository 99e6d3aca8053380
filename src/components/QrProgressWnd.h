#pragma once
// The one progress window of the process, as a static facade. The window, the
// command line and the tests plug in their own back end.
#include <QString>
#include <memory>

class QObject;

class IProgressBackend
{
public:
    virtual ~IProgressBackend() = default;
    virtual void Show(int steps, const QString& title, const QString& text, QObject* parent, bool cancellable) = 0;
    virtual void ShowMarquee(const QString& title, const QString& text, QObject* parent) = 0;
    virtual void SetMsg(const QString& text) = 0;
    virtual void StepIt() = 0;
    virtual bool IsCanceling() = 0;
    virtual void Hide() = 0;
};

class CQrProgressWnd
{
public:
    static constexpr const char16_t* TitleProcess = u"Termwise Process";
    static constexpr const char16_t* TitleRead = u"Termwise Read";
    static constexpr const char16_t* TitleExport = u"Termwise Export";
    static constexpr const char16_t* TitleInitialize = u"Termwise Initialize";

    // Takes ownership. Passing null restores the silent back end.
    static void SetBackend(std::unique_ptr<IProgressBackend> backend);
    static IProgressBackend* Backend();

    static void Show(int steps, const QString& title, const QString& text, QObject* parent = nullptr,
                     bool cancellable = true);
    static void ShowMarquee(const QString& title, const QString& text, QObject* parent = nullptr);
    static void SetMsg(const QString& text);
    static void StepIt();
    static bool IsCanceling();
    static void Hide();
    // Between a Show or ShowMarquee and the Hide: a long loop is running and pumping events.
    static bool IsShown();
};

// Does nothing; cancel can be requested by tests.
class CSilentProgress : public IProgressBackend
{
public:
    void Show(int steps, const QString&, const QString&, QObject*, bool) override
    {
        m_steps = steps;
        m_done = 0;
    }
    void ShowMarquee(const QString&, const QString&, QObject*) override {}
    void SetMsg(const QString&) override {}
    void StepIt() override
    {
        ++m_done;
        if (m_cancelAfter >= 0 && m_done >= m_cancelAfter)
            m_cancel = true;
    }
    bool IsCanceling() override { return m_cancel; }
    void Hide() override { m_cancel = false; }

    int m_steps = 0;
    int m_done = 0;
    int m_cancelAfter = -1; // request cancel after this many steps (tests)
    bool m_cancel = false;
};

// Progress on stderr for the command line: a one-line bar redrawn in place on a terminal;
// elsewhere (a log, a pipe) one plain line per piece of work, never a redraw.
class CConsoleProgress : public IProgressBackend
{
public:
    CConsoleProgress();
    explicit CConsoleProgress(bool terminal) : m_terminal(terminal) {}
    void Show(int steps, const QString& title, const QString& text, QObject*, bool) override;
    void ShowMarquee(const QString& title, const QString& text, QObject*) override;
    void SetMsg(const QString& text) override;
    void StepIt() override;
    bool IsCanceling() override { return false; }
    void Hide() override;

private:
    void Draw(bool force);
    int m_steps = 0;
    int m_done = 0;
    int m_lastPercent = -1;
    QString m_text;
    bool m_visible = false;
    bool m_terminal = false;
};
