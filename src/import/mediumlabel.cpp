#include "mediumlabel.h"

#include "importtexts.h"

#include <optional>

namespace {

QLatin1StringView prefix()
{
    return QLatin1StringView(ImportTexts::kGeneratedLabelPrefix);
}

// Decimal digit strings without leading zeros: the longer is the larger, equal lengths compare
// as text.
bool numberLess(const QString &a, const QString &b)
{
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

QString plusOne(QString digits)
{
    qsizetype i = digits.size() - 1;
    for (; i >= 0 && digits.at(i) == u'9'; --i)
        digits[i] = u'0';
    if (i < 0)
        digits.prepend(u'1');
    else
        digits[i] = QChar(digits.at(i).unicode() + 1);
    return digits;
}

// The number of a generated label as digits without leading zeros; nullopt for other labels.
std::optional<QString> generatedNumber(const QString &label)
{
    if (!label.startsWith(prefix(), Qt::CaseInsensitive))
        return std::nullopt;
    qsizetype start = prefix().size();
    qsizetype end = start;
    while (end < label.size() && label.at(end) >= u'0' && label.at(end) <= u'9')
        ++end;
    while (start < end && label.at(start) == u'0')
        ++start;
    return start == end ? QStringLiteral("0") : label.mid(start, end - start);
}

} // namespace

namespace MediumLabel {

QString nextGenerated(const QStringList &labels)
{
    QString highest = QStringLiteral("0");
    for (const QString &label : labels) {
        const std::optional<QString> number = generatedNumber(label);
        if (number && numberLess(highest, *number))
            highest = *number;
    }
    return prefix() + plusOne(highest);
}

QString knownLabel(const QString &serialLabel, const QString &driveLabel, const QString &comment)
{
    if (!serialLabel.isEmpty())
        return serialLabel;
    if (!driveLabel.isEmpty())
        return driveLabel;
    return comment;
}

} // namespace MediumLabel
