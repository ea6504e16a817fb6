#include "cataloguelock.h"

#include "cataloguetexts.h"

#include <QFileInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCatalogueLock, "tracklodge.catalogue.lock")

namespace {

QString lockPathOf(const QString &cataloguePath)
{
    const QString target = QFileInfo(cataloguePath).canonicalFilePath();
    return (target.isEmpty() ? cataloguePath : target) + QStringLiteral(".lock");
}

} // namespace

CatalogueLock::CatalogueLock(const QString &cataloguePath)
    : m_cataloguePath(cataloguePath)
    , m_lock(lockPathOf(cataloguePath))
{
    // By default a lock older than 30 seconds counts as abandoned even while its program
    // runs; only a program that is gone leaves an abandoned lock.
    m_lock.setStaleLockTime(0);
}

bool CatalogueLock::acquire()
{
    m_errorText.clear();
    if (m_lock.tryLock(0))
        return true;
    switch (m_lock.error()) {
    case QLockFile::LockFailedError: {
        qint64 pid = 0;
        QString host;
        QString program;
        m_lock.getLockInfo(&pid, &host, &program);
        m_errorText = QString::fromUtf8(CatalogueTexts::kInUse)
                          .arg(m_cataloguePath, QString::number(pid), host, m_lock.fileName());
        return false;
    }
    case QLockFile::PermissionError:
        qCWarning(lcCatalogueLock) << "no lock file can be written beside" << m_cataloguePath;
        return true;
    case QLockFile::NoError:
    case QLockFile::UnknownError:
        break;
    }
    m_errorText =
        QString::fromUtf8(CatalogueTexts::kCannotLock).arg(m_cataloguePath, m_lock.fileName());
    return false;
}
