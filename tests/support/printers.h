#pragma once

// Texts of the program's value types, for QCOMPARE to show when two values differ.

#include "catalogue/cataloguerecord.h"
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

inline char *toString(const CatalogueRecord &r)
{
    QStringList texts{QString::number(r.id)};
    for (const QString *field :
         {&r.titolo, &r.autore, &r.album, &r.anno, &r.genere, &r.commento, &r.nome, &r.percorso,
          &r.dimenzione, &r.info, &r.labelD, &r.supporto})
        texts << (field->isNull() ? QStringLiteral("<NULL>") : *field);
    return QTest::toString(texts.join(u'|'));
}

inline char *toString(const VolumeInfo &v)
{
    return QTest::toString(QStringList{v.mountPoint, QString::number(int(v.type)), v.label,
                                       v.serial, v.fileSystemType, v.device}
                               .join(u'|'));
}
