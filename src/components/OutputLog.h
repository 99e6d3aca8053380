#pragma once
// Lines for the output pane. The window shows them in the pane with a time prefix,
// the command line writes them to stderr, tests collect them.
#include <QString>
#include <QStringList>
#include <functional>

class OutputLog
{
public:
    using Sink = std::function<void(const QString&)>;
    static void Post(const QString& text);
    // Replaces the back end; an empty sink restores the default (stderr).
    static void SetSink(Sink sink);
    // The pane's prefix: "[yyyy-MM-dd hh:mm:ss] " in local time.
    static QString TimePrefix();
};

// Collects posted lines while alive (tests), then puts the previous back end back.
class OutputLogCapture
{
public:
    OutputLogCapture();
    ~OutputLogCapture();
    QStringList lines;

private:
    OutputLog::Sink m_previous; // restored on destruction (tests keep the log silent)
};
