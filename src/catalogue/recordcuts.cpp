#include "recordcuts.h"

QString firstCharacters(const QString &text, qsizetype count)
{
    // No more units than characters wanted: nothing to cut.
    if (text.size() <= count)
        return text;
    qsizetype end = 0;
    for (qsizetype taken = 0; taken < count && end < text.size(); ++taken) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                          text.at(end + 1).isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return end == text.size() ? text : text.left(end);
}

QString recordText(const QString &text, qsizetype width)
{
    const QString cut = firstCharacters(text, width);
    qsizetype end = cut.size();
    while (end > 0 && cut.at(end - 1) == u' ')
        --end;
    return end == cut.size() ? cut : cut.left(end);
}
