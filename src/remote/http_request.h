#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QUrlQuery>

namespace lumavo {

// Limits of one request to the remote-control server.
constexpr qsizetype kMaxHeaderBytes = 8 * 1024;    // request line and headers
constexpr qsizetype kMaxBodyBytes = 64 * 1024;

// One HTTP/1.1 request as the server received it.
struct HttpRequest {
    QByteArray method;                     // as sent: "GET", "POST", ...
    QString path;                          // percent-decoded, without the query
    QUrlQuery query;
    QHash<QByteArray, QByteArray> headers; // names in lower case; a repeated header keeps its last value
    QByteArray body;

    QByteArray header(const QByteArray& lowerName) const { return headers.value(lowerName); }
    // A WebSocket opening handshake (GET with Upgrade: websocket).
    bool wantsWebSocket() const;
};

// Reads one request from the bytes received so far, within kMaxHeaderBytes and kMaxBodyBytes.
class HttpRequestParser {
public:
    enum class State { NeedMore, Complete, Failed };

    // Parses `received` (everything received so far on the connection, from its first byte).
    State parse(const QByteArray& received);
    State state() const { return state_; }
    // Failed: the status to answer with (400, 413, 431, 501) and the reason.
    int errorStatus() const { return errorStatus_; }
    const QString& errorReason() const { return errorReason_; }
    // Complete: the request, and how many bytes of `received` it took.
    const HttpRequest& request() const { return request_; }
    qsizetype consumed() const { return consumed_; }

private:
    State fail(int status, const QString& reason);

    State state_ = State::NeedMore;
    int errorStatus_ = 0;
    QString errorReason_;
    HttpRequest request_;
    qsizetype consumed_ = 0;
};

// A reply: status, content type and body. JSON replies carry an object.
struct HttpReply {
    int status = 200;
    QByteArray contentType = "application/json";
    QByteArray body;
    QByteArray allow;   // for 405: the methods the path takes

    // The whole response as sent, with Content-Length and "Connection: close".
    QByteArray serialize() const;
};

// The standard reason phrase of a status ("Not Found"); "Unknown" for others.
QByteArray reasonPhrase(int status);

} // namespace lumavo
