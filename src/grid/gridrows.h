#pragma once

#include "gridcolumns.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <vector>

struct CatalogueRecord;
struct RecordView;

/// The rows of the catalogue grid: per row the record it shows, as the catalogue file holds it
/// (the key, the twelve fields, each a text or NULL), from which the shown texts are made
/// (see text()). Kept compact: the key as a number, the fields that change from row to row as one
/// run of UTF-8 in a shared buffer, and the fields that repeat over many rows (genre, folder,
/// state word, medium label, medium serial) once per distinct text.
class GridRows
{
public:
    GridRows();
    ~GridRows();
    GridRows(GridRows &&) noexcept;
    GridRows &operator=(GridRows &&) noexcept;
    GridRows(const GridRows &) = delete;
    GridRows &operator=(const GridRows &) = delete;

    /// Number of rows.
    int size() const { return static_cast<int>(m_rows.size()); }
    /// Appends the row of a record as the catalogue file hands it over.
    void append(const RecordView &record);
    /// Appends the row of a record.
    void append(const CatalogueRecord &record);
    /// Appends every row of `other`, as it is.
    void append(const GridRows &other);

    /// The record of a row; `row` must be in range.
    CatalogueRecord record(int row) const;
    /// The record key of a row; `row` must be in range.
    qint64 key(int row) const { return m_rows[static_cast<size_t>(row)].key; }
    /// Makes a row show another record; `row` must be in range.
    void setRecord(int row, const CatalogueRecord &record);

    /// The text a cell shows (MettiDati): title, artist, album, year and comment without their
    /// trailing blanks, every other field as stored, a NULL field as one blank, the key as
    /// decimal text; `row` must be in range.
    QString text(int row, Column column) const;
    /// The UTF-8 of the text a cell shows (see text()); `row` must be in range, `column` not
    /// Key.
    QByteArrayView utf8(int row, Column column) const;

    /// Removes `count` rows from `first` on; the range must be inside.
    void erase(int first, int count);
    /// Puts the rows in a new order: row i becomes the row that was at `order[i]` (a
    /// permutation of every row).
    void reorder(const std::vector<int> &order);

private:
    // Texts in UTF-8, each as its length and its bytes, one after the other.
    using Bytes = std::vector<char>;

    // One distinct text per index, shared by every row that shows it.
    class Pool
    {
    public:
        quint32 intern(QByteArrayView utf8);
        QByteArrayView at(quint32 index) const;

    private:
        void grow();

        Bytes m_bytes;
        std::vector<qsizetype> m_starts; ///< where each text starts in m_bytes
        std::vector<quint32> m_slots;    ///< hash table of text index + 1, 0 for free
        // Rows come in runs of one folder, label and so on: the last text is checked first.
        quint32 m_last = 0;
    };

    static constexpr int kInlineCount = 7;
    static constexpr int kPoolCount = 5;

    struct Row
    {
        qint64 key = 0;
        quint32 texts = 0;               ///< start of the inline fields in m_texts
        quint32 pooled[kPoolCount] = {}; ///< genre, folder, state, label, serial
    };

    // The fields of one record in table order, a null view for NULL.
    using Fields = std::array<QByteArrayView, 12>;

    void setFields(Row &row, const Fields &fields);
    Fields fields(const Row &row) const;
    QByteArrayView field(const Row &row, int field) const;

    std::vector<Row> m_rows;
    Bytes m_texts;
    Pool m_pools[kPoolCount];
};
