#pragma once

#include <QString>
#include <QtGlobal>

/// One medium of the catalogue (a CD, a USB disk, a hard disk): the records that share one
/// `supporto`.
struct Medium
{
    QString supporto;     ///< serial number as stored; a null QString for records without one
    QString labelD;       ///< the label of its record with the lowest key
    QString driveType;    ///< "CDROM", "Disco Rimovibile" or "Fissa" as its records carry it;
                          ///< the word most of them carry, empty when none carries one
    qint64 files = 0;     ///< number of records
    qint64 kilobytes = 0; ///< the sum of the records' size texts, in KB

    friend bool operator==(const Medium &, const Medium &) = default;
};
