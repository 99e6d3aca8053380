#pragma once
// A proposal page on a loopback HTTP server: answers every request with one HTML page and
// keeps what the POST requests carried.
#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>
#include <vector>

class ProposalServer : public QObject
{
public:
    struct Request
    {
        QByteArray method;
        QByteArray path;
        QByteArray contentType;
        QByteArray body;
    };

    ProposalServer()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnRead(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/propose").arg(m_server.serverPort()); }
    void SetPage(const QString& html) { m_page = html.toUtf8(); }

    // The POSTs in arrival order.
    std::vector<Request> posts;
    int served = 0;

    // The decoded value of a form field of a posted body.
    static QString Field(const QByteArray& body, const QString& name)
    {
        return QUrlQuery(QString::fromLatin1(body)).queryItemValue(name, QUrl::FullyDecoded);
    }

private:
    void OnRead(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        Request request;
        int length = 0;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.path = first.value(1);
        for (const QByteArray& line : lines.mid(1)) {
            const int colon = line.indexOf(':');
            const QByteArray name = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (name == "content-length")
                length = value.toInt();
            else if (name == "content-type")
                request.contentType = value;
        }
        if (buffer.size() < end + 4 + length)
            return;
        request.body = buffer.mid(end + 4, length);
        m_buffers.erase(socket);
        QByteArray reply;
        if (request.method == "POST" || request.path.startsWith("/propose")) {
            if (request.method == "POST")
                posts.push_back(request);
            ++served;
            // A page may show what it was sent.
            QByteArray page = m_page;
            page.replace("{{datas}}", Field(request.body, QStringLiteral("datas")).toHtmlEscaped().toUtf8());
            reply = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                    QByteArray::number(page.size()) + "\r\nConnection: close\r\n\r\n" + page;
        } else {
            reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        }
        socket->write(reply);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QByteArray m_page;
    std::map<QTcpSocket*, QByteArray> m_buffers;
};
