#pragma once

#include "gridcolumns.h"
#include "gridheader.h"
#include "gridrows.h"

#include "catalogue/cataloguerecord.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <optional>
#include <vector>

/// The catalogue grid: the working copy of the catalogue that every window reads. Model row r
/// is the r-th record shown, held as the record itself; its cells show the texts MettiDati
/// makes of it. The header is the horizontal header, not a row.
class CatalogueModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit CatalogueModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    /// Removes `count` rows from `row` on; false when the range is outside the grid.
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    /// Number of record rows.
    int recordCount() const { return m_rows.size(); }
    /// The texts one row shows; `row` must be in range.
    GridRow row(int row) const;
    /// The record a row shows; `row` must be in range.
    CatalogueRecord record(int row) const;
    /// Makes a row inside the grid show another record.
    void setRecord(int row, const CatalogueRecord &record);
    /// The record key of a row; nullopt outside the grid or for a row without key.
    std::optional<qint64> key(int row) const;
    /// The row that shows a record key, or -1.
    int rowOfKey(qint64 key) const;
    /// Text of one cell; empty outside the grid.
    QString cell(int row, Column column) const;
    /// The UTF-8 of a cell's text, valid until the rows change; `row` must be inside the grid
    /// and `column` not Key.
    QByteArrayView cellUtf8(int row, Column column) const { return m_rows.utf8(row, column); }
    /// Replaces every row at once (one model reset).
    void setRows(GridRows rows);
    /// Puts the rows in a new order (one model reset): row i becomes the row that was at
    /// `order[i]`.
    void reorderRows(const std::vector<int> &order);
    /// Removes every row.
    void clear();

    /// Sets the header format text; the labels and the width cells follow it.
    void setHeader(GridHeader::Kind kind);
    /// The header cell of a column: its label followed by the blanks that fix its width.
    QString headerCell(int column) const;

private:
    GridRows m_rows;
    QStringList m_headerCells;
};
