#include "modificadb.h"

namespace {

// A null QString would be stored as NULL; the record update always stores a text.
QString asText(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

} // namespace

CatalogueStore::WriteResult ModificaDB(CatalogueStore &store, const CatalogueRecord &record)
{
    CatalogueRecord stored;
    stored.id = record.id;
    stored.titolo = asText(firstCharacters(record.titolo, RecordCuts::kTitle));
    stored.autore = asText(firstCharacters(record.autore, RecordCuts::kArtist));
    stored.album = asText(firstCharacters(record.album, RecordCuts::kAlbum));
    stored.anno = asText(firstCharacters(record.anno, RecordCuts::kYear));
    stored.commento = asText(firstCharacters(record.commento, RecordCuts::kComment));
    stored.genere = asText(record.genere);
    stored.info = asText(record.info);
    stored.nome = asText(record.nome);
    stored.percorso = asText(record.percorso);
    stored.dimenzione = asText(record.dimenzione);
    stored.labelD = asText(record.labelD);
    return store.update(stored);
}
