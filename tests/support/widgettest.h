#pragma once

// Helpers for tests of windows, header-only so that any test linking the widgets can use them.

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAccessible>
#include <QComboBox>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

/// The child of `parent` named `name`; stops the test program when there is none.
template <typename T = QWidget> T *childNamed(const QObject *parent, const char *name)
{
    T *child = parent->findChild<T *>(QString::fromLatin1(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}

/// The text a control shows as its caption: a label's or a button's text, a group box's title,
/// a line edit's contents; empty for any other control.
inline QString captionOf(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    if (auto *box = qobject_cast<QGroupBox *>(widget))
        return box->title();
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    return {};
}

/// Moves the pointer to `at` (in `window`'s coordinates), through the window as the window
/// system does: the widget on top at that point takes the move.
inline void pointAt(QWidget *window, const QPoint &at)
{
    // The pointer's own position too, which a window reads when it looks where the pointer is.
    QCursor::setPos(window->mapToGlobal(at));
    QTest::mouseMove(window->windowHandle(), at);
}

/// Moves the pointer to the middle of `widget` through its window.
inline void pointAt(QWidget *widget)
{
    pointAt(widget->window(), widget->mapTo(widget->window(), widget->rect().center()));
}

/// Runs the hover command whose face is `face` as a person does: the pointer moves to the middle
/// of the face, which shows the button, and clicks there; whatever lies on top takes the click.
inline void clickCommand(QWidget *face)
{
    QWidget *window = face->window();
    const QPoint at = face->mapTo(window, face->rect().center());
    // The pointer comes from next door, as a hand moves it, and rests before the click.
    pointAt(window, at - QPoint(1, 0));
    pointAt(window, at);
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
}

/// What a screen reader reads for `widget`: its accessible name.
inline QString accessibleName(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

/// The objectNames of the shown controls of `window` that a screen reader could not read by a
/// caption: a text box, list, chooser or slider without an accessible name, and any control
/// read by its objectName where its caption says something else. The grid is read by its
/// headers and cells, a scroll bar by its role.
inline QStringList controlsWithoutCaption(QWidget *window)
{
    QStringList found;
    const QList<QWidget *> controls = window->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (!control->isVisibleTo(window) || qobject_cast<QTableView *>(control) ||
            qobject_cast<QScrollBar *>(control))
            continue;
        const QString name = accessibleName(control);
        const bool box =
            qobject_cast<QLineEdit *>(control) || qobject_cast<QAbstractItemView *>(control) ||
            qobject_cast<QComboBox *>(control) || qobject_cast<QAbstractSlider *>(control);
        if ((box && name.isEmpty()) ||
            (!name.isEmpty() && name == control->objectName() && name != captionOf(control)))
            found << control->objectName();
    }
    return found;
}

/// The objectNames of the controls of `window` that Tab visits now, in order, from the first
/// after the window itself: shown, enabled and taking the focus by Tab; a control whose focus
/// goes to another (an editable chooser's text box) is not a stop of its own. A hover command is
/// one stop, named by its face, whether its button shows or not. A group of exclusive options
/// is one stop, at the option chosen or, with none chosen, the first, as Qt makes it once the
/// focus has been in the group.
inline QStringList tabChain(QWidget *window)
{
    QStringList chain;
    const QWidget *groupParent = nullptr;
    for (QWidget *w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (w->window() != window || !w->isVisibleTo(window) || !w->isEnabled() || w->focusProxy())
            continue;
        auto *option = qobject_cast<QAbstractButton *>(w);
        if (option && option->isCheckable() && option->autoExclusive()) {
            if (w->parentWidget() == groupParent)
                continue;
            QAbstractButton *stop = nullptr;
            const QList<QAbstractButton *> group =
                w->parentWidget()->findChildren<QAbstractButton *>(Qt::FindDirectChildrenOnly);
            for (QAbstractButton *b : group) {
                if (b->isCheckable() && b->autoExclusive() && (!stop || b->isChecked()))
                    stop = b;
                if (b->isChecked())
                    break;
            }
            groupParent = w->parentWidget();
            chain << stop->objectName();
            continue;
        }
        // A hover command's button lies over its face, both alone in one widget.
        const QObjectList siblings = w->parentWidget()->children();
        auto *face = qobject_cast<QLabel *>(siblings.value(siblings.indexOf(w) - 1));
        const bool commandButton = qobject_cast<QPushButton *>(w) && face && siblings.size() == 3;
        if (commandButton || (w->focusPolicy() & Qt::TabFocus)) {
            const QString name = commandButton ? face->objectName() : w->objectName();
            if (chain.isEmpty() || chain.constLast() != name)
                chain << name;
        }
    }
    return chain;
}
