#include "searchfolder.h"

#include "folderlisting.h"

namespace {

class Search
{
public:
    Search(const SearchOptions &options, QStringList &found, const FolderEntered &folderEntered)
        : m_options(options)
        , m_found(found)
        , m_folderEntered(folderEntered)
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
    const SearchOptions &m_options;
    QStringList &m_found;
    const FolderEntered &m_folderEntered;
    SearchEnd m_end = SearchEnd::Completed;
};

} // namespace

SearchEnd SearchFolder(const QString &folder, const SearchOptions &options, QStringList &found,
                       const FolderEntered &folderEntered)
{
    Search search(options, found, folderEntered);
    search.visit(folder);
    return search.end();
}
