#include "remote/http_request.h"

#include <QUrl>

namespace lumavo {

namespace {

bool isToken(const QByteArray& word)
{
    if (word.isEmpty())
        return false;
    for (const char c : word)
        if (c <= ' ' || c >= 127 || QByteArrayView("()<>@,;:\\\"/[]?={}").contains(c))
            return false;
    return true;
}

} // namespace

bool HttpRequest::wantsWebSocket() const
{
    return method == "GET" && header("upgrade").trimmed().toLower() == "websocket";
}

HttpRequestParser::State HttpRequestParser::fail(int status, const QString& reason)
{
    state_ = State::Failed;
    errorStatus_ = status;
    errorReason_ = reason;
    return state_;
}

HttpRequestParser::State HttpRequestParser::parse(const QByteArray& received)
{
    request_ = {};
    state_ = State::NeedMore;
    const qsizetype headerEnd = received.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        if (received.size() > kMaxHeaderBytes)
            return fail(431, QStringLiteral("the request headers are larger than %1 bytes").arg(kMaxHeaderBytes));
        return state_;
    }
    if (headerEnd + 4 > kMaxHeaderBytes)
        return fail(431, QStringLiteral("the request headers are larger than %1 bytes").arg(kMaxHeaderBytes));

    const QList<QByteArray> lines = received.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.front().trimmed().split(' ');
    if (requestLine.size() != 3 || !isToken(requestLine[0]) || !requestLine[1].startsWith('/')
        || !requestLine[2].startsWith("HTTP/1."))
        return fail(400, QStringLiteral("a request line reads: METHOD /path HTTP/1.1"));
    request_.method = requestLine[0];
    const QUrl url(QString::fromLatin1(requestLine[1]), QUrl::StrictMode);
    if (!url.isValid())
        return fail(400, QStringLiteral("the request target is not a valid path"));
    request_.path = url.path(QUrl::FullyDecoded);
    request_.query = QUrlQuery(url.query(QUrl::FullyEncoded));

    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].endsWith('\r') ? lines[i].chopped(1) : lines[i];
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !isToken(line.left(colon)))
            return fail(400, QStringLiteral("a header line reads: Name: value"));
        request_.headers.insert(line.left(colon).toLower(), line.mid(colon + 1).trimmed());
    }
    if (request_.headers.contains("transfer-encoding"))
        return fail(400, QStringLiteral("send the body with a Content-Length; chunked bodies are not accepted"));
    qsizetype length = 0;
    if (request_.headers.contains("content-length")) {
        bool ok = false;
        const QByteArray text = request_.header("content-length");
        length = text.toLongLong(&ok);
        if (!ok || length < 0 || text.startsWith('+') || text.startsWith('-'))
            return fail(400, QStringLiteral("Content-Length is not a number"));
    }
    if (length > kMaxBodyBytes)
        return fail(413, QStringLiteral("the body is larger than %1 bytes").arg(kMaxBodyBytes));
    const qsizetype bodyStart = headerEnd + 4;
    if (received.size() < bodyStart + length)
        return state_;
    request_.body = received.mid(bodyStart, length);
    consumed_ = bodyStart + length;
    state_ = State::Complete;
    return state_;
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 101: return "Switching Protocols";
    case 200: return "OK";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 409: return "Conflict";
    case 413: return "Content Too Large";
    case 415: return "Unsupported Media Type";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Unknown";
    }
}

QByteArray HttpReply::serialize() const
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    out += "Content-Type: " + contentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    if (!allow.isEmpty())
        out += "Allow: " + allow + "\r\n";
    if (status == 401)
        out += "WWW-Authenticate: Bearer\r\n";
    out += "Cache-Control: no-store\r\nConnection: close\r\n\r\n";
    out += body;
    return out;
}

} // namespace lumavo
