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
    std::unordered_map<std::string, ByName> records;
    const bool read = store.visitNamesAndFolders(
        [&records](qint64 id, QByteArrayView nome, QByteArrayView percorso) {
            // NULL equals nothing.
            if (nome.isNull() || percorso.isNull())
                return;
            ByName &ofFolder = records[std::string(percorso.data(), percorso.size())];
            const auto [it, added] = ofFolder.try_emplace(std::string(nome.data(), nome.size()),
                                                          Known{id, true, std::nullopt});
            // The first record of a file is the one with the lowest key.
            if (!added && id < it->second.id)
                it->second = Known{id, true, std::nullopt};
        });
    if (read)
        m_records = std::move(records);
}

void CataloguedFiles::clear()
{
    m_records.reset();
    m_folder.clear();
    m_ofFolder = nullptr;
    m_last = nullptr;
}

// The UTF-8 of a text, as the catalogue compares it, into a buffer used again and again.
void CataloguedFiles::setKey(std::string &key, const QString &text)
{
    key.resize(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x80) {
            const QByteArray utf8 = text.toUtf8();
            key.assign(utf8.constData(), static_cast<size_t>(utf8.size()));
            return;
        }
        key[static_cast<size_t>(i)] = static_cast<char>(c);
    }
}

bool CataloguedFiles::find(CatalogueStore &store, const QString &baseName, const QString &folder,
                           std::optional<Record> &record)
{
    m_last = nullptr;
    if (!m_records) {
        const Lookup<CatalogueRecord> found = store.findByNameAndFolder(baseName, folder);
        if (found.isFound())
            record = Record{found->id, found->supporto};
        return !found.isFailed();
    }
    if (baseName.isNull() || folder.isNull())
        return true;
    if (!m_ofFolder || m_folder != folder) {
        std::string key;
        setKey(key, folder);
        m_ofFolder = &(*m_records)[key];
        m_folder = folder;
    }
    setKey(m_nameKey, baseName);
    // The file's place is made now, so that noteWritten needs no second look-up.
    Known &known = (*m_ofFolder)[m_nameKey];
    m_last = &known;
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
    // An added record has the highest key, so it is the first of its file only when the file
    // had none; a rewritten one keeps its key.
    if (!m_last->exists)
        *m_last = Known{written.id, true, written.supporto};
    else if (m_last->id == written.id)
        m_last->supporto = written.supporto;
    m_last = nullptr;
}
