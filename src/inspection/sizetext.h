#pragma once

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
