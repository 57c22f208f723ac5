#include "remote/remote_settings.h"

#include "platform/ini.h"

#include <QRandomGenerator>

namespace lumavo {

namespace {
constexpr int kMaxPort = 65535;
}

RemoteSettings readRemoteSettings(const QString& path)
{
    const IniFile ini = IniFile::load(path);
    RemoteSettings settings;
    settings.enabled = ini.readBool(kRemoteSection, QStringLiteral("RemoteControl"), false);
    settings.port = ini.readInteger(kRemoteSection, QStringLiteral("RemotePort"), kDefaultRemotePort);
    if (settings.port < 1 || settings.port > kMaxPort)
        settings.port = kDefaultRemotePort;
    settings.allowOthers = ini.readBool(kRemoteSection, QStringLiteral("RemoteAllowOthers"), false);
    settings.token = ini.readString(kRemoteSection, QStringLiteral("RemoteToken"));
    settings.feedback = ini.readString(kRemoteSection, QStringLiteral("RemoteFeedback"));
    return settings;
}

IoResult writeRemoteSettings(const RemoteSettings& settings, const QString& path)
{
    return IniFile::update(path, [&](IniFile& ini) {
        ini.writeInteger(kRemoteSection, QStringLiteral("RemoteControl"), settings.enabled ? 1 : 0);
        ini.writeInteger(kRemoteSection, QStringLiteral("RemotePort"), settings.port);
        ini.writeInteger(kRemoteSection, QStringLiteral("RemoteAllowOthers"), settings.allowOthers ? 1 : 0);
        ini.writeString(kRemoteSection, QStringLiteral("RemoteToken"), settings.token);
        ini.writeString(kRemoteSection, QStringLiteral("RemoteFeedback"), settings.feedback);
    });
}

QString newRemoteToken()
{
    QString token;
    for (int i = 0; i < 4; ++i)
        token += QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16, QChar(u'0'));
    return token;
}

std::optional<std::pair<QString, int>> parseHostPort(const QString& text)
{
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon <= 0)
        return std::nullopt;
    bool ok = false;
    const int port = text.mid(colon + 1).toInt(&ok);
    if (!ok || port < 1 || port > kMaxPort)
        return std::nullopt;
    return std::make_pair(text.left(colon).trimmed(), port);
}

} // namespace lumavo
