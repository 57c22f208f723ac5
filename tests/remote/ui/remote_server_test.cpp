#include "remote/fake_remote_host.h"
#include "remote/osc.h"
#include "remote/ui/remote_server.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkDatagram>
#include <QNetworkReply>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QWebSocket>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace lumavo {
namespace {

using test::FakeRemoteHost;

// Lets events run until `done` holds or a generous limit passes (the limit only ends a broken test).
bool waitUntil(const std::function<bool()>& done)
{
    const QDeadlineTimer limit(15000);
    while (!done() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class RemoteServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const Result started = server.start(0, false, {});
        ASSERT_TRUE(started.ok) << started.error.toStdString();
        port = server.port();
    }

    QUrl url(const QString& path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path)); }

    // Sends raw bytes on a fresh connection and returns everything the server answers.
    QByteArray exchange(const QByteArray& bytes)
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
        if (!socket.waitForConnected(5000))
            return "not connected";
        socket.write(bytes);
        QByteArray answer;
        waitUntil([&] {
            answer += socket.readAll();
            return socket.state() == QAbstractSocket::UnconnectedState;
        });
        return answer + socket.readAll();
    }

    QNetworkReply* send(const QByteArray& verb, const QString& path, const QByteArray& body = {})
    {
        QNetworkRequest request(url(path));
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
        QNetworkReply* reply = network.sendCustomRequest(request, verb, body);
        waitUntil([reply] { return reply->isFinished(); });
        return reply;
    }
    static int statusOf(QNetworkReply* reply)
    {
        return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }

    FakeRemoteHost host;
    RemoteServer server{host};
    QNetworkAccessManager network;
    int port = 0;
};

TEST_F(RemoteServerTest, AnswersARealHttpClient)
{
    host.current.page = "003";
    std::unique_ptr<QNetworkReply> status(send("GET", "/api/status"));
    EXPECT_EQ(statusOf(status.get()), 200);
    EXPECT_EQ(QJsonDocument::fromJson(status->readAll()).object().value("page").toString(), "003");
    std::unique_ptr<QNetworkReply> play(send("POST", "/api/pages/003/play"));
    EXPECT_EQ(statusOf(play.get()), 200);
    std::unique_ptr<QNetworkReply> put(send("PUT", "/api/pages/001/lines/2", R"({"text":"Zoë"})"));
    EXPECT_EQ(statusOf(put.get()), 200);
    EXPECT_EQ(host.calls, (QStringList{"play 003", QString::fromUtf8("text 001 2 Zoë")}));
    std::unique_ptr<QNetworkReply> unknown(send("GET", "/api/unknown"));
    EXPECT_EQ(statusOf(unknown.get()), 404);
}

TEST_F(RemoteServerTest, AbusiveRequestsAreRefusedAndTheServerGoesOn)
{
    // A huge body is refused from its Content-Length; most of it is never read.
    QByteArray huge = "POST /api/play HTTP/1.1\r\nContent-Length: 50000000\r\n\r\n" + QByteArray(1 << 20, 'x');
    EXPECT_TRUE(exchange(huge).startsWith("HTTP/1.1 413 ")) << "huge body";
    EXPECT_TRUE(exchange("garbage\r\n\r\n").startsWith("HTTP/1.1 400 "));
    EXPECT_TRUE(exchange("GET /" + QByteArray(20000, 'a')).startsWith("HTTP/1.1 431 "));
    EXPECT_TRUE(exchange("PUT /api/pages/001/lines/1 HTTP/1.1\r\nContent-Length: 3\r\n\r\n{]}").startsWith("HTTP/1.1 400 "));

    // Connections that send nothing take their places; the ones beyond the limit are turned away.
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    for (int i = 0; i < RemoteServer::kMaxConnections + 8; ++i) {
        idle.push_back(std::make_unique<QTcpSocket>());
        idle.back()->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    }
    QByteArray turnedAway;
    EXPECT_TRUE(waitUntil([&] {
        for (auto& socket : idle)
            turnedAway += socket->readAll();
        return turnedAway.count("HTTP/1.1 503 ") >= 8;
    }));
    EXPECT_LT(turnedAway.count("HTTP/1.1 503 "), RemoteServer::kMaxConnections);
    idle.clear();
    // Once the server has seen them close, their places are free again.
    EXPECT_TRUE(waitUntil([&] { return exchange("GET /api/status HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 200 "); }));
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(RemoteServerTest, EventsFollowTheStatusAndOscDrivesTheCommands)
{
    QWebSocket events;
    QStringList received;
    QObject::connect(&events, &QWebSocket::textMessageReceived, [&](const QString& text) { received << text; });
    events.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/events").arg(port)));
    ASSERT_TRUE(waitUntil([&] { return received.size() == 1; }));   // the status at once

    QUdpSocket feedback;
    ASSERT_TRUE(feedback.bind(QHostAddress::LocalHost, 0));
    server.setFeedback(std::make_pair(QHostAddress(QHostAddress::LocalHost), int(feedback.localPort())));
    RemoteStatus onAir;
    onAir.onAir = true;
    onAir.line = 2;
    server.publish(onAir);
    server.publish(onAir);   // unchanged: nothing sent
    ASSERT_TRUE(waitUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(QJsonDocument::fromJson(received.back().toUtf8()).object().value("line").toInt(), 2);
    ASSERT_TRUE(waitUntil([&] { return feedback.hasPendingDatagrams(); }));
    const auto tally = decodeOsc(feedback.receiveDatagram().data());
    ASSERT_TRUE(tally);
    EXPECT_EQ(tally->front().address, "/lumavo/onair");
    EXPECT_EQ(tally->front().arguments, QList<QVariant>{1});

    QUdpSocket osc;
    osc.writeDatagram("\x01\x02garbage", QHostAddress::LocalHost, static_cast<quint16>(port));
    osc.writeDatagram(encodeOsc({"/lumavo/stop", {}}), QHostAddress::LocalHost, static_cast<quint16>(port));
    EXPECT_TRUE(waitUntil([&] { return host.calls == QStringList{"stop"}; }));
}

TEST_F(RemoteServerTest, NothingListensWhileOffAndOthersNeedTheToken)
{
    server.stop();
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    EXPECT_FALSE(socket.waitForConnected(3000));

    ASSERT_TRUE(server.start(0, true, "tok").ok);
    port = server.port();
    EXPECT_TRUE(exchange("POST /api/stop HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 401 "));
    EXPECT_TRUE(exchange("POST /api/stop?token=tok HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 200 "));
    QWebSocket events;
    bool refused = false;
    QObject::connect(&events, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), [&] { refused = true; });
    events.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/events").arg(port)));
    EXPECT_TRUE(waitUntil([&] { return refused; }));
    EXPECT_NE(events.state(), QAbstractSocket::ConnectedState);
    EXPECT_EQ(host.calls, QStringList{"stop"});
}

} // namespace
} // namespace lumavo
