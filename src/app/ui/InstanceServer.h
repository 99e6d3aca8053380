#pragma once
// The program's local server "ZT_TERMWISE": keeps the program single-instance and receives
// analysis requests from other programs of the same user.
//
// A frame is: the 4 bytes "ZTW1", the code (int32, little-endian), the byte count (uint32,
// little-endian) and that many bytes of UTF-16LE text (the sender ends it with a zero code unit).
// The server answers one byte, 0 accepted or 1 refused, and closes the connection. Code -1
// asks the running program to bring its window forward.
#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class CInstanceServer : public QObject
{
    Q_OBJECT
public:
    static constexpr int kActivateCode = -1;
    static constexpr quint32 kMaxTextBytes = 128u * 1024 * 1024;

    explicit CInstanceServer(QObject* parent = nullptr);
    ~CInstanceServer() override;

    // Server name (the tests use their own).
    static QString DefaultName();

    enum class ListenResult { Listening, OtherInstance, Failed };
    // Starts listening. OtherInstance: a running copy answers on the name and has been asked
    // to come forward. Failed: the name cannot be taken (*error says why).
    ListenResult Listen(const QString& name, QString* error = nullptr);
    bool IsListening() const;

    // Client side: sends one frame and waits for the answer. False with a reason when nothing
    // answers or the frame is refused.
    static bool SendFrame(const QString& name, int code, const QString& text, int timeoutMs = 3000,
                          QString* error = nullptr);

    // Frame encoding, shared with the tests.
    static QByteArray EncodeFrame(int code, const QString& text);
    enum class Parse { NeedMore, Done, Bad };
    // On Done, *consumed is the frame's size. With text null only the header is judged: a good
    // one gives NeedMore.
    static Parse DecodeFrame(const QByteArray& buffer, int* code, QString* text, qsizetype* consumed);

Q_SIGNALS:
    void ActivateRequested();
    void RequestReceived(int code, const QString& text);

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);
    QLocalServer* m_server = nullptr;
};
