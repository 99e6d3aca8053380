#pragma once
// Every shell test runs with a private runtime and temporary folder (the local server's socket lives there)
// and a private settings store, so tests neither see nor disturb a real running program.
#include "components/QrProgressWnd.h"

#include <QString>

QString ShellRuntimeDir();

class RecordingProgress : public CSilentProgress
{
public:
    void ShowMarquee(const QString& title, const QString& text, QObject*) override
    {
        ++marquees;
        lastTitle = title;
        lastText = text;
    }
    int marquees = 0;
    QString lastTitle;
    QString lastText;
};
