#pragma once

#include "catalogue/medium.h"
#include "platform/volumes.h"

#include <QAbstractTableModel>
#include <QList>

#include <optional>

/// The media of the catalogue as the window lists them: one row per medium, six columns.
class MediaTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { LabelColumn, SerialColumn, TypeColumn, FilesColumn, SizeColumn, ConnectedColumn };
    /// The role by which a column sorts: the number for "Numero di serie" (a serial that is no
    /// number last), "File" and "Dimensione", the drive-type word (empty for none) for "Tipo",
    /// the shown text otherwise.
    static constexpr int kSortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    /// Replaces the rows (one model reset): `media` in their order, each "Collegato" when one of
    /// the mounted `volumes` has its serial.
    void setMedia(const QList<Medium> &media, const QList<VolumeInfo> &volumes);
    /// The medium of a row; `row` must be in range.
    const Medium &medium(int row) const { return m_rows.at(row).medium; }
    /// The row of the medium with serial `supporto`, or -1.
    int rowOf(const QString &supporto) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Row
    {
        Medium medium;
        std::optional<QString> mountPoint;
    };
    QString cellText(const Row &row, int column) const;

    QList<Row> m_rows;
};
