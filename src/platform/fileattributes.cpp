#include "fileattributes.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

OwnerWrite makeOwnerWritable(const QString &path, QString *reason)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return OwnerWrite::NoFile;
    if (info.st_mode & S_IWUSR)
        return OwnerWrite::AlreadySet;
    if (::chmod(name.constData(), (info.st_mode & 07777) | S_IWUSR) == 0)
        return OwnerWrite::Added;
    if (reason)
        *reason = QString::fromLocal8Bit(std::strerror(errno));
    return OwnerWrite::Failed;
}
