#include "importprogress.h"

#include "mainwindowtexts.h"

#include "platform/dialogs.h"

#include "utf8text.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {

// A short import ends before anything could be read; a long one is repainted this often.
constexpr qint64 kShowAfterMs = 1000;
constexpr qint64 kRepaintEveryMs = 100;
// The dialog counts in these units so that its range fits whatever the number of files.
constexpr int kSteps = 1000;

} // namespace

ImportProgress::ImportProgress(QWidget *parent)
    : m_parent(parent)
{
    m_started.start();
}

ImportProgress::~ImportProgress()
{
    delete m_dialog;
}

void ImportProgress::update(qsizetype done, qsizetype total)
{
    if (!m_shown) {
        if (m_started.elapsed() < kShowAfterMs || done >= total)
            return;
        m_dialog = new QProgressDialog(m_parent, Qt::Dialog);
        m_dialog->setWindowTitle(QString::fromLatin1(kDefaultDialogTitle));
        m_dialog->setCancelButton(nullptr);
        m_dialog->setRange(0, kSteps);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->show();
        m_shown = true;
    } else if (m_sinceShown.isValid() && m_sinceShown.elapsed() < kRepaintEveryMs && done < total) {
        return;
    }
    m_sinceShown.start();
    if (!m_dialog)
        return;
    m_dialog->setLabelText(text(MainWindowTexts::kImportProgress).arg(done).arg(total));
    m_dialog->setValue(total > 0 ? static_cast<int>(done * kSteps / total) : kSteps);
    // Only painting: the user's input waits until the import is over.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
