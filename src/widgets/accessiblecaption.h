#pragma once

#include <QLabel>
#include <QRegularExpression>
#include <QString>

/// Gives `control`, a text box, list, chooser or slider without a caption of its own, the
/// caption of `label` beside it: the label becomes its buddy and the label's text, without the
/// "&" of a shortcut, its accessible name, which screen readers read.
inline void captionBy(QLabel *label, QWidget *control)
{
    label->setBuddy(control);
    QString caption = label->text();
    caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    control->setAccessibleName(caption);
}
