#pragma once
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

// A fresh common data folder for one test: sets TERMWISE_DATA_DIR while alive.
class TempDataDir
{
public:
    TempDataDir();
    ~TempDataDir();
    QString path() const { return m_dir.path(); }
    QString standardPath() const { return m_dir.path() + QStringLiteral("/standard"); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
    bool m_hadOld = false;
};

// Path of a committed fixture under tests/data.
QString TestDataPath(const QString& relative);
// Whole file as UTF-8 text.
QString ReadTextFile(const QString& path);
void WriteTextFile(const QString& path, const QString& text);

// Readable QString values in test failure messages.
void PrintTo(const QString& text, std::ostream* os);

class CAnalyzeSettings;
// Fills a dictionary with `words` analysis words (about one in ten non-standard, some sharing a
// physical or a logical name, texts with quotes, backslashes, line breaks and characters outside
// the BMP), words / 10 domains, and excluded words and domains that the load keeps. Records hold
// only what the settings file carries, so a load gives them back equal. Deterministic.
void FillDictionary(CAnalyzeSettings& settings, int words);
