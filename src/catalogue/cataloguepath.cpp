#include "cataloguepath.h"

QString cataloguePath(const QString &folder)
{
    QString path = folder;
    if (!path.endsWith(u'/'))
        path += u'/';
    return path + QLatin1String(kCatalogueFileName);
}
