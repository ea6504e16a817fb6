#include "playerdisplay.h"

#include "playertexts.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

namespace PlayerDisplay {

QString timeText(qint64 units)
{
    const double exact = static_cast<double>(std::max<qint64>(units, 0));
    auto seconds = static_cast<qint64>(exact / kUnitsPerSecond);
    // A whole number of seconds, rounded to whole units, can fall a fraction of a unit short
    // of its second (10 s is 443,057 units, 9.9999995 s): within half a unit it is that second.
    const double nearest = std::round(exact / kUnitsPerSecond);
    if (std::abs(exact - nearest * kUnitsPerSecond) <= 0.5)
        seconds = static_cast<qint64>(nearest);
    return twoDigits(seconds / 60) + QLatin1String(PlayerTexts::kTimeSeparator) +
           twoDigits(seconds % 60);
}

int seekBarValue(qint64 units)
{
    qint64 quotient = units / 100;
    const qint64 rest = units % 100;
    // Integer division truncates towards zero; move to the nearest, a half to the even one.
    if (rest > 50 || (rest == 50 && quotient % 2 != 0))
        ++quotient;
    else if (rest < -50 || (rest == -50 && quotient % 2 != 0))
        --quotient;
    return static_cast<int>(std::clamp<qint64>(quotient, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

qint64 unitsOfSeekBar(int value)
{
    return qint64(value) * 100;
}

QString volumeText(int percent)
{
    return QString::number(percent) + QLatin1String(PlayerTexts::kPercent);
}

} // namespace PlayerDisplay
