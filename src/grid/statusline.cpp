#include "statusline.h"

#include "gridtexts.h"
#include "inspection/statewords.h"
#include "platform/volumes.h"

QString statusLineText(const GridRow &row, Volumes &volumes)
{
    const QString &state = row[State];
    const QString mediumWord = state == QLatin1String(StateWords::kOk)
                                   ? QString::fromLatin1(StateWords::kHardDisk)
                                   : state.toUpper();
    QString drive;
    if (const auto volume = volumes.volumeOf(row[Folder]))
        drive = volume->mountPoint;
    return row[FileName] + QLatin1String(GridTexts::kStatusDash) + mediumWord +
           QLatin1String(GridTexts::kStatusOpen) + drive + QLatin1String(GridTexts::kStatusClose) +
           row[MediumLabel].toUpper();
}
