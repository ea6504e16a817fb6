#include "sizetext.h"

#include "inspectiontexts.h"

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

} // namespace

QString formatSize(qint64 bytes, const QLocale &locale)
{
    const bool negative = bytes < 0;
    const quint64 magnitude =
        negative ? quint64(0) - static_cast<quint64>(bytes) : static_cast<quint64>(bytes);
    const quint64 kilobytes = roundedKilobytes(magnitude);

    // Grouped by hand rather than with QLocale::toString(): that omits the separator when the
    // locale's number options say so (the C locale does by default), uses some locales' own
    // digits and groups others in twos; the catalogue wants ASCII digits in threes.
    const QString digits = QString::number(kilobytes);
    const QString separator = locale.groupSeparator();
    QString text;
    if (negative && kilobytes != 0)
        text += locale.negativeSign();
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += separator;
        text += digits.at(i);
    }
    return text + QLatin1String(InspectionTexts::kSizeSuffix);
}

QString padSize(qint64 bytes, const QLocale &locale)
{
    return formatSize(bytes, locale).rightJustified(InspectionTexts::kPaddedSizeWidth, u' ');
}
