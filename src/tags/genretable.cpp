#include "genretable.h"

QString genreName(int byte)
{
    if (byte < 0 || byte >= kGenreCount)
        return {};
    return QString::fromLatin1(kGenreNames[byte]);
}

QStringList genreNames()
{
    // Built once: choosers are filled every time a window opens.
    static const QStringList names = [] {
        QStringList list;
        list.reserve(kGenreCount);
        for (const char *name : kGenreNames)
            list.append(QString::fromLatin1(name));
        return list;
    }();
    return names;
}

int genreIndex(const QString &name)
{
    for (int i = 0; i < kGenreCount; ++i) {
        if (name == QLatin1String(kGenreNames[i]))
            return i;
    }
    return -1;
}

int genreByteOf(const QString &name)
{
    const int index = genreIndex(name);
    return index >= 0 ? index : kNoGenreByte;
}
