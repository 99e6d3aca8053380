#pragma once
#include <QString>
#include <QTemporaryDir>
#include <memory>

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
