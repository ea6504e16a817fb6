#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// The first size and place of a window on a screen that may be smaller than the window would
// like, a 1366x768 laptop screen say.

namespace ScreenFit {

/// The frame a window manager is expected to draw around a window, before the window is shown
/// and the real frame is known: a title bar and thin borders, with some room to spare.
inline constexpr QMargins kExpectedFrame{8, 32, 8, 8};

/// The client area for a window that would like `wanted` (its client area, at the position
/// `wanted` gives), with the frame `frame` around it, on a screen whose free area is
/// `available`: no larger than wanted, and shrunk, but never below `minimum`, so that it and
/// its frame fit `available`; then moved as little as possible so that the frame lies inside
/// `available` (its top left corner when it cannot fit).
QRect fit(const QRect &wanted, const QSize &minimum, const QRect &available,
          const QMargins &frame = kExpectedFrame);

/// Gives the top-level `window` its first size: `wanted`, fitted to the available area of the
/// screen it will open on (its parent's, or the primary screen). The layout's minimum size is
/// kept; whatever stretches (the grid, the lists) takes what is left.
void resizeToFit(QWidget *window, const QSize &wanted);

} // namespace ScreenFit
