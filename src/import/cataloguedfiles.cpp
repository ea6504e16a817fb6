#include "cataloguedfiles.h"

#include "catalogue/cataloguerecord.h"
#include "catalogue/cataloguestore.h"

#include <QByteArray>

void CataloguedFiles::load(CatalogueStore &store, qsizetype files)
{
    clear();
    if (!store.hasOwnTable())
        return;
    // A larger catalogue costs more to read whole than to ask file by file.
    const std::optional<qint64> highest = store.highestKey();
    if (!highest || *highest > files)
        return;
    QHash<QString, ByName> records;
    const bool read = store.visitNamesAndFolders(
        [&records](qint64 id, QByteArrayView nome, QByteArrayView percorso) {
            // NULL equals nothing.
            if (nome.isNull() || percorso.isNull())
                return;
            Known &known = records[QString::fromUtf8(percorso)][QString::fromUtf8(nome)];
            // The first record of a file is the one with the lowest key.
            if (!known.exists || id < known.id)
                known = Known{id, true, std::nullopt};
        });
    if (read)
        m_records = std::move(records);
}

void CataloguedFiles::clear()
{
    m_records.reset();
    m_last.reset();
}

bool CataloguedFiles::find(CatalogueStore &store, const QString &baseName, const QString &folder,
                           std::optional<Record> &record)
{
    m_last.reset();
    if (!m_records) {
        const Lookup<CatalogueRecord> found = store.findByNameAndFolder(baseName, folder);
        if (found.isFound())
            record = Record{found->id, found->supporto};
        return !found.isFailed();
    }
    if (baseName.isNull() || folder.isNull())
        return true;
    m_last.emplace(folder, baseName);
    const Known known = m_records->value(folder).value(baseName);
    if (!known.exists)
        return true;
    if (known.supporto) {
        record = Record{known.id, *known.supporto};
        return true;
    }
    const Lookup<CatalogueRecord> found = store.recordById(known.id);
    if (found.isFound())
        record = Record{found->id, found->supporto};
    return !found.isFailed();
}

void CataloguedFiles::noteWritten(const CatalogueRecord &written)
{
    if (!m_last)
        return;
    Known &known = (*m_records)[m_last->first][m_last->second];
    // An added record has the highest key, so it is the first of its file only when the file
    // had none; a rewritten one keeps its key.
    if (!known.exists)
        known = Known{written.id, true, written.supporto};
    else if (known.id == written.id)
        known.supporto = written.supporto;
    m_last.reset();
}
