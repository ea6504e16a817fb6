#include "mounttable.h"

#include <QFile>
#include <QHash>

namespace {

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

std::optional<quint32> parseNumber(QByteArrayView text)
{
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    if (!ok || value > 0xffffffffULL)
        return std::nullopt;
    return quint32(value);
}

QList<QByteArrayView> splitFields(QByteArrayView line)
{
    QList<QByteArrayView> fields;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        const bool blank = i == line.size() || line[i] == ' ' || line[i] == '\t';
        if (blank && start >= 0) {
            fields << line.sliced(start, i - start);
            start = -1;
        } else if (!blank && start < 0) {
            start = i;
        }
    }
    return fields;
}

// id parent major:minor root mount-point options [optional fields…] - type source super-options
std::optional<MountEntry> parseLine(QByteArrayView line)
{
    const QList<QByteArrayView> fields = splitFields(line);
    if (fields.size() < 9)
        return std::nullopt;
    qsizetype separator = -1;
    for (qsizetype i = 6; i < fields.size(); ++i) {
        if (fields[i] == "-") {
            separator = i;
            break;
        }
    }
    if (separator < 0 || separator + 2 >= fields.size())
        return std::nullopt;

    const auto id = parseNumber(fields[0]);
    const auto parent = parseNumber(fields[1]);
    const qsizetype colon = fields[2].indexOf(':');
    if (!id || !parent || colon <= 0)
        return std::nullopt;
    const auto major = parseNumber(fields[2].first(colon));
    const auto minor = parseNumber(fields[2].sliced(colon + 1));
    if (!major || !minor || *id > 0x7fffffff || *parent > 0x7fffffff)
        return std::nullopt;

    MountEntry entry;
    entry.id = int(*id);
    entry.parentId = int(*parent);
    entry.major = *major;
    entry.minor = *minor;
    entry.root = MountTable::decodeField(fields[3]);
    entry.mountPoint = MountTable::decodeField(fields[4]);
    entry.fileSystemType = MountTable::decodeField(fields[separator + 1]);
    entry.source = MountTable::decodeField(fields[separator + 2]);
    if (!entry.mountPoint.startsWith(u'/'))
        return std::nullopt;
    return entry;
}

} // namespace

MountTable MountTable::parse(QByteArrayView text)
{
    MountTable table;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        if (const auto entry = parseLine(text.sliced(start, end - start)))
            table.m_entries << *entry;
        start = end + 1;
    }
    table.computeVisible();
    return table;
}

QString MountTable::decodeField(QByteArrayView field)
{
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
            isOctal(field[i + 2]) && isOctal(field[i + 3]) && field[i + 1] <= '3') {
            bytes += char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                          (field[i + 3] - '0'));
            i += 3;
        } else {
            bytes += field[i];
        }
    }
    return QFile::decodeName(bytes);
}

bool MountTable::holds(const QString &mountPoint, const QString &path)
{
    if (!mountPoint.startsWith(u'/') || !path.startsWith(u'/'))
        return false;
    if (mountPoint == QLatin1String("/"))
        return true;
    if (!path.startsWith(mountPoint))
        return false;
    return path.size() == mountPoint.size() || path.at(mountPoint.size()) == u'/';
}

std::optional<MountEntry> MountTable::mountOf(const QString &path) const
{
    const MountEntry *best = nullptr;
    for (const MountEntry &entry : m_visible) {
        if (holds(entry.mountPoint, path) &&
            (!best || entry.mountPoint.size() > best->mountPoint.size()))
            best = &entry;
    }
    if (!best)
        return std::nullopt;
    return *best;
}

void MountTable::computeVisible()
{
    QHash<int, int> parentOf;
    for (const MountEntry &entry : m_entries)
        parentOf.insert(entry.id, entry.parentId);
    const auto isAncestor = [&parentOf](int candidate, int id) {
        // Bounded walk: a malformed table may contain cycles.
        for (qsizetype steps = 0; steps <= parentOf.size(); ++steps) {
            const auto parent = parentOf.constFind(id);
            if (parent == parentOf.cend() || *parent == id)
                return false;
            if (*parent == candidate)
                return true;
            id = *parent;
        }
        return false;
    };

    // A mount is reachable unless something mounted after it sits on its mount point or on a
    // folder above it; the mounts it hangs from are listed before it and do not hide it.
    m_visible.clear();
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const MountEntry &entry = m_entries[i];
        bool hidden = false;
        for (qsizetype j = i + 1; j < m_entries.size() && !hidden; ++j) {
            const MountEntry &later = m_entries[j];
            hidden = holds(later.mountPoint, entry.mountPoint) && later.id != entry.id &&
                     !isAncestor(later.id, entry.id);
        }
        if (!hidden)
            m_visible << entry;
    }
}
