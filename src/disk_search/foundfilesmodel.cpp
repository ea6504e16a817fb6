#include "foundfilesmodel.h"

FoundFilesModel::FoundFilesModel(QObject *parent)
    : QAbstractListModel(parent)
{}

int FoundFilesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown);
}

QVariant FoundFilesModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_shown)
        return {};
    return m_entries.at(index.row());
}

void FoundFilesModel::showNew()
{
    if (m_entries.size() <= m_shown)
        return;
    beginInsertRows(QModelIndex(), static_cast<int>(m_shown),
                    static_cast<int>(m_entries.size() - 1));
    m_shown = m_entries.size();
    endInsertRows();
}

void FoundFilesModel::clear()
{
    beginResetModel();
    m_entries.clear();
    m_shown = 0;
    endResetModel();
}
