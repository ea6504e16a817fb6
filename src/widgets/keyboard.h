#pragma once

#include <QList>

class QAbstractButton;
class QWidget;

/// Puts `chain` into the Tab chain in this order, each control after the one before it; the
/// controls outside the list keep their places after the last one. Hidden and disabled controls
/// keep their places and are skipped by Tab while they are so.
void setTabChain(const QList<QWidget *> &chain);

/// Makes Return and Enter run `button` when it has the focus, as they do in a dialog (outside
/// one a push button answers only Space).
void clickOnReturn(QAbstractButton *button);
