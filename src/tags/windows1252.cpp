#include "windows1252.h"

#include <array>

namespace {

// The characters of bytes 0x80 to 0x9F. The five bytes the set leaves undefined map to the
// control character of the same value, so that any byte sequence survives a decode and encode.
constexpr std::array<char16_t, 32> kHighCharacters = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98
};

constexpr char kReplacement = '?';

char encodeCodePoint(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighCharacters.size(); ++i) {
        if (kHighCharacters[i] == cp)
            return static_cast<char>(0x80 + i);
    }
    return kReplacement;
}

} // namespace

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte < 0xA0) ? QChar(kHighCharacters[byte - 0x80]) : QChar(byte);
    }
    return text;
}

QByteArray toWindows1252(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    while (p != end) {
        char32_t cp = *p++;
        if (QChar::isHighSurrogate(cp) && p != end && QChar::isLowSurrogate(*p))
            cp = QChar::surrogateToUcs4(static_cast<char16_t>(cp), *p++);
        bytes.append(encodeCodePoint(cp));
    }
    return bytes;
}
