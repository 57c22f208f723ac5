#include "remote/remote_api.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QRegularExpression>

namespace lumavo {

namespace {

HttpReply jsonReply(int status, const QJsonObject& object)
{
    return HttpReply{status, "application/json", QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n', {}};
}

HttpReply outcomeReply(const RemoteOutcome& outcome, RemoteHost& host)
{
    if (!outcome.ok())
        return errorReply(outcome.status, outcome.reason);
    QJsonObject reply{{QStringLiteral("ok"), true}, {QStringLiteral("status"), statusJson(host.status())}};
    if (!outcome.reason.isEmpty())
        reply.insert(QStringLiteral("warning"), outcome.reason);
    return jsonReply(200, reply);
}

HttpReply methodNotAllowed(const QByteArray& allowed)
{
    HttpReply reply = errorReply(405, QStringLiteral("use %1 on this path").arg(QString::fromLatin1(allowed)));
    reply.allow = allowed;
    return reply;
}

bool sameSecret(const QByteArray& given, const QByteArray& expected)
{
    if (given.size() != expected.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < given.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ expected[i]);
    return difference == 0;
}

// The text of a PUT body {"text": "..."}; nullopt with the reason in `why` otherwise.
std::optional<QString> bodyText(const QByteArray& body, QString& why)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        why = QStringLiteral("the body must be a JSON object such as {\"text\": \"...\"}");
        return std::nullopt;
    }
    const QJsonValue text = document.object().value(QStringLiteral("text"));
    if (!text.isString()) {
        why = QStringLiteral("the body needs \"text\" as a string");
        return std::nullopt;
    }
    return text.toString();
}

struct CommandPath {
    const char* path;
    RemoteCommand command;
};
constexpr CommandPath kCommandPaths[] = {
    {"/api/play", RemoteCommand::Play},         {"/api/playall", RemoteCommand::PlayAll},
    {"/api/continue", RemoteCommand::Continue}, {"/api/stop", RemoteCommand::Stop},
    {"/api/cut", RemoteCommand::Cut},           {"/api/close", RemoteCommand::Close},
};

} // namespace

QJsonObject statusJson(const RemoteStatus& status)
{
    return {{QStringLiteral("onAir"), status.onAir},     {QStringLiteral("page"), status.page},
            {QStringLiteral("line"), status.line},       {QStringLiteral("waiting"), status.waiting},
            {QStringLiteral("project"), status.project}, {QStringLiteral("pages"), status.pages},
            {QStringLiteral("row"), status.row}};
}

HttpReply errorReply(int status, const QString& reason)
{
    return jsonReply(status, QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("error"), reason}});
}

bool carriesToken(const HttpRequest& request, const QString& token)
{
    if (token.isEmpty())
        return true;
    const QByteArray expected = token.toUtf8();
    const QByteArray authorization = request.header("authorization");
    if (authorization.startsWith("Bearer ") && sameSecret(authorization.mid(7).trimmed(), expected))
        return true;
    return sameSecret(request.query.queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded).toUtf8(), expected);
}

HttpReply handleRemoteRequest(const HttpRequest& request, RemoteHost& host, const QString& token)
{
    if (!carriesToken(request, token))
        return errorReply(401, QStringLiteral("this server needs its token: Authorization: Bearer TOKEN or ?token=TOKEN"));
    QString path = request.path;
    if (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const QByteArray& method = request.method;

    if (path == QStringLiteral("/api/status"))
        return method == "GET" ? jsonReply(200, statusJson(host.status())) : methodNotAllowed("GET");
    if (path == QStringLiteral("/api/pages")) {
        if (method != "GET")
            return methodNotAllowed("GET");
        QJsonArray list;
        for (const PageSummary& page : host.pages())
            list.append(QJsonObject{{QStringLiteral("page"), page.number},
                                    {QStringLiteral("texts"), QJsonArray{page.texts[0], page.texts[1], page.texts[2]}}});
        return jsonReply(200, QJsonObject{{QStringLiteral("pages"), list}});
    }
    for (const CommandPath& entry : kCommandPaths) {
        if (path == QLatin1String(entry.path))
            return method == "POST" ? outcomeReply(host.run(entry.command, std::nullopt), host) : methodNotAllowed("POST");
    }
    if (path == QStringLiteral("/api/data/next") || path == QStringLiteral("/api/data/previous")) {
        if (method != "POST")
            return methodNotAllowed("POST");
        return outcomeReply(host.stepRow(path.endsWith(QStringLiteral("next")) ? 1 : -1), host);
    }

    static const QRegularExpression pagePath(QStringLiteral("^/api/pages/(\\d{3})/(thumb\\.png|play|lines/(\\d+))$"));
    static const QRegularExpression rowPath(QStringLiteral("^/api/data/row/(\\d{1,9})$"));
    if (const auto m = rowPath.match(path); m.hasMatch())
        return method == "POST" ? outcomeReply(host.selectRow(m.captured(1).toInt()), host) : methodNotAllowed("POST");
    const auto m = pagePath.match(path);
    if (!m.hasMatch())
        return errorReply(404, QStringLiteral("no such path: ") + path);
    const QString number = m.captured(1);
    const QString action = m.captured(2);
    if (action == QStringLiteral("play"))
        return method == "POST" ? outcomeReply(host.run(RemoteCommand::Play, number), host) : methodNotAllowed("POST");
    if (action == QStringLiteral("thumb.png")) {
        if (method != "GET")
            return methodNotAllowed("GET");
        const auto png = host.thumbnailPng(number);
        if (!png)
            return errorReply(404, QStringLiteral("no page ") + number);
        return HttpReply{200, "image/png", *png, {}};
    }
    if (method != "PUT")
        return methodNotAllowed("PUT");
    const QString lineText = m.captured(3);
    if (lineText.size() != 1 || lineText < QStringLiteral("1") || lineText > QStringLiteral("3"))
        return errorReply(400, QStringLiteral("title lines are 1, 2 and 3"));
    QString why;
    const auto text = bodyText(request.body, why);
    if (!text)
        return errorReply(400, why);
    return outcomeReply(host.setLineText(number, lineText.toInt(), *text), host);
}

RemoteOutcome handleOscMessage(const OscMessage& message, RemoteHost& host, const QString& token)
{
    QList<QVariant> arguments = message.arguments;
    if (!token.isEmpty()) {
        if (arguments.isEmpty() || arguments.back().typeId() != QMetaType::QString
            || !sameSecret(arguments.back().toString().toUtf8(), token.toUtf8()))
            return RemoteOutcome::refused(401, QStringLiteral("the message lacks the token as its last argument"));
        arguments.removeLast();
    }
    // A number argument: an int, a float with a whole value, or digits sent as a string.
    auto number = [&]() -> std::optional<int> {
        if (arguments.isEmpty())
            return std::nullopt;
        const QVariant& value = arguments.front();
        bool ok = false;
        const double real = value.typeId() == QMetaType::QString ? value.toString().toDouble(&ok) : value.toDouble(&ok);
        if (!ok || real != static_cast<double>(static_cast<long long>(real)) || real < 0 || real > 1e9)
            return std::nullopt;
        return static_cast<int>(real);
    };
    const QString& address = message.address;
    if (address == QStringLiteral("/lumavo/play")) {
        if (arguments.isEmpty())
            return host.run(RemoteCommand::Play, std::nullopt);
        const auto page = number();
        if (!page || *page > 999)
            return RemoteOutcome::refused(400, QStringLiteral("/lumavo/play takes a page number 0..999"));
        return host.run(RemoteCommand::Play, QStringLiteral("%1").arg(*page, 3, 10, QChar(u'0')));
    }
    if (address == QStringLiteral("/lumavo/row")) {
        const auto row = number();
        if (!row)
            return RemoteOutcome::refused(400, QStringLiteral("/lumavo/row takes a row number"));
        return host.selectRow(*row);
    }
    if (address == QStringLiteral("/lumavo/next"))
        return host.stepRow(1);
    if (address == QStringLiteral("/lumavo/previous"))
        return host.stepRow(-1);
    for (const CommandPath& entry : kCommandPaths) {
        if (entry.command != RemoteCommand::Play && address == QStringLiteral("/lumavo/") + QLatin1String(entry.path + 5))
            return host.run(entry.command, std::nullopt);
    }
    return RemoteOutcome::refused(404, QStringLiteral("no such OSC address: ") + address);
}

OscMessage onAirMessage(bool onAir)
{
    return OscMessage{QStringLiteral("/lumavo/onair"), {onAir ? 1 : 0}};
}

} // namespace lumavo
