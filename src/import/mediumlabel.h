#pragma once

#include <QString>
#include <QStringList>

// The names of media: a medium (a volume, identified by its serial number) keeps the label it
// was first given; an unnamed one gets "TRACKLODGE_" and a number.

namespace MediumLabel {

/// The label for a new unnamed medium: "TRACKLODGE_" followed by one more than the numerically
/// highest number among the generated labels in `labels`, in plain decimal; "TRACKLODGE_1" when
/// there is none. A generated label starts with "TRACKLODGE_" in any letter case (the
/// underscore is a literal character); its number is the digits that directly follow, 0 when
/// none do. Other labels are ignored. Numbers of any length are compared and incremented
/// exactly.
QString nextGenerated(const QStringList &labels);

/// The label of a medium from what is known about it, in this order, the first that is not
/// empty: the label of the medium's catalogued records (`serialLabel`), the label of its drive
/// (`driveLabel`), the comment of the file being catalogued. Empty when all three are: then the
/// medium gets a generated label.
QString knownLabel(const QString &serialLabel, const QString &driveLabel, const QString &comment);

} // namespace MediumLabel
