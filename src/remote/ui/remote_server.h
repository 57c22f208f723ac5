#pragma once

#include "platform/result.h"
#include "remote/remote_api.h"
#include "remote/remote_settings.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <optional>

class QTcpServer;
class QTcpSocket;
class QUdpSocket;
class QWebSocket;
class QWebSocketServer;

namespace lumavo {

// The remote-control server: HTTP with JSON replies and the /api/events WebSocket on a TCP port,
// OSC on the UDP port of the same number. It lives on the interface thread, so requests are
// answered wherever that thread lets events run: in the message loop, and during a run at the
// same points where the stage's keys are handled. Every connection is bounded: headers, body,
// time to send the request, and the number of connections open at once.
class RemoteServer : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxConnections = 32;
    static constexpr int kMaxEventClients = 16;
    static constexpr int kRequestTimeoutMs = 5000;

    explicit RemoteServer(RemoteHost& host, QObject* parent = nullptr);
    ~RemoteServer() override;

    // Listens on 127.0.0.1 (every address with allowOthers, then the token is required) at `port`
    // (0: any free port; see port()). Stops first when it was listening. Fails with the reason when
    // the TCP or the UDP port is taken; then nothing listens.
    Result start(int port, bool allowOthers, const QString& token);
    void stop();
    bool isListening() const;
    int port() const;

    // Where /lumavo/onair goes on every change of on air; nullopt sends none.
    void setFeedback(const std::optional<std::pair<QHostAddress, int>>& target) { feedback_ = target; }
    // Sends the status to every event client when it differs from the last one sent (and
    // /lumavo/onair to the feedback address when on air changed).
    void publish(const RemoteStatus& status);
    int eventClientCount() const { return static_cast<int>(eventClients_.size()); }

private:
    void acceptConnections();
    void readRequest(QTcpSocket* socket);
    void reply(QTcpSocket* socket, const HttpReply& reply);
    void acceptEventClient();
    void readDatagrams();
    void forget(QTcpSocket* socket);

    RemoteHost& host_;
    QTcpServer* tcp_ = nullptr;
    QUdpSocket* udp_ = nullptr;
    QUdpSocket* feedbackSocket_ = nullptr;
    QWebSocketServer* events_ = nullptr;
    QList<QPointer<QWebSocket>> eventClients_;
    QString token_;
    QSet<QTcpSocket*> connections_;   // HTTP connections open now
    std::optional<RemoteStatus> lastSent_;
    std::optional<std::pair<QHostAddress, int>> feedback_;
};

} // namespace lumavo
