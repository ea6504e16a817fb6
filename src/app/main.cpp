#include "catalogue/cataloguelock.h"
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

#include <cstdio>

namespace {

// A refusal to start goes to standard error too; on a platform without a screen (offscreen,
// minimal) no one could close the message box, so it is not shown there.
int refuseToStart(Dialogs &dialogs, const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        dialogs.critical(QString(), text);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installItalianQtTranslation(app);

    MessageBoxDialogs dialogs;
    const QString catalogue = cataloguePath(QDir::currentPath());
    // Taken before the catalogue is opened, held until the program ends.
    CatalogueLock lock(catalogue);
    if (!lock.acquire())
        return refuseToStart(dialogs, lock.errorText());
    CatalogueStore store(catalogue);
    if (!store.open())
        return refuseToStart(dialogs, store.lastError());
    LinuxVolumes volumes;
    Player player(SdlAudioOutput::instance());
    MainWindow window(store, dialogs, volumes);
    window.setPlayer(&player);
    dialogs.setParent(&window);
    window.start();
    window.show();
    return QApplication::exec();
}
