#pragma once

// Header-only: the player library, below the windows' library, paints its buttons with it too.

#include <QColor>
#include <QPalette>
#include <QWidget>

/// Paints the background of `widget` (a button's face included) in `colour`; the rest of its
/// palette is kept.
inline void setBackColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
