#include "csvexport.h"

#include "cataloguemodel.h"

#include <QSaveFile>

using namespace GridExport;

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kLineEnd[] = "\r\n";

// Tag texts come from files of unknown origin: a title "=HYPERLINK(...)" must not become a live
// formula when the file is opened. The apostrophe is the guard spreadsheets themselves use to
// show such a text as typed; a leading tab or CR is guarded too, as some spreadsheets drop it
// and read what follows.
bool looksLikeFormula(const QString &text)
{
    if (text.isEmpty())
        return false;
    switch (text.front().unicode()) {
    case u'=':
    case u'+':
    case u'-':
    case u'@':
    case u'\t':
    case u'\r':
        return true;
    default:
        return false;
    }
}

} // namespace

QString CsvExport::field(const QString &text)
{
    const QString guarded = looksLikeFormula(text) ? u'\'' + text : text;
    if (!guarded.contains(u';') && !guarded.contains(u'"') && !guarded.contains(u'\n') &&
        !guarded.contains(u'\r'))
        return guarded;
    QString quoted = guarded;
    quoted.replace(u'"', QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}

QString CsvExport::line(const QStringList &fields)
{
    QStringList written;
    written.reserve(fields.size());
    for (const QString &text : fields)
        written << field(text);
    return written.join(u';');
}

Result CsvExport::write(const CatalogueModel &model, const QString &path, const Progress &progress)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, file.errorString());

    QByteArray chunk = kByteOrderMark + line(headerLabels()).toUtf8() + kLineEnd;
    QStringList fields;
    const qsizetype total = model.recordCount();
    for (int r = 0; r < total; ++r) {
        const GridRow row = model.row(r);
        fields.clear();
        for (int c = 0; c < kColumnCount; ++c)
            fields << cellText(row, static_cast<Column>(c));
        chunk += line(fields).toUtf8() + kLineEnd;
        if ((r + 1) % kBatchRows != 0 && r + 1 != total)
            continue;
        if (file.write(chunk) != chunk.size()) {
            const Result result = failure(path, file.errorString());
            file.cancelWriting();
            return result;
        }
        chunk.clear();
        if (progress && !progress(r + 1, total)) {
            file.cancelWriting();
            return {Outcome::Cancelled, {}};
        }
    }
    // Only the header is left to write when the grid has no rows.
    if (!chunk.isEmpty() && file.write(chunk) != chunk.size()) {
        const Result result = failure(path, file.errorString());
        file.cancelWriting();
        return result;
    }
    if (!file.commit())
        return failure(path, file.errorString());
    return {Outcome::Written, {}};
}
