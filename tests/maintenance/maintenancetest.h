#pragma once

// The scene shared by the tests of the maintenance commands: real folders, files and catalogue
// triggers in a temporary folder.

#include "catalogue/cataloguerecord.h"
#include "catalogue/cataloguestore.h"
#include "catalogue/compattadb.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"
#include "support/fakedialogs.h"
#include "support/filestate.h"
#include "support/sqlscene.h"
#include "support/storedrecords.h"
#include "support/tempcatalogue.h"
#include "support/testmp3.h"

#include <QDir>
#include <QTest>

#include <memory>

namespace MaintenanceTest {

/// A record of the file `name` (without extension) in `folder`, in the state `state`.
inline CatalogueRecord fileRecord(const QString &folder, const QString &name,
                                  const QString &state = QStringLiteral("OK"))
{
    CatalogueRecord r = sampleRecord(name);
    r.percorso = folder;
    r.nome = name;
    r.info = state;
    return r;
}

/// A temporary catalogue with a "Musica" folder beside it, and the grid, counters and dialogs a
/// command works on. A test class derives from it and calls setUp() from init().
class Scene
{
protected:
    void setUp()
    {
        m_store.reset();
        m_temp = std::make_unique<TempCatalogue>();
        m_music = m_temp->folder() + QStringLiteral("/Musica/");
        QVERIFY(QDir().mkpath(m_music));
        m_model = std::make_unique<CatalogueModel>();
        m_counters = std::make_unique<CollectionCounters>();
        m_dialogs = FakeDialogs();
        m_compactions = 0;
    }
    /// Adds the records, opens the catalogue and loads it into the grid.
    void load(const QList<CatalogueRecord> &records)
    {
        m_ids = m_temp->add(records);
        m_store = std::make_unique<CatalogueStore>(m_temp->path());
        QVERIFY(m_store->open());
        QVERIFY(caricaDB(*m_store, *m_model, *m_counters));
    }
    /// The grid's and the catalogue's record counts, then the six counters.
    QList<int> state() const
    {
        const auto records = storedRecords(*m_store);
        QList<int> values{m_model->recordCount(), records ? int(records->size()) : -1};
        for (int c = 0; c <= int(CollectionCounters::Counter::CdRom); ++c)
            values << m_counters->value(CollectionCounters::Counter(c));
        return values;
    }
    /// "title|text" of the only message shown, checked to be of `kind`; empty when that is not so.
    QString onlyMessage(FakeDialogs::Kind kind) const
    {
        const bool one = m_dialogs.messages.size() == 1 && m_dialogs.messages[0].kind == kind;
        return one ? m_dialogs.messages[0].title + u'|' + m_dialogs.messages[0].text : QString();
    }
    /// A busy pointer that counts the compactions it is shown for.
    BusyPointer busy()
    {
        return {[this] { ++m_compactions; },
                [] {
                }};
    }
    /// A trigger that makes the catalogue refuse an `event` ("DELETE", "UPDATE") of record `id`.
    bool lockRecord(const char *event, qint64 id)
    {
        return refuseOn(m_temp->path(), event, QStringLiteral("old.id = %1").arg(id));
    }

    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    std::unique_ptr<CatalogueModel> m_model;
    std::unique_ptr<CollectionCounters> m_counters;
    FakeDialogs m_dialogs;
    QString m_music; ///< a folder for the files, with its closing "/"
    QList<qint64> m_ids;
    int m_compactions = 0;
};

} // namespace MaintenanceTest
