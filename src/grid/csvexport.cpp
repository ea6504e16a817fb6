#include "csvexport.h"

#include "cataloguemodel.h"
#include "gridtexts.h"

#include <QSaveFile>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kLineEnd[] = "\r\n";
// Rows written between two progress reports.
constexpr int kBatchRows = 1000;

QString field(const QString &text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}

CsvExport::Result failure(const QString &path, const QString &reason)
{
    return {CsvExport::Outcome::Failed,
            QString::fromUtf8(GridTexts::kExportFailed).arg(path, reason)};
}

} // namespace

QString CsvExport::line(const QStringList &fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString &text : fields)
        quoted << field(text);
    return quoted.join(u';');
}

CsvExport::Result CsvExport::write(const CatalogueModel &model, const QString &path,
                                   const Progress &progress)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, file.errorString());

    QStringList fields;
    for (const char *label : GridTexts::kHeaderLabels)
        fields << QString::fromUtf8(label);
    QByteArray chunk = kByteOrderMark + line(fields).toUtf8() + kLineEnd;
    const qsizetype total = model.recordCount();
    for (int r = 0; r < total; ++r) {
        const GridRow &row = model.row(r);
        fields.clear();
        for (int c = 0; c < kColumnCount; ++c)
            fields << (c == Size ? row[c].trimmed() : row[c]);
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
