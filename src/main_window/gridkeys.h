#pragma once

#include <QModelIndex>
#include <QObject>

class QAbstractItemView;

/// The keys that open a record from the catalogue grid: Return, Enter or F2 on the grid's
/// current cell asks for its row to be opened, as a double click does. Without a current cell
/// the keys do nothing; every other key goes on to the grid.
class GridKeys : public QObject
{
    Q_OBJECT

public:
    /// Watches the key presses of `grid`, which owns the object.
    explicit GridKeys(QAbstractItemView *grid);

signals:
    /// The row of `index`, the grid's current cell, is to be opened.
    void openRequested(const QModelIndex &index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractItemView *m_grid;
};
