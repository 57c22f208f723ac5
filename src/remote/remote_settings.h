#pragma once

#include "platform/result.h"

#include <QString>
#include <optional>
#include <utility>

namespace lumavo {

// The remote-control choices, kept in a section of their own in the settings file, so the classic
// options section is written exactly as before.
inline const QString kRemoteSection = QStringLiteral("Remote Control");
constexpr int kDefaultRemotePort = 8765;

struct RemoteSettings {
    bool enabled = false;        // "RemoteControl"
    int port = kDefaultRemotePort; // "RemotePort", 1..65535 (HTTP on TCP, OSC on UDP)
    bool allowOthers = false;    // "RemoteAllowOthers": listen on every address, token required
    QString token;               // "RemoteToken"
    QString feedback;            // "RemoteFeedback": host:port that /lumavo/onair goes to, empty = none
    friend bool operator==(const RemoteSettings&, const RemoteSettings&) = default;
};

// Missing or broken keys read as the defaults (a port outside 1..65535 reads as 8765).
RemoteSettings readRemoteSettings(const QString& path);
// Writes the section, keeping every other line of the file; failure keeps the old file.
IoResult writeRemoteSettings(const RemoteSettings& settings, const QString& path);
// A fresh random token: 32 hexadecimal digits.
QString newRemoteToken();
// "host:port" (port 1..65535) split; nullopt when it is not one.
std::optional<std::pair<QString, int>> parseHostPort(const QString& text);

} // namespace lumavo
