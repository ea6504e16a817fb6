#pragma once

#include <QAbstractListModel>
#include <QStringList>

/// The found list of the disk search: the full names of the files found, one row each. The
/// search appends to list(); showNew() then tells the view about the new rows at once, so a
/// search through a large tree costs one notice per folder, not one per file.
class FoundFilesModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit FoundFilesModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    /// The entries, the ones not shown yet included. Only appending is allowed between
    /// showNew() and clear().
    QStringList &list() { return m_entries; }
    const QStringList &list() const { return m_entries; }
    /// Shows the entries appended since the last call as new rows.
    void showNew();
    /// Empties the list.
    void clear();

private:
    QStringList m_entries;
    qsizetype m_shown = 0;
};
