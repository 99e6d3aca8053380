#pragma once
// Streaming JSON writer that gives the bytes QJsonDocument::toJson(Indented) gives for the same
// tree (four-space indentation, "{\n}" style empty containers, the same escapes), without
// building the tree. Members must come in QJsonObject order, that is ascending UTF-16 order
// of their names; the writer does not sort.
#include <QByteArray>
#include <QStringView>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;

class CJsonTextWriter
{
public:
    // With a sink the text goes out in pieces as it grows; without one it stays in Bytes().
    explicit CJsonTextWriter(QIODevice* sink = nullptr);

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Key(QStringView name);
    void String(QStringView text);
    void Int(qint64 value);
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
    // What has not gone to a sink.
    QByteArray Bytes() const { return QByteArray(m_out.data(), qsizetype(m_out.size())); }
    QByteArray TakeBytes()
    {
        QByteArray bytes = Bytes();
        m_out.clear();
        return bytes;
    }

private:
    // Growing bytes written through a pointer: room is asked for first and the used end
    // handed back, so nothing is zero-filled or checked per character.
    class Text
    {
    public:
        char* Room(size_t n)
        {
            if (m_capacity - m_size < n)
                Grow(n);
            return m_data.get() + m_size;
        }
        void SetEnd(const char* end) { m_size = size_t(end - m_data.get()); }
        void Append(const char* text, size_t n)
        {
            std::memcpy(Room(n), text, n);
            m_size += n;
        }
        void Append(const Text& other) { Append(other.data(), other.size()); }
        void Push(char c)
        {
            *Room(1) = c;
            ++m_size;
        }
        void Reserve(size_t n)
        {
            if (n > m_capacity)
                Grow(n - m_size);
        }
        void Truncate(size_t size) { m_size = size; }
        void clear() { m_size = 0; }
        const char* data() const { return m_data.get(); }
        size_t size() const { return m_size; }

    private:
        void Grow(size_t n);
        std::unique_ptr<char[]> m_data;
        size_t m_size = 0;
        size_t m_capacity = 0;
    };

    // The escaped UTF-8 form of a text as QJsonDocument writes it, quotes excluded.
    static void AppendEscaped(Text& out, QStringView text);

    void Open(char opener);
    void Close(char closer);
    void BeforeValue();
    void NextLine();
    void Indent(qsizetype levels);
    void Drain();
    void Write(const Text& text); // to the sink
    void WritePending();
    void StartWriteBack();
    // Puts in the elements a writer made for the same container (see Elements).
    void Splice(const CJsonTextWriter& branch);

    QIODevice* m_sink;
    bool m_failed = false;
    qint64 m_writtenBack = 0; // of the sink file, handed to the disk so far
    bool m_afterKey = false;
    Text m_out;
    std::vector<qint64> m_members; // members or elements written per open container
};
