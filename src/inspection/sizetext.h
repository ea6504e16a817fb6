#pragma once

#include <QByteArrayView>
#include <QLocale>
#include <QString>

// The size text of a catalogued file: its length in whole kilobytes, e.g. "1,024 KB".

/// The size text of a file of `bytes` bytes: bytes / 1024 rounded to the nearest whole number
/// (a half goes to the even neighbour), written in ASCII digits grouped in threes with the
/// locale's group separator (always, even when the locale's number options omit it), then
/// " KB". There is no upper limit below that of qint64. A negative length is written with the
/// locale's negative sign, rounded the same way by its magnitude ("-2 KB" for -1536).
QString formatSize(qint64 bytes, const QLocale &locale = QLocale());

/// formatSize() right-aligned in 20 characters with leading blanks, as the catalogue stores it.
/// A longer text is kept whole.
QString padSize(qint64 bytes, const QLocale &locale = QLocale());

/// The kilobytes a stored size text says: its ASCII digits read as one number, whatever group
/// separator or padding stands between them ("   1.024 KB" gives 1024); 0 when it has none.
qint64 kilobytesOf(QByteArrayView sizeText);

/// A size of `kilobytes` KB for people: below 1024 KB in whole KB ("512 KB"), below 1024 MB in
/// MB with one decimal ("4,4 MB"), above in GB with two ("1,37 GB"), with the locale's decimal
/// point and group separator.
QString readableSize(qint64 kilobytes, const QLocale &locale = QLocale());
