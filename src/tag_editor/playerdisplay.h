#pragma once

#include <QString>

// The numbers and texts of the tag editor's player display, kept apart from the widgets.

namespace PlayerDisplay {

/// Player units per second: the player reports lengths and positions in these.
inline constexpr double kUnitsPerSecond = 44305.7023255814;

/// Player units as minutes and seconds, "mm:ss": the whole seconds of `units` (a value within
/// half a unit of a whole second counts as that second), minutes and the rest each with a
/// leading "0" when they have one digit. Minutes have no upper limit
/// ("125:00"); a negative value counts as 0.
QString timeText(qint64 units);

/// `units` / 100 rounded to the nearest whole number, an exact half to the even one: the seek
/// bar's maximum for a length and its mark for a position. Values beyond the range of int are
/// clamped to it.
int seekBarValue(qint64 units);

/// The position in player units that a seek bar value stands for.
qint64 unitsOfSeekBar(int value);

/// The volume caption: `percent` in decimal followed by "%".
QString volumeText(int percent);

} // namespace PlayerDisplay
