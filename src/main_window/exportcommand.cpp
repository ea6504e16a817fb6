#include "exportcommand.h"

#include "mainwindowtexts.h"

#include "grid/cataloguemodel.h"
#include "grid/csvexport.h"
#include "grid/xlsxexport.h"
#include "platform/dialogs.h"
#include "widgets/busycursor.h"

#include "utf8text.h"

#include <QDir>
#include <QProgressDialog>

using namespace MainWindowTexts;

void exportGrid(const CatalogueModel &model, Dialogs &dialogs, QWidget *parent)
{
    const QString csv = text(kExportCsvFilter);
    const SaveFileChoice choice =
        dialogs.saveFileName(text(kExportList), QDir::current().filePath(text(kExportFileName)),
                             {text(kExportXlsxFilter), csv});
    if (choice.path.isEmpty())
        return;
    const auto write = choice.filter == csv ? &CsvExport::write : &XlsxExport::write;

    QProgressDialog progress(text(kExportProgress), text(kExportCancel), 0, model.recordCount(),
                             parent);
    progress.setWindowModality(Qt::WindowModal);
    // A short export is over before the dialog would show.
    progress.setMinimumDuration(1000);
    GridExport::Result result;
    {
        const BusyCursor busy;
        result = write(model, choice.path, [&progress](qsizetype done, qsizetype) {
            progress.setValue(static_cast<int>(done));
            return !progress.wasCanceled();
        });
    }
    progress.reset();
    if (result.outcome == GridExport::Outcome::Failed)
        dialogs.critical(QString(), result.error);
}
