#include "fake_remote_host.h"
#include "remote/http_request.h"
#include "remote/osc.h"
#include "remote/remote_api.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace lumavo {
namespace {

using test::FakeRemoteHost;

HttpRequest parsed(const QByteArray& bytes)
{
    HttpRequestParser parser;
    EXPECT_EQ(parser.parse(bytes), HttpRequestParser::State::Complete) << parser.errorReason().toStdString();
    return parser.request();
}

HttpReply ask(FakeRemoteHost& host, const QByteArray& bytes, const QString& token = {})
{
    return handleRemoteRequest(parsed(bytes), host, token);
}

QJsonObject json(const HttpReply& reply) { return QJsonDocument::fromJson(reply.body).object(); }

TEST(HttpRequestParser, WaitsForTheWholeBodyThenTakesExactlyIt)
{
    const QByteArray request = "PUT /api/pages/001/lines/2?x=1 HTTP/1.1\r\nHost: a\r\nContent-Length: 5\r\n\r\nhello"
                               "GET /next";
    HttpRequestParser parser;
    EXPECT_EQ(parser.parse(request.left(40)), HttpRequestParser::State::NeedMore);
    EXPECT_EQ(parser.parse(request.left(request.indexOf("hello") + 3)), HttpRequestParser::State::NeedMore);
    ASSERT_EQ(parser.parse(request), HttpRequestParser::State::Complete);
    EXPECT_EQ(parser.request().path, "/api/pages/001/lines/2");
    EXPECT_EQ(parser.request().body, "hello");
    EXPECT_EQ(parser.consumed(), request.indexOf("GET /next"));
}

TEST(HttpRequestParser, RefusesOversizeAndMalformedRequestsBeforeReadingThem)
{
    struct Case {
        QByteArray bytes;
        int status;
    };
    const Case cases[] = {
        // The body's size is refused from its header, before a byte of it arrives.
        {"POST /api/play HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n", 413},
        {"GET /" + QByteArray(kMaxHeaderBytes, 'a'), 431},
        {"GET /api/status HTTP/1.1\r\nX: " + QByteArray(kMaxHeaderBytes, 'a') + "\r\n\r\n", 431},
        {"HELLO\r\n\r\n", 400},
        {"GET api HTTP/1.1\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nno colon here\r\n\r\n", 400},
        {"POST / HTTP/1.1\r\nContent-Length: -5\r\n\r\n", 400},
        {"POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", 400},
    };
    for (const Case& c : cases) {
        HttpRequestParser parser;
        EXPECT_EQ(parser.parse(c.bytes), HttpRequestParser::State::Failed) << c.bytes.left(60).toStdString();
        EXPECT_EQ(parser.errorStatus(), c.status) << c.bytes.left(60).toStdString();
    }
}

TEST(RemoteApi, RoutesEveryCommandToTheHost)
{
    FakeRemoteHost host;
    host.current.onAir = true;
    host.current.page = "004";
    const HttpReply status = ask(host, "GET /api/status HTTP/1.1\r\n\r\n");
    EXPECT_EQ(status.status, 200);
    EXPECT_EQ(json(status).value("page").toString(), "004");
    EXPECT_TRUE(json(status).value("onAir").toBool());
    for (const char* path : {"play", "playall", "continue", "stop", "cut", "close", "pages/007/play", "data/row/3",
                             "data/next", "data/previous"})
        EXPECT_EQ(ask(host, "POST /api/" + QByteArray(path) + " HTTP/1.1\r\n\r\n").status, 200) << path;
    EXPECT_EQ(host.calls, (QStringList{"play", "playall", "continue", "stop", "cut", "close", "play 007", "row 3",
                                       "step 1", "step -1"}));
    const QByteArray body = R"({"text": "Hello"})";
    EXPECT_EQ(ask(host, "PUT /api/pages/002/lines/1 HTTP/1.1\r\nContent-Length: " + QByteArray::number(body.size()) +
                            "\r\n\r\n" + body).status,
              200);
    EXPECT_EQ(host.calls.back(), "text 002 1 Hello");
    const HttpReply thumb = ask(host, "GET /api/pages/000/thumb.png HTTP/1.1\r\n\r\n");
    EXPECT_EQ(thumb.contentType, "image/png");
    EXPECT_EQ(ask(host, "GET /api/pages/005/thumb.png HTTP/1.1\r\n\r\n").status, 404);
}

TEST(RemoteApi, RefusalsCarryTheirStatusAndAReason)
{
    FakeRemoteHost host;
    host.answer = RemoteOutcome::refused(409, "a run is on air");
    const HttpReply refused = ask(host, "POST /api/play HTTP/1.1\r\n\r\n");
    EXPECT_EQ(refused.status, 409);
    EXPECT_EQ(json(refused).value("error").toString(), "a run is on air");
    EXPECT_EQ(ask(host, "GET /api/nothing HTTP/1.1\r\n\r\n").status, 404);
    EXPECT_EQ(ask(host, "GET /api/pages/12/play HTTP/1.1\r\n\r\n").status, 404);
    const HttpReply wrongMethod = ask(host, "GET /api/play HTTP/1.1\r\n\r\n");
    EXPECT_EQ(wrongMethod.status, 405);
    EXPECT_EQ(wrongMethod.allow, "POST");
    for (const QByteArray& body : {QByteArray("not json"), QByteArray("[1]"), QByteArray("{\"text\": 5}")})
        EXPECT_EQ(ask(host, "PUT /api/pages/002/lines/1 HTTP/1.1\r\nContent-Length: " +
                                QByteArray::number(body.size()) + "\r\n\r\n" + body).status, 400)
            << body.toStdString();
    EXPECT_EQ(ask(host, "PUT /api/pages/002/lines/4 HTTP/1.1\r\nContent-Length: 12\r\n\r\n{\"text\": \"\"}").status, 400);
    EXPECT_EQ(host.calls.size(), 1);   // only the play reached the host
}

TEST(RemoteApi, TokenIsRequiredWhenSet)
{
    FakeRemoteHost host;
    EXPECT_EQ(ask(host, "POST /api/stop HTTP/1.1\r\n\r\n", "secret").status, 401);
    EXPECT_EQ(ask(host, "POST /api/stop HTTP/1.1\r\nAuthorization: Bearer wrong!\r\n\r\n", "secret").status, 401);
    EXPECT_EQ(ask(host, "POST /api/stop HTTP/1.1\r\nAuthorization: Bearer secret\r\n\r\n", "secret").status, 200);
    EXPECT_EQ(ask(host, "POST /api/stop?token=secret HTTP/1.1\r\n\r\n", "secret").status, 200);
    EXPECT_EQ(host.calls, (QStringList{"stop", "stop"}));
}

TEST(Osc, MessagesAndBundlesRoundTrip)
{
    const OscMessage message{"/lumavo/play", {7, QString("tok"), 2.5, true}};
    const auto decoded = decodeOsc(encodeOsc(message));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), 1);
    EXPECT_EQ(decoded->front().address, "/lumavo/play");
    EXPECT_EQ(decoded->front().arguments, (QList<QVariant>{7, QString("tok"), 2.5, true}));

    const QByteArray stop = encodeOsc({"/lumavo/stop", {}});
    const QByteArray row = encodeOsc({"/lumavo/row", {3}});
    QByteArray bundle = QByteArray("#bundle\0", 8) + QByteArray(8, '\0');
    for (const QByteArray& part : {stop, row}) {
        const quint32 size = static_cast<quint32>(part.size());
        const char length[4] = {char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
        bundle += QByteArray(length, 4) + part;
    }
    const auto both = decodeOsc(bundle);
    ASSERT_TRUE(both);
    ASSERT_EQ(both->size(), 2);
    EXPECT_EQ(both->at(1).arguments, QList<QVariant>{3});
}

TEST(Osc, GarbledDatagramsAreDroppedWhole)
{
    const QByteArray good = encodeOsc({"/lumavo/row", {3, QString("abc")}});
    // Every cut fails but the one right after the address: a message without type tags is valid.
    for (qsizetype cut = 0; cut < good.size(); ++cut)
        EXPECT_EQ(decodeOsc(good.left(cut)).has_value(), cut == 12) << cut;
    QByteArray badTag = good;
    badTag[good.indexOf(",is") + 1] = 'q';
    EXPECT_FALSE(decodeOsc(badTag));
    // A bundle element that claims more bytes than the datagram holds.
    EXPECT_FALSE(decodeOsc(QByteArray("#bundle\0", 8) + QByteArray(8, '\0') + QByteArray("\x7f\xff\xff\xf0", 4)));
    QRandomGenerator random(23);
    for (int i = 0; i < 2000; ++i) {
        QByteArray noise(4 * random.bounded(1, 40), '\0');
        for (char& c : noise)
            c = static_cast<char>(random.bounded(256));
        if (i % 2 == 0)
            noise.replace(0, 8, QByteArray("#bundle\0", 8));
        (void)decodeOsc(noise);   // must neither crash nor read past the end (the sanitizer build checks)
    }
}

TEST(Osc, AddressesRunTheCommands)
{
    FakeRemoteHost host;
    EXPECT_TRUE(handleOscMessage({"/lumavo/play", {}}, host, {}).ok());
    EXPECT_TRUE(handleOscMessage({"/lumavo/play", {7}}, host, {}).ok());
    EXPECT_TRUE(handleOscMessage({"/lumavo/play", {12.0}}, host, {}).ok());
    EXPECT_TRUE(handleOscMessage({"/lumavo/stop", {}}, host, {}).ok());
    EXPECT_TRUE(handleOscMessage({"/lumavo/row", {QString("4")}}, host, {}).ok());
    EXPECT_EQ(handleOscMessage({"/lumavo/play", {1000}}, host, {}).status, 400);
    EXPECT_EQ(handleOscMessage({"/lumavo/row", {2.5}}, host, {}).status, 400);
    EXPECT_EQ(handleOscMessage({"/lumavo/jump", {}}, host, {}).status, 404);
    EXPECT_EQ(handleOscMessage({"/lumavo/stop", {}}, host, "tok").status, 401);
    EXPECT_TRUE(handleOscMessage({"/lumavo/play", {3, QString("tok")}}, host, "tok").ok());
    EXPECT_EQ(host.calls, (QStringList{"play", "play 007", "play 012", "stop", "row 4", "play 003"}));
}

} // namespace
} // namespace lumavo
