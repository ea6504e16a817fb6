#pragma once

#include <QLockFile>
#include <QString>

/// One program per catalogue: a lock file beside the catalogue (beside its final target when
/// the catalogue is a symbolic link, so that every way to it meets the same lock), named like
/// it with ".lock" added, holding the id of the process that uses it. A lock left behind by a
/// program that ended without releasing it (a crash) is taken over; the lock of a program that
/// runs is never taken, however long it has been held. Released when the object goes.
class CatalogueLock
{
public:
    /// A lock for the catalogue at `cataloguePath`; nothing is taken until acquire().
    explicit CatalogueLock(const QString &cataloguePath);
    CatalogueLock(const CatalogueLock &) = delete;
    CatalogueLock &operator=(const CatalogueLock &) = delete;

    /// Takes the lock without waiting. True when this program may use the catalogue: it holds
    /// the lock, or the folder takes no lock file at all (read-only media, where no program can
    /// change the catalogue either). False when another program holds it or the lock file
    /// cannot be written, with an Italian explanation naming the catalogue in errorText().
    bool acquire();
    /// Italian text of the last refusal; empty after a success.
    QString errorText() const { return m_errorText; }

private:
    QString m_cataloguePath;
    QLockFile m_lock;
    QString m_errorText;
};
