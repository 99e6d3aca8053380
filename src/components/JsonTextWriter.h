#pragma once
// Streaming JSON writer that gives the bytes QJsonDocument::toJson(Indented) gives for the same
// tree (four-space indentation, "{\n}" style empty containers, the same escapes), without
// building the tree. Members must come in QJsonObject order, that is ascending UTF-16 order
// of their names; the writer does not sort.
#include "components/ByteBuffer.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;

class CJsonTextWriter
{
public:
    // With a sink the text goes out in pieces as it grows; without one it stays in Bytes().
    explicit CJsonTextWriter(QIODevice* sink = nullptr);
    ~CJsonTextWriter();
    CJsonTextWriter(CJsonTextWriter&&) noexcept;
    CJsonTextWriter& operator=(CJsonTextWriter&&) noexcept;

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Key(QStringView name);
    void String(QStringView text);
    void Int(qint64 value);
    // A value written as given: a number's text, true, false or null.
    void Raw(QByteArrayView token);
    // Member shorthands.
    void Member(QStringView name, QStringView text)
    {
        Key(name);
        String(text);
    }
    void Member(QStringView name, qint64 value)
    {
        Key(name);
        Int(value);
    }

    // Elements 0 .. count-1 of the open container, element(w, i) writing element i (or nothing)
    // into w. A long run is formatted in blocks by this thread and a second one in turn, so
    // element must only read what it shares; the text is the one a plain loop gives.
    void Elements(size_t count, const std::function<void(CJsonTextWriter&, size_t)>& element);

    // Ends the document (the root's closing newline) and writes what is left to the sink;
    // false when the sink refused a write.
    bool Finish();
    // The sink refused a write: the rest is not written, so a long run may stop early.
    bool Failed() const;
    // What has not gone to a sink.
    QByteArray Bytes() const { return QByteArray(m_out.data(), qsizetype(m_out.size())); }
    QByteArray TakeBytes()
    {
        QByteArray bytes = Bytes();
        m_out.clear();
        return bytes;
    }

private:
    // The escaped UTF-8 form of a text as QJsonDocument writes it, quotes excluded.
    static void AppendEscaped(ByteBuffer& out, QStringView text);

    void Open(char opener);
    void Close(char closer);
    void BeforeValue();
    void NextLine();
    void Indent(qsizetype levels);
    void Drain();
    void Write(const ByteBuffer& text); // to the sink
    void WritePending();
    void StartWriteBack();
    // Puts in the elements a writer made for the same container (see Elements).
    void Splice(CJsonTextWriter& branch);

    QIODevice* m_sink;
    // A long text for a file goes out on a thread of its own, a megabyte or two behind: the
    // copy into the system's cache is a third of a large report's writing.
    struct Flusher;
    std::unique_ptr<Flusher> m_flusher;
    bool m_failed = false;
    qint64 m_writtenBack = 0; // of the sink file, handed to the disk so far
    bool m_afterKey = false;
    ByteBuffer m_out;
    std::vector<qint64> m_members; // members or elements written per open container
};

// A document written through write() straight into the file at path, which appears whole or
// not at all; false with the reason ("<path>: ...") in error.
bool SaveJsonFile(const QString& path, const std::function<void(CJsonTextWriter&)>& write, QString* error = nullptr);
