#pragma once

#include "gridcolumns.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

struct CatalogueRecord;
struct RecordView;

/// The rows of the catalogue grid, kept compact: per row the key as a number, the texts that
/// change from row to row as one run of UTF-8 in a shared buffer, and the texts that repeat over
/// many rows (genre, folder, state word, medium label) once per distinct text. The texts are
/// the ones the grid shows: a record's row is made by MettiDati.
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
    /// Appends the row of a record as the catalogue file hands it over (MettiDati).
    void append(const RecordView &record);
    /// Appends a row of texts; a Key cell that is not a decimal number gives a row without key.
    void append(const GridRow &row);
    /// Appends every row of `other`, as it is.
    void append(const GridRows &other);

    /// Text of one cell; `row` must be in range.
    QString text(int row, Column column) const;
    /// The UTF-8 of one cell's text (see text()); `row` must be in range, `column` not Key.
    QByteArrayView utf8(int row, Column column) const;
    /// The record key of a row; nullopt for a row without key. `row` must be in range.
    std::optional<qint64> key(int row) const;
    /// Every text of a row.
    GridRow row(int row) const;
    /// Replaces the text of one cell; `row` must be in range.
    void setText(int row, Column column, const QString &text);

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

    struct Row
    {
        qint64 key = 0;
        qsizetype texts = 0;    ///< start of the inline columns in m_texts
        quint32 pooled[4] = {}; ///< genre, folder, state word, medium label
    };

    void appendRow(Row row, const QByteArrayView (&inlineTexts)[7]);
    QByteArrayView inlineText(const Row &row, int index) const;

    std::vector<Row> m_rows;
    Bytes m_texts;
    Pool m_pools[4];
};
