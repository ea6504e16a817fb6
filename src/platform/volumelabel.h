#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

/// Decoding of volume labels as file systems and udev store them.
namespace VolumeLabel {

/// A label read from a file system of the given type: FAT labels are written in the code page
/// of the machine that wrote them, so one that is not valid UTF-8 is read as code page 850;
/// any other type is UTF-8. Blanks at either end are dropped.
QString decode(const QByteArray &fileSystemType, QByteArrayView raw);

/// Bytes as code page 850, the DOS code page of western Europe.
QString fromCp850(QByteArrayView raw);

/// The bytes a /dev/disk/by-label link name stands for: udev writes every byte it does not
/// allow in a file name as "\xNN".
QByteArray fromLinkName(const QString &name);

} // namespace VolumeLabel
