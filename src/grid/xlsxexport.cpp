#include "xlsxexport.h"

#include "cataloguemodel.h"
#include "gridtexts.h"
#include "workbookcheck.h"

#include "utf8text.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <memory>

using namespace GridExport;
using namespace GridTexts;

Q_LOGGING_CATEGORY(lcXlsx, "tracklodge.grid.xlsx")

namespace {

// Widths count characters of the sheet's font; 255 is the widest column the format allows.
constexpr double kMostWidth = 255;
// Room for the autofilter's button beside a column label.
constexpr int kFilterButton = 3;
constexpr qint64 kCopyChunk = 1 << 16;

struct WorkbookFree
{
    void operator()(lxw_workbook *workbook) const { lxw_workbook_free(workbook); }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookFree>;

QString libraryReason(lxw_error error, const QString &folder)
{
    switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return text(kXlsxNoMemory);
    case LXW_ERROR_CREATING_TMPFILE:
        return text(kXlsxNoTemporaryFile).arg(folder);
    default:
        return text(kXlsxWriteFailed).arg(QString::fromUtf8(lxw_strerror(error)));
    }
}

// The folder the file ends up in: as the file written into place, a symbolic link is followed.
QString targetFolder(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 128 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.absolutePath();
}

// The longest line of a text, in characters.
int widthOf(const QString &text)
{
    int width = 0;
    for (const QStringView line : QStringView(text).split(u'\n'))
        width = std::max(width, static_cast<int>(line.size()));
    return width;
}

// Copies the finished workbook into the file being written.
bool copyInto(QSaveFile &file, QFile &workbook, QString *error)
{
    if (!workbook.open(QIODevice::ReadOnly)) {
        *error = workbook.errorString();
        return false;
    }
    while (!workbook.atEnd()) {
        const QByteArray chunk = workbook.read(kCopyChunk);
        if (chunk.isEmpty()) {
            *error = workbook.errorString();
            return false;
        }
        if (file.write(chunk) != chunk.size()) {
            *error = file.errorString();
            return false;
        }
    }
    return true;
}

// The format reads "_xHHHH_" as the character HHHH (it is how it stores control characters):
// the underscore of such a sequence in a tag text is written as "_x005F_", so that the text
// reads back as it is.
QString storedText(const QString &text)
{
    if (!text.contains(QLatin1String("_x"), Qt::CaseInsensitive))
        return text;
    static const QRegularExpression escape(QStringLiteral("_(?=[xX][0-9A-Fa-f]{4}_)"));
    QString stored = text;
    return stored.replace(escape, QStringLiteral("_x005F_"));
}

} // namespace

Result XlsxExport::write(const CatalogueModel &model, const QString &path, const Progress &progress)
{
    const qsizetype total = model.recordCount();
    if (total > LXW_ROW_MAX - 1)
        return failure(path, text(kXlsxTooManyRows).arg(total).arg(LXW_ROW_MAX - 1));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, file.errorString());
    // The library writes its zip to a file it names itself: a scratch file beside the target,
    // where there is room for the workbook, removed when it has been copied into place.
    const QString folder = targetFolder(path);
    QTemporaryFile scratch(folder + u'/' + QFileInfo(path).fileName() + QStringLiteral(".XXXXXX"));
    if (!scratch.open())
        return failure(path, scratch.errorString());
    scratch.close();

    // Constant memory: each row goes to a temporary file in the target's folder as it is written,
    // whatever the grid's size; its texts are stored in the cells themselves.
    QByteArray temporaryFolder = QFile::encodeName(folder);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = temporaryFolder.data();
    Workbook workbook(
        workbook_new_opt(QFile::encodeName(scratch.fileName()).constData(), &options));
    if (!workbook)
        return failure(path, text(kXlsxNoMemory));
    lxw_worksheet *sheet = workbook_add_worksheet(workbook.get(), kExportSheetName);
    lxw_format *bold = workbook_add_format(workbook.get());
    if (!sheet)
        return failure(path, text(kXlsxNoTemporaryFile).arg(folder));
    if (!bold)
        return failure(path, text(kXlsxNoMemory));
    format_set_bold(bold);

    const QStringList labels = headerLabels();
    std::array<int, kColumnCount> widths{};
    for (int c = 0; c < kColumnCount; ++c) {
        widths[c] = widthOf(labels[c]) + kFilterButton;
        const lxw_error error = worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c),
                                                       labels[c].toUtf8().constData(), bold);
        if (error != LXW_NO_ERROR)
            return failure(path, libraryReason(error, folder));
    }
    // The library writes a row only when it has a cell.
    qsizetype sheetRows = 1;
    for (int r = 0; r < total; ++r) {
        const GridRow row = model.row(r);
        bool rowWritten = false;
        for (int c = 0; c < kColumnCount; ++c) {
            const QString shown = cellText(row, static_cast<Column>(c));
            if (shown.isEmpty())
                continue;
            rowWritten = true;
            const QString stored = storedText(shown);
            if (stored.size() > kCellCharacters)
                return failure(
                    path, text(kXlsxTextTooLong).arg(r + 1).arg(labels[c]).arg(kCellCharacters));
            widths[c] = std::max(widths[c], widthOf(shown));
            const lxw_error error = worksheet_write_string(sheet, static_cast<lxw_row_t>(r + 1),
                                                           static_cast<lxw_col_t>(c),
                                                           stored.toUtf8().constData(), nullptr);
            if (error != LXW_NO_ERROR)
                return failure(path, libraryReason(error, folder));
        }
        sheetRows += rowWritten ? 1 : 0;
        if ((r + 1) % kBatchRows != 0 && r + 1 != total)
            continue;
        if (progress && !progress(r + 1, total)) {
            file.cancelWriting();
            return {Outcome::Cancelled, {}};
        }
    }
    for (int c = 0; c < kColumnCount; ++c) {
        const lxw_col_t column = static_cast<lxw_col_t>(c);
        worksheet_set_column(sheet, column, column, std::min<double>(widths[c], kMostWidth),
                             nullptr);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    worksheet_autofilter(sheet, 0, 0, static_cast<lxw_row_t>(total), kColumnCount - 1);

    const lxw_error closed = workbook_close(workbook.release());
    if (closed != LXW_NO_ERROR)
        return failure(path, libraryReason(closed, folder));
    QString error;
    if (!WorkbookCheck::isComplete(scratch.fileName(), sheetRows, &error)) {
        qCWarning(lcXlsx) << "workbook" << scratch.fileName() << "not complete:" << error;
        return failure(path, text(kXlsxIncomplete));
    }
    QFile written(scratch.fileName());
    if (!copyInto(file, written, &error)) {
        file.cancelWriting();
        return failure(path, error);
    }
    if (!file.commit())
        return failure(path, file.errorString());
    return {Outcome::Written, {}};
}
