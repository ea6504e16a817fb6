#pragma once

#include <QStandardPaths>
#include <QString>

/// The path of a command-line tool, or an empty string. The file-system tools live in sbin,
/// which an ordinary user's PATH may leave out.
inline QString findTool(const QString &name)
{
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/bin"});
    return path;
}
