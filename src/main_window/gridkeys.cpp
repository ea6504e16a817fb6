#include "gridkeys.h"

#include <QAbstractItemView>
#include <QKeyEvent>

GridKeys::GridKeys(QAbstractItemView *grid)
    : QObject(grid)
    , m_grid(grid)
{
    grid->installEventFilter(this);
}

bool GridKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_grid || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool opens =
        key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_F2;
    if (!opens || key->modifiers() & ~Qt::KeypadModifier)
        return false;
    // The view would also report Return as an activation; the key is this object's alone.
    if (const QModelIndex current = m_grid->currentIndex(); current.isValid())
        emit openRequested(current);
    return true;
}
