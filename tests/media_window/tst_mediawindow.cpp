#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "inspection/collectioncounters.h"
#include "media_window/mediawindow.h"
#include "support/fakedialogs.h"
#include "support/fakevolumes.h"
#include "support/tempcatalogue.h"
#include "support/widgettest.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

// The commands themselves are MediumCommands' and the journeys'; here what the list shows, how
// it sorts, and what a screen reader reads.
class TestMediaWindow : public QObject
{
    Q_OBJECT

    void openWindow()
    {
        // Three media: "Beta" of 2 records of 900 KB (a CD, mounted now), "alfa" of 10 records of
        // 20 KB, and "Gamma" of 1 record of 3 GB.
        QList<CatalogueRecord> records;
        const auto add = [&records](const QString &label, const QString &serial,
                                    const QString &state, const QString &size, int count) {
            for (int i = 0; i < count; ++i) {
                CatalogueRecord r = sampleRecord(label + QString::number(i));
                r.labelD = label;
                r.supporto = serial;
                r.info = state;
                r.dimenzione = size;
                records << r;
            }
        };
        add(u"Beta"_s, u"-7"_s, u"CDROM"_s, u"900 KB"_s, 2);
        add(u"alfa"_s, u"12"_s, u"OK"_s, u"20 KB"_s, 10);
        add(u"Gamma"_s, u"3"_s, u"Fissa"_s, u"3,145,728 KB"_s, 1);
        m_temp.add(records);
        m_volumes.list = {{u"/media/cd"_s, DriveType::CdRom, u"Beta"_s, u"-7"_s, {}, {}}};
        QVERIFY(m_store.open());
        m_window.emplace(m_store, m_model, m_counters, m_dialogs, m_volumes);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*m_window));
    }

    QStringList shown(int column) const
    {
        auto *list = childNamed<QTableView>(&*m_window, "ListaSupporti");
        QStringList texts;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            texts << list->model()->index(row, column).data().toString();
        return texts;
    }

    TempCatalogue m_temp;
    CatalogueStore m_store{m_temp.path()};
    CatalogueModel m_model;
    CollectionCounters m_counters;
    FakeDialogs m_dialogs;
    FakeVolumes m_volumes;
    std::optional<MediaWindow> m_window;

private slots:
    // Sizes are written as an Italian user reads them.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }

    void init()
    {
        m_window.reset();
        openWindow();
    }

    void cleanup()
    {
        m_window.reset();
        m_store.close();
        QFile::remove(m_temp.path());
    }

    // Each column sorted from the chooser, as from the keyboard: labels whatever their case,
    // numbers as numbers; the label column is shown alongside.
    void sortsByEveryColumn_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("sorted");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("Etichetta") << 0 << QStringList{u"alfa"_s, u"Beta"_s, u"Gamma"_s}
                                   << QStringList{u"alfa"_s, u"Beta"_s, u"Gamma"_s};
        QTest::newRow("Numero di serie") << 1 << QStringList{u"-7"_s, u"3"_s, u"12"_s}
                                         << QStringList{u"Beta"_s, u"Gamma"_s, u"alfa"_s};
        QTest::newRow("Tipo") << 2 << QStringList{u"—"_s, u"CDROM"_s, u"Fissa"_s}
                              << QStringList{u"alfa"_s, u"Beta"_s, u"Gamma"_s};
        QTest::newRow("File") << 3 << QStringList{u"1"_s, u"2"_s, u"10"_s}
                              << QStringList{u"Gamma"_s, u"Beta"_s, u"alfa"_s};
        QTest::newRow("Dimensione") << 4 << QStringList{u"200 KB"_s, u"1,8 MB"_s, u"3,00 GB"_s}
                                    << QStringList{u"alfa"_s, u"Beta"_s, u"Gamma"_s};
        QTest::newRow("Collegato") << 5 << QStringList{u"No"_s, u"No"_s, u"Sì (/media/cd)"_s}
                                   << QStringList{u"alfa"_s, u"Gamma"_s, u"Beta"_s};
    }

    void sortsByEveryColumn()
    {
        QFETCH(int, column);
        QFETCH(QStringList, sorted);
        QFETCH(QStringList, labels);
        auto *chooser = childNamed<QComboBox>(&*m_window, "OrdinaSupporti");
        chooser->setFocus();
        // From the first entry down to the column's: each step sorts by the entry reached.
        chooser->setCurrentIndex(0);
        for (int i = 0; i < column; ++i)
            QTest::keyClick(chooser, Qt::Key_Down);
        if (column == 0)
            emit chooser->activated(0);
        QCOMPARE(shown(column), sorted);
        QCOMPARE(shown(0), labels);
    }

    void everyControlIsNamed()
    {
        QCOMPARE(controlsWithoutCaption(&*m_window).join(u' '), QString());
        for (const char *name : {"Rinomina", "Mostra", "Elimina", "Chiudi"})
            QVERIFY(childNamed<QPushButton>(&*m_window, name)->focusPolicy() & Qt::TabFocus);
    }

    // A catalogue emptied meanwhile leaves nothing to choose and no command to run.
    void commandsNeedAMedium()
    {
        QVERIFY(childNamed<QPushButton>(&*m_window, "Rinomina")->isEnabled());
        const auto media = m_store.media();
        QVERIFY(media);
        for (const Medium &medium : *media)
            QVERIFY(m_store.removeMedium(medium.supporto));
        m_window->reload();
        QCOMPARE(shown(0), QStringList());
        for (const char *name : {"Rinomina", "Mostra", "Elimina"})
            QVERIFY(!childNamed<QPushButton>(&*m_window, name)->isEnabled());
    }
};

QTEST_MAIN(TestMediaWindow)
#include "tst_mediawindow.moc"
