#include "csvexportcommand.h"

#include "mainwindowtexts.h"

#include "grid/cataloguemodel.h"
#include "grid/csvexport.h"
#include "platform/dialogs.h"

#include "utf8text.h"

#include <QApplication>
#include <QDir>
#include <QProgressDialog>

using namespace MainWindowTexts;

void exportGridAsCsv(const CatalogueModel &model, Dialogs &dialogs, QWidget *parent)
{
    const QString path = dialogs.saveFileName(
        text(kExportCsv), QDir::current().filePath(text(kExportFileName)), text(kExportFilter));
    if (path.isEmpty())
        return;

    QProgressDialog progress(text(kExportProgress), text(kExportCancel), 0, model.recordCount(),
                             parent);
    progress.setWindowModality(Qt::WindowModal);
    // A short export is over before the dialog would show.
    progress.setMinimumDuration(1000);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CsvExport::Result result =
        CsvExport::write(model, path, [&progress](qsizetype done, qsizetype) {
            progress.setValue(static_cast<int>(done));
            return !progress.wasCanceled();
        });
    QApplication::restoreOverrideCursor();
    progress.reset();
    if (result.outcome == CsvExport::Outcome::Failed)
        dialogs.critical(QString(), result.error);
}
