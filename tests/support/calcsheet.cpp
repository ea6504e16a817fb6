#include "calcsheet.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QUrl>
#include <QXmlStreamReader>

namespace {

constexpr int kTimeoutMs = 180000;
// Columns whose widths are read; a sheet repeats its last column style to the format's end.
constexpr int kReadColumns = 64;

struct Styles
{
    QHash<QString, bool> boldCells;
    QHash<QString, double> columnWidths;
};

double centimetres(QStringView length)
{
    static const QList<std::pair<QString, double>> units = {{QStringLiteral("cm"), 1.0},
                                                            {QStringLiteral("mm"), 0.1},
                                                            {QStringLiteral("in"), 2.54},
                                                            {QStringLiteral("pt"), 2.54 / 72}};
    for (const auto &[unit, factor] : units) {
        if (length.endsWith(unit))
            return length.chopped(unit.size()).toDouble() * factor;
    }
    return 0;
}

int repeats(const QXmlStreamAttributes &attributes, QLatin1String name)
{
    const QStringView value = attributes.value(name);
    return value.isEmpty() ? 1 : value.toInt();
}

bool isEmpty(const CalcCell &cell)
{
    return cell.type.isEmpty() && cell.text.isEmpty() && cell.formula.isEmpty();
}

// The text of a cell: its paragraphs, with the elements that stand for blanks, tabs and line
// breaks written out. The reader stands on the cell's start.
QString cellText(QXmlStreamReader &xml)
{
    QString text;
    int paragraphs = 0;
    int depth = 1;
    int inParagraph = 0;
    int inAnnotation = 0;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            ++depth;
            const QStringView name = xml.qualifiedName();
            if (name == u"office:annotation")
                ++inAnnotation;
            if (inAnnotation)
                break;
            if (name == u"text:p" || name == u"text:h") {
                if (paragraphs++ > 0)
                    text += u'\n';
                ++inParagraph;
            } else if (name == u"text:s") {
                text += QString(repeats(xml.attributes(), QLatin1String("text:c")), u' ');
            } else if (name == u"text:tab") {
                text += u'\t';
            } else if (name == u"text:line-break") {
                text += u'\n';
            }
            break;
        }
        case QXmlStreamReader::EndElement: {
            --depth;
            const QStringView name = xml.qualifiedName();
            if (name == u"office:annotation")
                --inAnnotation;
            else if (!inAnnotation && (name == u"text:p" || name == u"text:h"))
                --inParagraph;
            break;
        }
        case QXmlStreamReader::Characters:
            if (inParagraph > 0 && !inAnnotation)
                text += xml.text();
            break;
        default:
            break;
        }
    }
    return text;
}

void readStyle(QXmlStreamReader &xml, Styles &styles)
{
    const QString name = xml.attributes().value(QLatin1String("style:name")).toString();
    const QString family = xml.attributes().value(QLatin1String("style:family")).toString();
    while (xml.readNextStartElement()) {
        const QXmlStreamAttributes attributes = xml.attributes();
        if (family == u"table-cell" && xml.qualifiedName() == u"style:text-properties")
            styles.boldCells[name] = attributes.value(QLatin1String("fo:font-weight")) == u"bold";
        else if (family == u"table-column" &&
                 xml.qualifiedName() == u"style:table-column-properties")
            styles.columnWidths[name] =
                centimetres(attributes.value(QLatin1String("style:column-width")));
        xml.skipCurrentElement();
    }
}

struct TableState
{
    QStringList columnCellStyles;
    int emptyRows = 0;
};

// The rows and columns inside the element at the reader: the table or a group of its rows or
// columns.
void readTable(QXmlStreamReader &xml, const Styles &styles, CalcSheet &sheet, TableState &table)
{
    QStringList &columnCellStyles = table.columnCellStyles;
    int &emptyRows = table.emptyRows;
    while (xml.readNextStartElement()) {
        const QStringView element = xml.qualifiedName();
        const QXmlStreamAttributes attributes = xml.attributes();
        if (element == u"table:table-column") {
            const int count = repeats(attributes, QLatin1String("table:number-columns-repeated"));
            for (int i = 0; i < count && sheet.columnWidths.size() < kReadColumns; ++i) {
                sheet.columnWidths << styles.columnWidths.value(
                    attributes.value(QLatin1String("table:style-name")).toString());
                columnCellStyles
                    << attributes.value(QLatin1String("table:default-cell-style-name")).toString();
            }
            xml.skipCurrentElement();
        } else if (element == u"table:table-row") {
            const int rowCount = repeats(attributes, QLatin1String("table:number-rows-repeated"));
            QList<CalcCell> row;
            int emptyCells = 0;
            while (xml.readNextStartElement()) {
                const QXmlStreamAttributes cellAttributes = xml.attributes();
                const int cellCount =
                    repeats(cellAttributes, QLatin1String("table:number-columns-repeated"));
                CalcCell cell;
                cell.type = cellAttributes.value(QLatin1String("office:value-type")).toString();
                cell.formula = cellAttributes.value(QLatin1String("table:formula")).toString();
                QString style = cellAttributes.value(QLatin1String("table:style-name")).toString();
                if (style.isEmpty())
                    style = columnCellStyles.value(row.size() + emptyCells);
                cell.bold = styles.boldCells.value(style);
                cell.text = cellText(xml);
                if (isEmpty(cell)) {
                    emptyCells += cellCount;
                    continue;
                }
                for (; emptyCells > 0; --emptyCells)
                    row << CalcCell{};
                for (int i = 0; i < cellCount; ++i)
                    row << cell;
            }
            if (row.isEmpty()) {
                emptyRows += rowCount;
                continue;
            }
            for (; emptyRows > 0; --emptyRows)
                sheet.rows << QList<CalcCell>{};
            for (int i = 0; i < rowCount; ++i)
                sheet.rows << row;
        } else if (element == u"table:table-header-rows" || element == u"table:table-rows" ||
                   element == u"table:table-columns" || element == u"table:table-header-columns") {
            // Groups of rows or columns: read what they hold as if it stood here.
            readTable(xml, styles, sheet, table);
        } else {
            xml.skipCurrentElement();
        }
    }
}

void readDocument(QXmlStreamReader &xml, CalcSheet &sheet)
{
    Styles styles;
    bool tableRead = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView element = xml.qualifiedName();
        if (element == u"style:style") {
            readStyle(xml, styles);
        } else if (element == u"table:table" && !tableRead) {
            sheet.name = xml.attributes().value(QLatin1String("table:name")).toString();
            TableState table;
            readTable(xml, styles, sheet, table);
            tableRead = true;
        } else if (element == u"table:database-range" &&
                   xml.attributes().value(QLatin1String("table:display-filter-buttons")) ==
                       u"true") {
            sheet.filterRange =
                xml.attributes().value(QLatin1String("table:target-range-address")).toString();
        }
    }
    if (xml.hasError())
        sheet.error = xml.errorString();
    else if (!tableRead)
        sheet.error = QStringLiteral("the document holds no sheet");
}

CalcSheet failed(const QString &error)
{
    CalcSheet sheet;
    sheet.error = error;
    return sheet;
}

} // namespace

QString CalcReader::csvAsText(int columns)
{
    // Field separator ";" (59), text delimiter '"' (34), UTF-8 (76), from the first line; then
    // each column's number with the type 2, text.
    QStringList types;
    for (int c = 1; c <= columns; ++c)
        types << QStringLiteral("%1/2").arg(c);
    return QStringLiteral("CSV:59,34,76,1,") + types.join(u'/');
}

QString CalcReader::version()
{
    QProcess soffice;
    soffice.start(QStringLiteral("soffice"), {QStringLiteral("-env:UserInstallation=") +
                                                  QUrl::fromLocalFile(m_profile.path()).toString(),
                                              QStringLiteral("--version")});
    if (!soffice.waitForFinished(kTimeoutMs) || soffice.exitStatus() != QProcess::NormalExit)
        return {};
    return QString::fromLocal8Bit(soffice.readAllStandardOutput()).trimmed();
}

CalcSheet CalcReader::read(const QString &path, const QString &inputFilter)
{
    QTemporaryDir out;
    QStringList arguments{QStringLiteral("-env:UserInstallation=") +
                              QUrl::fromLocalFile(m_profile.path()).toString(),
                          QStringLiteral("--headless"), QStringLiteral("--norestore")};
    if (!inputFilter.isEmpty())
        arguments << QStringLiteral("--infilter=") + inputFilter;
    arguments << QStringLiteral("--convert-to") << QStringLiteral("fods")
              << QStringLiteral("--outdir") << out.path() << path;
    QProcess soffice;
    soffice.setProcessChannelMode(QProcess::MergedChannels);
    soffice.start(QStringLiteral("soffice"), arguments);
    if (!soffice.waitForFinished(kTimeoutMs) || soffice.exitStatus() != QProcess::NormalExit ||
        soffice.exitCode() != 0)
        return failed(
            QStringLiteral("soffice (package libreoffice-calc-nogui) did not convert "
                           "%1: %2 %3")
                .arg(path, soffice.errorString(), QString::fromLocal8Bit(soffice.readAll())));

    QFile converted(
        QDir(out.path()).filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".fods")));
    if (!converted.open(QIODevice::ReadOnly))
        return failed(QStringLiteral("soffice wrote no document for %1: %2")
                          .arg(path, QString::fromLocal8Bit(soffice.readAll())));
    CalcSheet sheet;
    QXmlStreamReader xml(&converted);
    readDocument(xml, sheet);
    return sheet;
}
