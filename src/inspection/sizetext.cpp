#include "sizetext.h"

#include "inspectiontexts.h"

#include <algorithm>
#include <charconv>

namespace {

// Whole kilobytes of a byte count, rounded half to even, in exact integer arithmetic. The
// magnitude is unsigned so that the lowest qint64 has one too.
quint64 roundedKilobytes(quint64 bytes)
{
    quint64 kilobytes = bytes / 1024;
    const quint64 rest = bytes % 1024;
    if (rest > 512 || (rest == 512 && kilobytes % 2 != 0))
        ++kilobytes;
    return kilobytes;
}

// The size text, with leading blanks up to `width` characters. Built in one allocation: an
// import makes one for every file.
QString sizeText(qint64 bytes, const QLocale &locale, qsizetype width)
{
    const bool negative = bytes < 0;
    const quint64 magnitude =
        negative ? quint64(0) - static_cast<quint64>(bytes) : static_cast<quint64>(bytes);
    const quint64 kilobytes = roundedKilobytes(magnitude);

    // Grouped by hand rather than with QLocale::toString(): that omits the separator when the
    // locale's number options say so (the C locale does by default), uses some locales' own
    // digits and groups others in twos; the catalogue wants ASCII digits in threes.
    char digits[24];
    const qsizetype count = std::to_chars(digits, digits + sizeof digits, kilobytes).ptr - digits;
    const QString separator = count > 3 ? locale.groupSeparator() : QString();
    const QString sign = negative && kilobytes != 0 ? locale.negativeSign() : QString();
    const QLatin1StringView suffix(InspectionTexts::kSizeSuffix);
    const qsizetype length =
        sign.size() + count + (count - 1) / 3 * separator.size() + suffix.size();
    const qsizetype blanks = std::max(width - length, qsizetype(0));
    QString text(blanks + length, Qt::Uninitialized);
    QChar *out = std::fill_n(text.data(), blanks, QChar(u' '));
    out = std::copy(sign.cbegin(), sign.cend(), out);
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0)
            out = std::copy(separator.cbegin(), separator.cend(), out);
        *out++ = QLatin1Char(digits[i]);
    }
    for (const char c : suffix)
        *out++ = QLatin1Char(c);
    return text;
}

} // namespace

QString formatSize(qint64 bytes, const QLocale &locale)
{
    return sizeText(bytes, locale, 0);
}

QString padSize(qint64 bytes, const QLocale &locale)
{
    return sizeText(bytes, locale, InspectionTexts::kPaddedSizeWidth);
}

qint64 kilobytesOf(QByteArrayView sizeText)
{
    qint64 kilobytes = 0;
    for (const char c : sizeText) {
        if (c >= '0' && c <= '9')
            kilobytes = kilobytes * 10 + (c - '0');
    }
    return kilobytes;
}

QString readableSize(qint64 kilobytes, const QLocale &locale)
{
    constexpr qint64 kUnit = 1024;
    if (kilobytes < kUnit)
        return locale.toString(kilobytes) + QLatin1String(InspectionTexts::kSizeSuffix);
    const auto value = static_cast<double>(kilobytes);
    if (kilobytes < kUnit * kUnit)
        return locale.toString(value / kUnit, 'f', 1) + QLatin1String(InspectionTexts::kMegabytes);
    return locale.toString(value / (kUnit * kUnit), 'f', 2) +
           QLatin1String(InspectionTexts::kGigabytes);
}
