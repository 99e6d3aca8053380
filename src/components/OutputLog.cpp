#include "components/OutputLog.h"

#include "components/Redact.h"

#include <QDateTime>
#include <cstdio>

namespace {
void StderrSink(const QString& text)
{
    std::fprintf(stderr, "%s%s\n", OutputLog::TimePrefix().toLocal8Bit().constData(), text.toLocal8Bit().constData());
}
OutputLog::Sink& CurrentSink()
{
    static OutputLog::Sink sink = StderrSink;
    return sink;
}
} // namespace

void OutputLog::Post(const QString& text)
{
    // Lines often carry a driver's text; none may show a password.
    CurrentSink()(RedactUri(text));
}

void OutputLog::SetSink(Sink sink)
{
    CurrentSink() = sink ? std::move(sink) : Sink(StderrSink);
}

QString OutputLog::TimePrefix()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("[yyyy-MM-dd hh:mm:ss] "));
}

OutputLogCapture::OutputLogCapture() : m_previous(CurrentSink())
{
    OutputLog::SetSink([this](const QString& text) { lines << text; });
}

OutputLogCapture::~OutputLogCapture()
{
    OutputLog::SetSink(m_previous);
}
