#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <array>

/// One record of the catalogue table `Mp3`: one catalogued MP3 file.
/// Every text field may be NULL in the file; a null QString stands for NULL and an empty
/// (non-null) QString for an empty text.
struct CatalogueRecord
{
    qint64 id = 0;      ///< key given by the catalogue; never written by the program
    QString titolo;     ///< title
    QString autore;     ///< artist
    QString album;      ///< album
    QString anno;       ///< year, as text
    QString genere;     ///< genre name (never the number)
    QString commento;   ///< comment, or the volume name for CD and removable media
    QString nome;       ///< file name without ".mp3"
    QString percorso;   ///< folder of the file, ending with "/"
    QString dimenzione; ///< size text, right-aligned in 20 characters
    QString info;       ///< state word
    QString labelD;     ///< medium label
    QString supporto;   ///< medium serial number as decimal text

    friend bool operator==(const CatalogueRecord &, const CatalogueRecord &) = default;
};

/// One row of the table `Mp3` as the catalogue file hands it over, without copying: valid only
/// during the call that receives it.
struct RecordView
{
    qint64 id = 0;
    /// UTF-8 bytes of the twelve text fields in table order (`titolo` to `supporto`); a null
    /// view stands for NULL.
    std::array<QByteArrayView, 12> fields;
};
