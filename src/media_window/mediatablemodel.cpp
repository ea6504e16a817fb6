#include "mediatablemodel.h"

#include "mediawindowtexts.h"

#include "inspection/sizetext.h"
#include "maintenance/mediumcommands.h"
#include "utf8text.h"

#include <QLocale>

#include <iterator>
#include <limits>

using namespace MediaWindowTexts;

void MediaTableModel::setMedia(const QList<Medium> &media, const QList<VolumeInfo> &volumes)
{
    beginResetModel();
    m_rows.clear();
    for (const Medium &medium : media)
        m_rows.append({medium, mountPointOf(medium, volumes)});
    endResetModel();
}

int MediaTableModel::rowOf(const QString &supporto) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        const QString &serial = m_rows.at(row).medium.supporto;
        if (serial == supporto && serial.isNull() == supporto.isNull())
            return row;
    }
    return -1;
}

int MediaTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int MediaTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(std::size(kHeaders));
}

QString MediaTableModel::cellText(const Row &row, int column) const
{
    const Medium &medium = row.medium;
    switch (column) {
    case LabelColumn:
        return medium.labelD;
    case SerialColumn:
        return medium.supporto;
    case TypeColumn:
        return medium.driveType.isEmpty() ? text(kNoType) : medium.driveType;
    case FilesColumn:
        return QLocale().toString(medium.files);
    case SizeColumn:
        return readableSize(medium.kilobytes);
    case ConnectedColumn:
        return row.mountPoint ? text(kConnected).arg(*row.mountPoint) : text(kNotConnected);
    default:
        return {};
    }
}

QVariant MediaTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(row, index.column());
    case kSortRole:
        if (index.column() == FilesColumn)
            return row.medium.files;
        if (index.column() == SizeColumn)
            return row.medium.kilobytes;
        // Serials are signed numbers: "-7" before "12" before "3" would read as an error.
        if (index.column() == SerialColumn) {
            bool number = false;
            const qlonglong serial = row.medium.supporto.toLongLong(&number);
            return number ? QVariant(serial) : QVariant(std::numeric_limits<qlonglong>::max());
        }
        // A medium of no type comes before the types, not among them by its dash.
        if (index.column() == TypeColumn)
            return row.medium.driveType;
        return cellText(row, index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == FilesColumn || index.column() == SizeColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant MediaTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return {};
    return text(kHeaders[section]);
}
