#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

/// The whole contents of a file; empty when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// What `run` returns, run where a file cannot grow beyond `bytes` (as on a full disk; no limit
/// when negative), with the signal of such a write ignored; the limit and handler come back after.
template <typename Run> auto withFileSizeLimit(qint64 bytes, Run run)
{
    rlimit original{}, limited{};
    if (::getrlimit(RLIMIT_FSIZE, &original) != 0)
        qFatal("cannot read the file-size limit");
    limited = original;
    if (bytes >= 0)
        limited.rlim_cur = static_cast<rlim_t>(bytes);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    if (::setrlimit(RLIMIT_FSIZE, &limited) != 0)
        qFatal("cannot set the file-size limit");
    const auto result = run();
    ::setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, handler);
    return result;
}

/// A digest of a file's contents, to tell whether it was written.
inline QByteArray fileDigest(const QString &path)
{
    return QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256);
}

/// The permission bits of a file (links followed), or -1 when there is none.
inline int permissionBits(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<int>(info.st_mode & 07777);
}
