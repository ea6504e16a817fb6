#pragma once

#include <QString>

/// A UTF-8 literal (a text of one of the texts headers) as a QString.
inline QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}
