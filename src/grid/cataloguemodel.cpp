#include "cataloguemodel.h"

CatalogueModel::CatalogueModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_headerCells(GridHeader::cells(GridHeader::formatString(GridHeader::Kind::Full)))
{}

int CatalogueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : recordCount();
}

int CatalogueModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CatalogueModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::DisplayRole)
        return m_rows.text(index.row(), static_cast<Column>(index.column()));
    return {};
}

QVariant CatalogueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headerCells.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return GridHeader::label(m_headerCells.at(section));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

bool CatalogueModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > recordCount())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    m_rows.erase(row, count);
    endRemoveRows();
    return true;
}

std::optional<qint64> CatalogueModel::key(int r) const
{
    if (r < 0 || r >= recordCount())
        return std::nullopt;
    return m_rows.key(r);
}

int CatalogueModel::rowOfKey(qint64 key) const
{
    for (int r = 0; r < recordCount(); ++r) {
        if (m_rows.key(r) == key)
            return r;
    }
    return -1;
}

QString CatalogueModel::cell(int r, Column column) const
{
    if (r < 0 || r >= recordCount())
        return {};
    return m_rows.text(r, column);
}

GridRow CatalogueModel::row(int r) const
{
    GridRow texts;
    for (int column = 0; column < kColumnCount; ++column)
        texts[column] = m_rows.text(r, static_cast<Column>(column));
    return texts;
}

CatalogueRecord CatalogueModel::record(int r) const
{
    return m_rows.record(r);
}

void CatalogueModel::setRecord(int r, const CatalogueRecord &record)
{
    if (r < 0 || r >= recordCount())
        return;
    m_rows.setRecord(r, record);
    emit dataChanged(index(r, 0), index(r, kColumnCount - 1), {Qt::DisplayRole});
}

void CatalogueModel::setRows(GridRows rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void CatalogueModel::reorderRows(const std::vector<int> &order)
{
    beginResetModel();
    m_rows.reorder(order);
    endResetModel();
}

void CatalogueModel::clear()
{
    setRows(GridRows());
}

void CatalogueModel::setHeader(GridHeader::Kind kind)
{
    const QStringList cells = GridHeader::cells(GridHeader::formatString(kind));
    if (cells == m_headerCells)
        return;
    m_headerCells = cells;
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

QString CatalogueModel::headerCell(int column) const
{
    return m_headerCells.value(column);
}
