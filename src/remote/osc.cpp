#include "remote/osc.h"

#include <QtEndian>
#include <cstring>

namespace lumavo {

namespace {

constexpr int kMaxBundleDepth = 4;
constexpr int kMaxMessages = 64;

// Reads OSC's padded strings and big-endian 32-bit words from a byte range.
class OscReader {
public:
    OscReader(const char* data, qsizetype size) : data_(data), size_(size) {}
    bool atEnd() const { return at_ == size_; }

    std::optional<QByteArray> string()
    {
        const void* end = std::memchr(data_ + at_, 0, static_cast<std::size_t>(size_ - at_));
        if (end == nullptr)
            return std::nullopt;
        const qsizetype length = static_cast<const char*>(end) - (data_ + at_);
        QByteArray text(data_ + at_, length);
        const qsizetype padded = (length + 4) & ~qsizetype{3};
        if (at_ + padded > size_)
            return std::nullopt;
        at_ += padded;
        return text;
    }
    std::optional<quint32> word()
    {
        if (size_ - at_ < 4)
            return std::nullopt;
        const quint32 value = qFromBigEndian<quint32>(data_ + at_);
        at_ += 4;
        return value;
    }
    bool skip(qsizetype bytes)
    {
        if (bytes < 0 || size_ - at_ < bytes)
            return false;
        at_ += bytes;
        return true;
    }
    qsizetype position() const { return at_; }

private:
    const char* data_;
    qsizetype size_;
    qsizetype at_ = 0;
};

std::optional<OscMessage> decodeMessage(const char* data, qsizetype size)
{
    OscReader in(data, size);
    const auto address = in.string();
    if (!address || !address->startsWith('/'))
        return std::nullopt;
    OscMessage message{QString::fromUtf8(*address), {}};
    if (in.atEnd())
        return message;   // old senders omit the type tags of a message without arguments
    const auto tags = in.string();
    if (!tags || !tags->startsWith(','))
        return std::nullopt;
    for (const char tag : tags->mid(1)) {
        switch (tag) {
        case 'i': {
            const auto w = in.word();
            if (!w)
                return std::nullopt;
            message.arguments << static_cast<int>(static_cast<qint32>(*w));
            break;
        }
        case 'f': {
            const auto w = in.word();
            if (!w)
                return std::nullopt;
            float value = 0;
            const quint32 bits = *w;
            std::memcpy(&value, &bits, sizeof value);
            message.arguments << static_cast<double>(value);
            break;
        }
        case 's': {
            const auto s = in.string();
            if (!s)
                return std::nullopt;
            message.arguments << QString::fromUtf8(*s);
            break;
        }
        case 'T': message.arguments << true; break;
        case 'F': message.arguments << false; break;
        case 'N':
        case 'I': message.arguments << QVariant(); break;
        default: return std::nullopt;
        }
    }
    if (!in.atEnd())
        return std::nullopt;
    return message;
}

bool decodePacket(const char* data, qsizetype size, int depth, QList<OscMessage>& out)
{
    if (size < 4 || size % 4 != 0)
        return false;
    if (size >= 8 && std::memcmp(data, "#bundle\0", 8) == 0) {
        if (depth >= kMaxBundleDepth)
            return false;
        OscReader in(data, size);
        in.skip(16);   // "#bundle", then the time tag (ignored: everything runs at once)
        if (in.position() != 16)
            return false;
        while (!in.atEnd()) {
            const auto length = in.word();
            const qsizetype start = in.position();
            if (!length || !in.skip(static_cast<qint32>(*length)))
                return false;
            if (!decodePacket(data + start, static_cast<qint32>(*length), depth + 1, out))
                return false;
        }
        return true;
    }
    const auto message = decodeMessage(data, size);
    if (!message || out.size() >= kMaxMessages)
        return false;
    out << *message;
    return true;
}

void appendPadded(QByteArray& out, const QByteArray& text)
{
    out += text;
    out += '\0';
    while (out.size() % 4 != 0)
        out += '\0';
}

void appendWord(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

std::optional<QList<OscMessage>> decodeOsc(const QByteArray& datagram)
{
    QList<OscMessage> messages;
    if (!decodePacket(datagram.constData(), datagram.size(), 0, messages))
        return std::nullopt;
    return messages;
}

QByteArray encodeOsc(const OscMessage& message)
{
    QByteArray tags = ",";
    QByteArray payload;
    for (const QVariant& argument : message.arguments) {
        switch (argument.typeId()) {
        case QMetaType::Bool: tags += argument.toBool() ? 'T' : 'F'; break;
        case QMetaType::Double:
        case QMetaType::Float: {
            tags += 'f';
            const float value = argument.toFloat();
            quint32 bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            appendWord(payload, bits);
            break;
        }
        case QMetaType::QString:
            tags += 's';
            appendPadded(payload, argument.toString().toUtf8());
            break;
        default:
            tags += 'i';
            appendWord(payload, static_cast<quint32>(argument.toInt()));
            break;
        }
    }
    QByteArray out;
    appendPadded(out, message.address.toUtf8());
    appendPadded(out, tags);
    return out + payload;
}

} // namespace lumavo
