// The main window's media window and duplicates view, kept apart from the window's other
// commands.
#include "mainwindow.h"

#include "catalogueview.h"
#include "mainwindowtexts.h"
#include "searchpanel.h"

#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/duplicatesview.h"
#include "grid/statusline.h"
#include "media_window/mediawindow.h"
#include "platform/dialogs.h"
#include "widgets/busycursor.h"

#include "utf8text.h"

#include <QPushButton>

void MainWindow::openMedia()
{
    if (!m_mediaWindow) {
        m_mediaWindow = new MediaWindow(m_store, *m_model, *m_counters, m_dialogs, m_volumes, this);
        connect(m_mediaWindow, &MediaWindow::catalogueChanged, this, &MainWindow::refreshStatus);
        connect(m_mediaWindow, &MediaWindow::gridNarrowed, this, [this] {
            m_searchPanel->clearFoundKeys();
            setRefreshEnabled(true);
            refreshStatus();
        });
    } else {
        m_mediaWindow->reload();
    }
    m_mediaWindow->show();
    m_mediaWindow->raise();
    m_mediaWindow->activateWindow();
}

void MainWindow::showDuplicates()
{
    m_grid->setCurrentIndex(QModelIndex());
    std::optional<DuplicatesShown> shown;
    {
        const BusyCursor busy;
        shown = ::showDuplicates(m_store, *m_model, *m_counters);
    }
    m_searchPanel->clearFoundKeys();
    setRefreshEnabled(true);
    if (!shown) {
        m_dialogs.critical(QString(), text(MainWindowTexts::kLoadFailed).arg(m_store.lastError()));
        return;
    }
    showStatus(duplicatesStatus(*shown), std::nullopt);
}

void MainWindow::refreshStatus()
{
    const int row = m_statusKey ? m_model->rowOfKey(*m_statusKey) : -1;
    if (row < 0)
        showStatus(QString(), std::nullopt);
    else
        showStatus(statusLineText(m_model->row(row), m_volumes), m_statusKey);
}
