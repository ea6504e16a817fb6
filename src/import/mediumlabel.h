#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The names of media: a medium (a volume, identified by its serial number) keeps the label it
// was first given; an unnamed one gets "TRACKLODGE_" and a number.

namespace MediumLabel {

/// The number of a generated label as decimal digits without leading zeros: the digits that
/// directly follow a case-insensitive "TRACKLODGE_" ("0" when no digit follows); nullopt when
/// the label does not start with that prefix (the underscore is a literal character).
std::optional<QString> generatedNumber(const QString &label);

/// The label for a new unnamed medium: "TRACKLODGE_" followed by one more than the numerically
/// highest number among the generated labels in `labels` (any others are ignored), in plain
/// decimal; "TRACKLODGE_1" when there is none. Numbers of any length are compared and
/// incremented exactly.
QString nextGenerated(const QStringList &labels);

/// The label of a medium from what is known about it, in this order, the first that is not
/// empty: the label of the medium's catalogued records (`serialLabel`), the label of its drive
/// (`driveLabel`), the comment of the file being catalogued. Empty when all three are: then the
/// medium gets a generated label.
QString knownLabel(const QString &serialLabel, const QString &driveLabel, const QString &comment);

} // namespace MediumLabel
