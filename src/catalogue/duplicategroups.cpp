#include "duplicategroups.h"

#include "cataloguestore.h"

#include "inspection/sizetext.h"

#include <QString>

#include <algorithm>
#include <numeric>

namespace {

bool isAsciiBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

QByteArrayView trimmedAscii(QByteArrayView text)
{
    while (!text.isEmpty() && isAsciiBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isAsciiBlank(text.back()))
        text.chop(1);
    return text;
}

bool isAscii(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Appends the text trimmed and case-folded. Plain ASCII is folded byte by byte: a catalogue's
// titles mostly are, and `tracklodge-bench duplicates` spends half its time in QString's
// folding without it.
void appendFolded(QByteArray &key, QByteArrayView text)
{
    if (isAscii(text)) {
        for (const char c : trimmedAscii(text))
            key.append(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        return;
    }
    key.append(QString::fromUtf8(text).trimmed().toCaseFolded().toUtf8());
}

QByteArray trimmedTitle(QByteArrayView titolo)
{
    if (isAscii(titolo))
        return trimmedAscii(titolo).toByteArray();
    return QString::fromUtf8(titolo).trimmed().toUtf8();
}

} // namespace

int DuplicateGroups::root(int index) const
{
    while (m_parent[static_cast<size_t>(index)] != index) {
        int &parent = m_parent[static_cast<size_t>(index)];
        parent = m_parent[static_cast<size_t>(parent)];
        index = parent;
    }
    return index;
}

void DuplicateGroups::join(QHash<QByteArray, int> &firstWith, QByteArray key, int index)
{
    const auto it = firstWith.constFind(key);
    if (it == firstWith.cend()) {
        firstWith.insert(std::move(key), index);
        return;
    }
    // The lower root stays: a group's root is its first record.
    const int a = root(*it);
    const int b = root(index);
    m_parent[static_cast<size_t>(std::max(a, b))] = std::min(a, b);
}

void DuplicateGroups::take(qint64 id, QByteArrayView titolo, QByteArrayView autore,
                           QByteArrayView nome, QByteArrayView dimenzione)
{
    const int index = static_cast<int>(m_ids.size());
    m_ids.push_back(id);
    m_parent.push_back(index);
    m_titles.push_back(trimmedTitle(titolo));
    if (!m_titles.back().isEmpty()) {
        QByteArray key;
        key.reserve(titolo.size() + autore.size() + 1);
        appendFolded(key, titolo);
        // A NUL cannot stand in a stored text, so it parts title and artist unambiguously.
        key.append('\0');
        appendFolded(key, autore);
        join(m_firstWithTitle, std::move(key), index);
    }
    if (!nome.isEmpty() && !dimenzione.isNull()) {
        QByteArray key = nome.toByteArray();
        key.append('\0');
        key.append(QByteArray::number(kilobytesOf(dimenzione)));
        join(m_firstWithName, std::move(key), index);
    }
}

QList<QList<qint64>> DuplicateGroups::groups() const
{
    const int count = static_cast<int>(m_ids.size());
    // The group of each root, in the order roots come.
    QHash<int, qsizetype> groupOfRoot;
    QList<QList<qint64>> groups;
    std::vector<int> firstOfGroup;
    for (int i = 0; i < count; ++i) {
        // A root is its group's first record: the group is made when a second one comes.
        const int r = root(i);
        if (r == i)
            continue;
        auto it = groupOfRoot.find(r);
        if (it == groupOfRoot.end()) {
            it = groupOfRoot.insert(r, groups.size());
            groups.append(QList<qint64>{m_ids[static_cast<size_t>(r)]});
            firstOfGroup.push_back(r);
        }
        groups[*it].append(m_ids[static_cast<size_t>(i)]);
    }
    std::vector<qsizetype> order(static_cast<size_t>(groups.size()));
    std::iota(order.begin(), order.end(), 0);
    std::vector<QString> titles;
    titles.reserve(firstOfGroup.size());
    for (const int first : firstOfGroup)
        titles.push_back(QString::fromUtf8(m_titles[static_cast<size_t>(first)]));
    std::stable_sort(order.begin(), order.end(), [&titles](qsizetype a, qsizetype b) {
        return titles[static_cast<size_t>(a)].compare(titles[static_cast<size_t>(b)],
                                                      Qt::CaseInsensitive) < 0;
    });
    QList<QList<qint64>> sorted;
    sorted.reserve(groups.size());
    for (const qsizetype g : order)
        sorted.append(std::move(groups[g]));
    return sorted;
}

std::optional<QList<QList<qint64>>> findDuplicates(CatalogueStore &store)
{
    DuplicateGroups groups;
    const bool read = store.visitDuplicateFields(
        [&groups](qint64 id, QByteArrayView titolo, QByteArrayView autore, QByteArrayView nome,
                  QByteArrayView dimenzione) {
            groups.take(id, titolo, autore, nome, dimenzione);
        });
    if (!read)
        return std::nullopt;
    return groups.groups();
}
