#include "platform/windows1252.h"

#include <array>

namespace lumavo {

namespace {

// Characters of bytes 0x80..0x9F; the unassigned bytes map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t charOf(std::uint8_t byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

char byteOf(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<char>(ch);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == ch)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QString decodeWindows1252(const std::uint8_t* bytes, std::size_t count)
{
    QString text(static_cast<qsizetype>(count), Qt::Uninitialized);
    QChar* out = text.data();
    for (std::size_t i = 0; i < count; ++i)
        out[i] = QChar(charOf(bytes[i]));
    return text;
}

QString decodeWindows1252(const QByteArray& bytes)
{
    return decodeWindows1252(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size()));
}

QByteArray encodeWindows1252(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            bytes.append('?');
            ++i;
            continue;
        }
        bytes.append(ch.isSurrogate() ? '?' : byteOf(ch.unicode()));
    }
    return bytes;
}

QString unencodableWindows1252(const QString& text)
{
    QString found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        QString one(ch);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            one += text[++i];
        else if (!ch.isSurrogate() && (ch == u'?' || byteOf(ch.unicode()) != '?'))
            continue;
        if (!found.contains(one))
            found += one;
    }
    return found;
}

} // namespace lumavo
