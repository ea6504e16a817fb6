#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

#include <optional>
#include <vector>

class CatalogueStore;

/// The songs a catalogue holds more than once. Two records are alike when they have
/// - the same title and artist, ignoring letter case and surrounding blanks but not accents
///   ("Perché" and "perche" differ), the title not blank; or
/// - the same file name (exactly) and size.
/// A group is every record reached from another through such likenesses; a record alike to no
/// other is in no group.
class DuplicateGroups
{
public:
    /// Takes one record's fields as the store hands them over (see
    /// CatalogueStore::visitDuplicateFields): UTF-8, a null view for NULL. Records come in key
    /// order.
    void take(qint64 id, QByteArrayView titolo, QByteArrayView autore, QByteArrayView nome,
              QByteArrayView dimenzione);

    /// The groups of the records taken: the keys of each group in the order taken, the groups
    /// in the order of their first record's title (compared as the grid's sort by title does:
    /// ignoring case), equal titles by their first key.
    QList<QList<qint64>> groups() const;

private:
    int root(int index) const;
    void join(QHash<QByteArray, int> &firstWith, QByteArray key, int index);

    std::vector<qint64> m_ids;
    std::vector<QByteArray> m_titles; ///< the trimmed title of each record taken, as UTF-8
    mutable std::vector<int> m_parent;
    QHash<QByteArray, int> m_firstWithTitle;
    QHash<QByteArray, int> m_firstWithName;
};

/// The duplicate groups of the whole catalogue (see DuplicateGroups), read in one pass; nullopt
/// when the catalogue cannot be read (the store's lastError() says why).
std::optional<QList<QList<qint64>>> findDuplicates(CatalogueStore &store);
