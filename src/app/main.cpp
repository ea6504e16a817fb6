#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"
#include "main_window/italiantranslation.h"
#include "main_window/mainwindow.h"
#include "main_window/messageboxdialogs.h"
#include "platform/linuxvolumes.h"
#include "platform/sdlaudiooutput.h"
#include "tag_editor/player.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Where the settings kept between runs live (QSettings).
    QApplication::setOrganizationName(QStringLiteral("tracklodge"));
    QApplication::setApplicationName(QStringLiteral("tracklodge"));
    installItalianQtTranslation(app);

    MessageBoxDialogs dialogs;
    CatalogueStore store(cataloguePath(QDir::currentPath()));
    if (!store.open()) {
        dialogs.critical(QString(), store.lastError());
        return 1;
    }
    LinuxVolumes volumes;
    Player player(SdlAudioOutput::instance());
    MainWindow window(store, dialogs, volumes);
    window.setPlayer(&player);
    dialogs.setParent(&window);
    window.start();
    window.show();
    return QApplication::exec();
}
