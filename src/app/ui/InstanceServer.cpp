#include "app/ui/InstanceServer.h"

#include "app/ui/AppTexts.h"
#include "components/Platform.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QVariant>
#include <QtEndian>

namespace {
const QByteArray kMagic("ZTW1");
constexpr int kHeaderSize = 12;
constexpr int kIdleMs = 10000;

// Only processes of our own user may talk to us; the socket file's mode says the same,
// but the folder it lives in may not be private.
bool PeerIsSameUser(QLocalSocket* socket)
{
    return Platform::PeerIsSameUser(intptr_t(socket->socketDescriptor()));
}
} // namespace

CInstanceServer::CInstanceServer(QObject* parent) : QObject(parent) {}

CInstanceServer::~CInstanceServer()
{
    if (m_server)
        m_server->close();
}

QString CInstanceServer::DefaultName()
{
    // Qt puts a bare name in the shared temp folder; the user's runtime folder keeps the
    // socket private to the user and separate per session.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return AppText::ServerName;
    return runtime + u'/' + AppText::ServerName;
}

bool CInstanceServer::IsListening() const
{
    return m_server && m_server->isListening();
}

CInstanceServer::ListenResult CInstanceServer::Listen(const QString& name, QString* error)
{
    // Ask first: with access options Qt binds the socket beside the name and renames it into
    // place, which would silently take the name from a running copy.
    if (SendFrame(name, kActivateCode, QString(), 2000))
        return ListenResult::OtherInstance;
    delete m_server;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CInstanceServer::OnNewConnection);
    if (m_server->listen(name))
        return ListenResult::Listening;
    if (m_server->serverError() == QAbstractSocket::AddressInUseError) {
        // nobody answered above: a socket file left by a crash
        QLocalServer::removeServer(name);
        if (m_server->listen(name))
            return ListenResult::Listening;
    }
    if (error)
        *error = m_server->errorString();
    return ListenResult::Failed;
}

void CInstanceServer::OnNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (!PeerIsSameUser(socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A client that stops sending does not keep the connection forever; one that keeps
        // sending a large frame is given the time it needs.
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, socket, [socket] { socket->abort(); });
        idle->start(kIdleMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, idle] {
            idle->start(kIdleMs);
            OnReadyRead(socket);
        });
        if (socket->bytesAvailable() > 0)
            OnReadyRead(socket);
    }
}

void CInstanceServer::OnReadyRead(QLocalSocket* socket)
{
    // The frame stays in the socket's own buffer (a list of the pieces received) until it is
    // whole, and is then taken in one read: no copy of the whole on every piece.
    const qint64 available = socket->bytesAvailable();
    const QByteArray header = socket->peek(kHeaderSize);
    Parse result = DecodeFrame(header, nullptr, nullptr, nullptr);
    if (result == Parse::NeedMore && header.size() == kHeaderSize) {
        const quint32 bytes = qFromLittleEndian<quint32>(header.constData() + 8);
        if (available < kHeaderSize + qint64(bytes))
            return;
    } else if (result == Parse::NeedMore) {
        return;
    }
    int code = 0;
    QString text;
    qsizetype consumed = 0;
    if (result != Parse::Bad)
        result = DecodeFrame(socket->read(available), &code, &text, &consumed);
    const bool known = result == Parse::Done && code >= kActivateCode && code <= 4;
    socket->write(QByteArray(1, known ? '\0' : '\1'));
    socket->flush();
    socket->disconnectFromServer();
    if (!known)
        return;
    // Handle after the answer went out: a request may open a modal message box.
    QTimer::singleShot(0, this, [this, code, text] {
        if (code == kActivateCode)
            Q_EMIT ActivateRequested();
        else
            Q_EMIT RequestReceived(code, text);
    });
}

QByteArray CInstanceServer::EncodeFrame(int code, const QString& text)
{
    QByteArray payload(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    payload.append(2, '\0'); // the terminating zero code unit
    if (QSysInfo::ByteOrder == QSysInfo::BigEndian) {
        for (qsizetype i = 0; i + 1 < payload.size(); i += 2)
            std::swap(payload[i], payload[i + 1]);
    }
    QByteArray frame = kMagic;
    char word[4];
    qToLittleEndian<qint32>(code, word);
    frame.append(word, 4);
    qToLittleEndian<quint32>(quint32(payload.size()), word);
    frame.append(word, 4);
    frame.append(payload);
    return frame;
}

CInstanceServer::Parse CInstanceServer::DecodeFrame(const QByteArray& buffer, int* code, QString* text,
                                                    qsizetype* consumed)
{
    if (buffer.size() < kHeaderSize)
        return buffer.startsWith(kMagic.left(buffer.size())) ? Parse::NeedMore : Parse::Bad;
    if (!buffer.startsWith(kMagic))
        return Parse::Bad;
    const qint32 c = qFromLittleEndian<qint32>(buffer.constData() + 4);
    const quint32 bytes = qFromLittleEndian<quint32>(buffer.constData() + 8);
    if (bytes > kMaxTextBytes)
        return Parse::Bad;
    if (buffer.size() < kHeaderSize + qsizetype(bytes) || !text)
        return Parse::NeedMore;
    // An odd byte count leaves half a code unit: it is dropped. The text ends at the first zero.
    const qsizetype units = qsizetype(bytes) / 2;
    QString t(units, Qt::Uninitialized);
    const char* p = buffer.constData() + kHeaderSize;
    qsizetype n = 0;
    for (; n < units; ++n) {
        const char16_t u = qFromLittleEndian<quint16>(p + 2 * n);
        if (u == 0)
            break;
        t[n] = QChar(u);
    }
    t.truncate(n);
    *code = c;
    *text = t;
    *consumed = kHeaderSize + qsizetype(bytes);
    return Parse::Done;
}

bool CInstanceServer::SendFrame(const QString& name, int code, const QString& text, int timeoutMs, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return fail(QStringLiteral("실행 중인 Termwise가 응답하지 않습니다 (%1)").arg(socket.errorString()));
    const QByteArray frame = EncodeFrame(code, text);
    if (socket.write(frame) != frame.size())
        return fail(QStringLiteral("실행 중인 Termwise에 요청을 보낼 수 없습니다: %1").arg(socket.errorString()));
    // The time limit is for a stalled reader: each wait ends as soon as some of a large frame
    // went out.
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(timeoutMs))
            return fail(QStringLiteral("실행 중인 Termwise가 요청을 받지 않았습니다"));
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMs))
            return fail(QStringLiteral("실행 중인 Termwise가 답하지 않았습니다"));
    }
    char answer = 1;
    socket.read(&answer, 1);
    socket.disconnectFromServer();
    if (answer != 0)
        return fail(QStringLiteral("실행 중인 Termwise가 요청을 거절했습니다"));
    return true;
}
