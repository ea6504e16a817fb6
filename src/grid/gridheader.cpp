#include "gridheader.h"

#include "gridtexts.h"

namespace GridHeader {

QString formatString(Kind kind)
{
    QStringList cells;
    for (int c = 0; c < kColumnCount; ++c) {
        int blanks = GridTexts::kHeaderBlanks[c];
        if (kind == Kind::Narrow && c == Folder)
            --blanks;
        cells << u'<' + QString::fromUtf8(GridTexts::kHeaderLabels[c]) + QString(blanks, u' ');
    }
    return cells.join(u'|');
}

QStringList cells(const QString &format)
{
    QStringList result = format.split(u'|');
    for (QString &cell : result) {
        if (cell.startsWith(u'<') || cell.startsWith(u'>') || cell.startsWith(u'^'))
            cell.remove(0, 1);
    }
    return result;
}

QString label(const QString &cell)
{
    qsizetype end = cell.size();
    while (end > 0 && cell.at(end - 1) == u' ')
        --end;
    return cell.left(end);
}

} // namespace GridHeader
