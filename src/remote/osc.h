#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

namespace lumavo {

// One OSC message: an address and its arguments (int 'i' as int, float 'f' as double,
// string 's' as QString; 'T' and 'F' as bool).
struct OscMessage {
    QString address;
    QList<QVariant> arguments;
};

// The messages of one UDP datagram: a message, or a bundle (nested bundles included, up to a few
// levels) whose messages come out in order. nullopt for anything malformed (lengths, padding, an
// unknown type tag), so a garbled datagram is dropped as a whole.
std::optional<QList<OscMessage>> decodeOsc(const QByteArray& datagram);
// The datagram of one message (int, double as float 'f', QString and bool arguments).
QByteArray encodeOsc(const OscMessage& message);

} // namespace lumavo
