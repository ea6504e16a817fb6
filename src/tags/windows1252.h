#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Tag texts are stored one byte per character in Windows-1252, the 8-bit character set the tags
// of this collection were written in. The conversion is done here rather than through a codec
// library so that it is the same on every system.

/// Decodes Windows-1252 bytes: 0x80 to 0x9F give their Windows-1252 characters (the five bytes
/// the set leaves undefined, 0x81, 0x8D, 0x8F, 0x90 and 0x9D, give the control character of the
/// same value), every other byte the character of the same value. Never fails.
QString fromWindows1252(QByteArrayView bytes);

/// Encodes text as Windows-1252, one byte per character (per code point, so a character outside
/// the Basic Multilingual Plane is one character too); a character the set cannot hold becomes
/// "?". Decoding the result gives the text back exactly when every character is in the set.
QByteArray toWindows1252(QStringView text);
