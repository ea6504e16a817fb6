#include "modificadb.h"

namespace {

// A null QString would be stored as NULL; the record update always stores a text.
QString asText(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

} // namespace

CatalogueStore::WriteResult ModificaDB(CatalogueStore &store, const QString &txttitle,
                                       const QString &txtartist, const QString &txtalbum,
                                       const QString &txtyear, const QString &txtcomment,
                                       const QString &genere, const QString &notag,
                                       const QString &nomeFile, const QString &percorso,
                                       const QString &dimenzione, const QString &labelD,
                                       const QString &id)
{
    bool numeric = false;
    const qint64 key = id.trimmed().toLongLong(&numeric);
    if (!numeric)
        return CatalogueStore::WriteResult::NoSuchRecord;
    return ModificaDB(store, txttitle, txtartist, txtalbum, txtyear, txtcomment, genere, notag,
                      nomeFile, percorso, dimenzione, labelD, key);
}

CatalogueStore::WriteResult ModificaDB(CatalogueStore &store, const QString &txttitle,
                                       const QString &txtartist, const QString &txtalbum,
                                       const QString &txtyear, const QString &txtcomment,
                                       const QString &genere, const QString &notag,
                                       const QString &nomeFile, const QString &percorso,
                                       const QString &dimenzione, const QString &labelD, qint64 id)
{
    CatalogueRecord record;
    record.id = id;
    record.titolo = asText(firstCharacters(txttitle, RecordCuts::kTitle));
    record.autore = asText(firstCharacters(txtartist, RecordCuts::kArtist));
    record.album = asText(firstCharacters(txtalbum, RecordCuts::kAlbum));
    record.anno = asText(firstCharacters(txtyear, RecordCuts::kYear));
    record.commento = asText(firstCharacters(txtcomment, RecordCuts::kComment));
    record.genere = asText(genere);
    record.info = asText(notag);
    record.nome = asText(nomeFile);
    record.percorso = asText(percorso);
    record.dimenzione = asText(dimenzione);
    record.labelD = asText(labelD);
    return store.update(record);
}
