#include "gridexport.h"

#include "gridtexts.h"

QStringList GridExport::headerLabels()
{
    QStringList labels;
    for (const char *label : GridTexts::kHeaderLabels)
        labels << QString::fromUtf8(label);
    return labels;
}

QString GridExport::cellText(const GridRow &row, Column column)
{
    return column == Size ? row[column].trimmed() : row[column];
}

GridExport::Result GridExport::failure(const QString &path, const QString &reason)
{
    return {Outcome::Failed, QString::fromUtf8(GridTexts::kExportFailed).arg(path, reason)};
}
