#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

/// One line of a mount table in the mountinfo format.
struct MountEntry
{
    int id = 0;       ///< mount id, unique while mounted
    int parentId = 0; ///< id of the mount this one is attached to
    quint32 major = 0;
    quint32 minor = 0;
    QString root;       ///< the folder of the file system that is mounted, "/" for all of it
    QString mountPoint; ///< absolute path, escapes decoded
    QString fileSystemType;
    QString source; ///< the device or the remote share, escapes decoded

    friend bool operator==(const MountEntry &, const MountEntry &) = default;
};

/// The mounts of the machine as a process sees them, read from the mountinfo text.
class MountTable
{
public:
    MountTable() = default;

    /// Parses mountinfo text. Lines that do not have the expected fields are skipped, so any
    /// input gives a table, possibly empty.
    static MountTable parse(QByteArrayView text);

    /// Decodes the octal escapes ("\040" for a blank, "\011", "\012", "\134" …) the kernel
    /// writes into mount points and sources; a backslash not followed by three octal digits is
    /// kept as it is. The bytes are then read as a local file name.
    static QString decodeField(QByteArrayView field);

    /// True when `path` is `mountPoint` itself or lies below it, by whole path components:
    /// "/media/usb" holds "/media/usb/x" but not "/media/usb2/x". Both must be absolute.
    static bool holds(const QString &mountPoint, const QString &path);

    /// Every entry, in the order of the text.
    const QList<MountEntry> &entries() const { return m_entries; }

    /// The entries that can be reached: a mount covered by a later mount on the same point, or
    /// on a folder above it, is left out. In the order of the text.
    const QList<MountEntry> &visibleEntries() const { return m_visible; }

    /// The visible mount holding an absolute, canonical path: the one with the longest mount
    /// point that holds it. nullopt when none does (an empty table or a relative path).
    std::optional<MountEntry> mountOf(const QString &path) const;

private:
    void computeVisible();

    QList<MountEntry> m_entries;
    QList<MountEntry> m_visible;
};
