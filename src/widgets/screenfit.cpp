#include "screenfit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// The screen a top-level widget opens on: its own once it has one, else its parent's.
QScreen *screenOf(const QWidget *window)
{
    if (const QWidget *parent = window->parentWidget())
        return parent->window()->screen();
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

// Moves the span [start, start + length) inside [low, high) as little as possible; a span
// longer than the room starts at `low`.
int placeInside(int start, int length, int low, int high)
{
    return std::max(low, std::min(start, high - length));
}

} // namespace

namespace ScreenFit {

QRect fit(const QRect &wanted, const QSize &minimum, const QRect &available, const QMargins &frame)
{
    const QSize room = available.size().shrunkBy(frame);
    const QSize size = wanted.size().boundedTo(room).expandedTo(minimum);
    const QRect framed = QRect(wanted.topLeft(), size).marginsAdded(frame);
    const int left = placeInside(framed.left(), framed.width(), available.left(),
                                 available.left() + available.width());
    const int top = placeInside(framed.top(), framed.height(), available.top(),
                                available.top() + available.height());
    return QRect(QPoint(left + frame.left(), top + frame.top()), size);
}

void resizeToFit(QWidget *window, const QSize &wanted)
{
    const QScreen *screen = screenOf(window);
    if (!screen) {
        window->resize(wanted);
        return;
    }
    const QRect available = screen->availableGeometry();
    // Only the size is set: the window manager places a window that has no position of its own.
    const QRect fitted = fit(
        QRect(available.topLeft() + QPoint(kExpectedFrame.left(), kExpectedFrame.top()), wanted),
        window->minimumSizeHint(), available);
    window->resize(fitted.size());
}

} // namespace ScreenFit
