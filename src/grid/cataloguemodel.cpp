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
        return row(index.row())[static_cast<size_t>(index.column())];
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
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    endRemoveRows();
    return true;
}

QString CatalogueModel::cell(int r, Column column) const
{
    if (r < 0 || r >= recordCount())
        return {};
    return row(r)[column];
}

void CatalogueModel::setCell(int r, Column column, const QString &text)
{
    if (r < 0 || r >= recordCount())
        return;
    m_rows[static_cast<size_t>(r)][column] = text;
    const QModelIndex at = index(r, column);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void CatalogueModel::appendRow(const GridRow &newRow)
{
    beginInsertRows({}, recordCount(), recordCount());
    m_rows.push_back(newRow);
    endInsertRows();
}

void CatalogueModel::setRows(std::vector<GridRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void CatalogueModel::clear()
{
    setRows({});
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
