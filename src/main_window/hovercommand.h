#pragma once

#include "widgets/hovercontroller.h"

#include <QLabel>
#include <QPushButton>

/// A hover command of the main window's frames: the button over its face, as high as the
/// button, for the caller's layout.
inline QWidget *hoverCommand(HoverController &hover, QPushButton *button, QLabel *face)
{
    QWidget *pair = hover.addCommand(button, face);
    pair->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    face->setMinimumHeight(button->sizeHint().height());
    return pair;
}
