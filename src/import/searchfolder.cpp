#include "searchfolder.h"

#include "folderlisting.h"
#include "importtexts.h"

namespace {

class Search
{
public:
    Search(const SearchOptions &options, QStringList &found, const FolderEntered &folderEntered,
           QStringList *leftOut)
        : m_options(options)
        , m_found(found)
        , m_folderEntered(folderEntered)
        , m_leftOut(leftOut)
    {}

    SearchEnd end() const { return m_end; }

    // One folder; true when the whole search is to stop.
    bool visit(const QString &folder)
    {
        if (m_folderEntered && !m_folderEntered(folder)) {
            m_end = SearchEnd::Cancelled;
            return true;
        }
        const FolderListing listing = listFolder(folder);
        if (!listing.readable)
            return false;
        noteLeftOut(folder, listing);
        if (m_options.includeSubfolders) {
            for (qsizetype i = listing.subfolders.size() - 1; i >= 0; --i) {
                if (visit(entryPath(folder, listing.subfolders.at(i))))
                    return true;
            }
        }
        for (const QString &file : listing.mp3Files) {
            if (m_found.size() >= m_options.limit) {
                m_end = SearchEnd::ListFull;
                return true;
            }
            m_found.append(entryPath(folder, file));
        }
        return false;
    }

private:
    void noteLeftOut(const QString &folder, const FolderListing &listing)
    {
        if (!m_leftOut)
            return;
        if (m_options.includeSubfolders) {
            for (const QString &name : listing.undecodableSubfolders)
                m_leftOut->append(entryPath(folder, name) + u'/');
        }
        for (const QString &name : listing.undecodableMp3Files)
            m_leftOut->append(entryPath(folder, name));
    }

    const SearchOptions &m_options;
    QStringList &m_found;
    const FolderEntered &m_folderEntered;
    QStringList *m_leftOut;
    SearchEnd m_end = SearchEnd::Completed;
};

} // namespace

SearchEnd SearchFolder(const QString &folder, const SearchOptions &options, QStringList &found,
                       const FolderEntered &folderEntered, QStringList *leftOut)
{
    Search search(options, found, folderEntered, leftOut);
    search.visit(folder);
    return search.end();
}

QString leftOutReport(const QStringList &leftOut)
{
    if (leftOut.isEmpty())
        return {};
    // A message box has room for a screenful of names, not for a whole disk of them.
    constexpr qsizetype kListed = 30;
    QStringList lines = leftOut.first(std::min(leftOut.size(), kListed));
    if (leftOut.size() > kListed)
        lines << QString::fromUtf8(ImportTexts::kMoreLeftOut).arg(leftOut.size() - kListed);
    return QString::fromUtf8(ImportTexts::kNamesLeftOut)
        .arg(QString::number(leftOut.size()), lines.join(u'\n'));
}
