#pragma once

// Texts of the program's value types, for QCOMPARE to show when two values differ.

#include "import/fileimport.h"
#include "platform/volumes.h"
#include "tags/tagvalues.h"

#include <QStringList>
#include <QTest>

inline char *toString(const TagValues &v)
{
    return QTest::toString(
        QStringList{v.title, v.artist, v.album, v.year, v.comment, v.genre}.join(u'|'));
}

inline char *toString(const ImportValues &v)
{
    return QTest::toString(QStringList{v.title, v.artist, v.album, v.year, v.comment, v.genre,
                                       v.state, v.baseName, v.folder, v.size}
                               .join(u'|'));
}

inline char *toString(const VolumeInfo &v)
{
    return QTest::toString(QStringList{v.mountPoint, QString::number(int(v.type)), v.label,
                                       v.serial, v.fileSystemType, v.device}
                               .join(u'|'));
}
