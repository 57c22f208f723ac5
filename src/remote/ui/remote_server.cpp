#include "remote/ui/remote_server.h"

#include <QJsonDocument>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QWebSocket>
#include <QWebSocketServer>
#include <chrono>
#include <sys/socket.h>

namespace lumavo {

namespace {

constexpr qint64 kMaxDatagramBytes = 8 * 1024;
constexpr qint64 kMaxEventMessageBytes = 1024;
const QString kEventsPath = QStringLiteral("/api/events");

// The connection's deadline: to send its request, then to take the reply.
QTimer* deadlineOf(QTcpSocket* socket) { return socket->findChild<QTimer*>(QStringLiteral("deadline")); }

} // namespace

RemoteServer::RemoteServer(RemoteHost& host, QObject* parent) : QObject(parent), host_(host) {}

RemoteServer::~RemoteServer() { stop(); }

bool RemoteServer::isListening() const { return tcp_ != nullptr && tcp_->isListening(); }

int RemoteServer::port() const { return isListening() ? tcp_->serverPort() : 0; }

Result RemoteServer::start(int port, bool allowOthers, const QString& token)
{
    stop();
    const QHostAddress address = allowOthers ? QHostAddress::Any : QHostAddress::LocalHost;
    token_ = allowOthers ? token : QString();
    tcp_ = new QTcpServer(this);
    tcp_->setMaxPendingConnections(kMaxConnections);
    if (!tcp_->listen(address, static_cast<quint16>(port))) {
        const QString why = tcp_->errorString();
        stop();
        return Result::failure(QStringLiteral("Remote control cannot listen on TCP port %1: %2").arg(port).arg(why));
    }
    udp_ = new QUdpSocket(this);
    if (!udp_->bind(address, tcp_->serverPort())) {
        const QString why = udp_->errorString();
        const int taken = tcp_->serverPort();
        stop();
        return Result::failure(QStringLiteral("Remote control cannot listen on UDP port %1: %2").arg(taken).arg(why));
    }
    events_ = new QWebSocketServer(QStringLiteral("Lumavo"), QWebSocketServer::NonSecureMode, this);
    events_->setMaxPendingConnections(kMaxEventClients);
    events_->setHandshakeTimeout(std::chrono::milliseconds(kRequestTimeoutMs));
    connect(tcp_, &QTcpServer::newConnection, this, &RemoteServer::acceptConnections);
    connect(events_, &QWebSocketServer::newConnection, this, &RemoteServer::acceptEventClient);
    connect(udp_, &QUdpSocket::readyRead, this, &RemoteServer::readDatagrams);
    lastSent_.reset();
    return Result::success();
}

void RemoteServer::stop()
{
    for (QTcpSocket* socket : std::as_const(connections_)) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    connections_.clear();
    for (const QPointer<QWebSocket>& client : std::as_const(eventClients_)) {
        if (client) {
            client->disconnect(this);
            client->abort();
            delete client.data();   // before the servers its connection came through
        }
    }
    eventClients_.clear();
    delete events_;
    events_ = nullptr;
    delete udp_;
    udp_ = nullptr;
    if (tcp_ != nullptr)
        tcp_->close();
    delete tcp_;
    tcp_ = nullptr;
}

void RemoteServer::acceptConnections()
{
    while (QTcpSocket* socket = tcp_->nextPendingConnection()) {
        if (connections_.size() >= kMaxConnections) {
            socket->write(errorReply(503, QStringLiteral("too many connections; try again")).serialize());
            socket->disconnectFromHost();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QTimer::singleShot(kRequestTimeoutMs, socket, &QTcpSocket::abort);
            continue;
        }
        connections_.insert(socket);
        socket->setReadBufferSize(kMaxHeaderBytes + kMaxBodyBytes + 1024);
        auto* deadline = new QTimer(socket);
        deadline->setObjectName(QStringLiteral("deadline"));
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, this, [this, socket] {
            if (socket->property("replied").toBool())
                socket->abort();   // the client does not take its reply
            else
                reply(socket, errorReply(408, QStringLiteral("the request took too long")));
        });
        deadline->start(kRequestTimeoutMs);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] { connections_.remove(socket); });
        if (socket->bytesAvailable() > 0)
            readRequest(socket);
    }
}

void RemoteServer::forget(QTcpSocket* socket)
{
    socket->disconnect(this);
    delete deadlineOf(socket);
    connections_.remove(socket);
}

void RemoteServer::readRequest(QTcpSocket* socket)
{
    // The request is parsed from what has arrived without taking it off the socket, so that a
    // WebSocket handshake can be handed on whole.
    HttpRequestParser parser;
    const HttpRequestParser::State state = parser.parse(socket->peek(socket->bytesAvailable()));
    if (state == HttpRequestParser::State::NeedMore)
        return;
    if (state == HttpRequestParser::State::Failed) {
        reply(socket, errorReply(parser.errorStatus(), parser.errorReason()));
        return;
    }
    const HttpRequest& request = parser.request();
    if (request.wantsWebSocket()) {
        if (request.path != kEventsPath)
            reply(socket, errorReply(404, QStringLiteral("the WebSocket is at ") + kEventsPath));
        else if (!carriesToken(request, token_))
            reply(socket, errorReply(401, QStringLiteral("this server needs its token: ?token=TOKEN")));
        else if (eventClients_.size() >= kMaxEventClients)
            reply(socket, errorReply(503, QStringLiteral("too many event clients")));
        else {
            forget(socket);
            socket->setParent(events_);
            events_->handleConnection(socket);
        }
        return;
    }
    socket->read(parser.consumed());
    reply(socket, handleRemoteRequest(request, host_, token_));
}

void RemoteServer::reply(QTcpSocket* socket, const HttpReply& answer)
{
    // One request per connection. What the client still sends is read and dropped, and only the
    // sending side is shut once the reply is out: closing with unread input would reset the
    // connection and could throw the reply away before the client has read it.
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    socket->setProperty("replied", true);
    connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->skip(socket->bytesAvailable()); });
    socket->write(answer.serialize());
    socket->flush();
    auto shutSending = [socket] {
        if (socket->bytesToWrite() == 0 && socket->socketDescriptor() >= 0)
            ::shutdown(static_cast<int>(socket->socketDescriptor()), SHUT_WR);
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, shutSending);
    shutSending();
    if (QTimer* deadline = deadlineOf(socket))
        deadline->start(kRequestTimeoutMs);
}

void RemoteServer::acceptEventClient()
{
    while (QWebSocket* client = events_->nextPendingConnection()) {
        client->setParent(this);
        client->setMaxAllowedIncomingFrameSize(kMaxEventMessageBytes);
        client->setMaxAllowedIncomingMessageSize(kMaxEventMessageBytes);
        eventClients_ << client;
        connect(client, &QWebSocket::disconnected, this, [this, client] {
            eventClients_.removeAll(client);
            client->deleteLater();
        });
        client->sendTextMessage(QString::fromUtf8(QJsonDocument(statusJson(host_.status())).toJson(QJsonDocument::Compact)));
    }
}

void RemoteServer::readDatagrams()
{
    while (udp_ != nullptr && udp_->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = udp_->receiveDatagram(kMaxDatagramBytes);
        const auto messages = decodeOsc(datagram.data());
        if (!messages)
            continue;
        for (const OscMessage& message : *messages)
            handleOscMessage(message, host_, token_);
    }
}

void RemoteServer::publish(const RemoteStatus& status)
{
    if (lastSent_ && *lastSent_ == status)
        return;
    const bool onAirChanged = !lastSent_ || lastSent_->onAir != status.onAir;
    lastSent_ = status;
    const QString text = QString::fromUtf8(QJsonDocument(statusJson(status)).toJson(QJsonDocument::Compact));
    for (const QPointer<QWebSocket>& client : std::as_const(eventClients_))
        if (client)
            client->sendTextMessage(text);
    if (onAirChanged && feedback_) {
        if (feedbackSocket_ == nullptr)
            feedbackSocket_ = new QUdpSocket(this);
        feedbackSocket_->writeDatagram(encodeOsc(onAirMessage(status.onAir)), feedback_->first,
                                       static_cast<quint16>(feedback_->second));
    }
}

} // namespace lumavo
