#include "modificadb.h"

namespace {

// A null QString would be stored as NULL; the record update always stores a text.
QString asText(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

} // namespace

CatalogueRecord storedByModificaDB(const CatalogueRecord &record)
{
    CatalogueRecord stored;
    stored.id = record.id;
    stored.supporto = record.supporto;
    stored.titolo = asText(recordText(record.titolo, RecordCuts::kTitle));
    stored.autore = asText(recordText(record.autore, RecordCuts::kArtist));
    stored.album = asText(recordText(record.album, RecordCuts::kAlbum));
    stored.anno = asText(recordText(record.anno, RecordCuts::kYear));
    stored.commento = asText(recordText(record.commento, RecordCuts::kComment));
    // "No genre" is stored one way: an empty text (a NULL genre is shown as a blank).
    stored.genere = record.genere.trimmed().isEmpty() ? QStringLiteral("") : record.genere;
    stored.info = asText(record.info);
    stored.nome = asText(record.nome);
    stored.percorso = asText(record.percorso);
    stored.dimenzione = asText(record.dimenzione);
    stored.labelD = asText(record.labelD);
    return stored;
}

CatalogueStore::WriteResult ModificaDB(CatalogueStore &store, const CatalogueRecord &record)
{
    return store.update(storedByModificaDB(record));
}
