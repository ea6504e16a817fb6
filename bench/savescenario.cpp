#include "benchutil.h"
#include "corpus.h"
#include "scenarios.h"

#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"
#include "platform/dialogs.h"
#include "tag_editor/tagsaver.h"
#include "tags/tagblock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace Bench {

namespace {

constexpr qsizetype kRecords = 50000;
constexpr qsizetype kFiles = 500;
// One record in kSpread belongs to the saved folder, so its rows lie all over the grid.
constexpr qsizetype kSpread = kRecords / kFiles;
constexpr qsizetype kFrameSize = 417;
constexpr qsizetype kTagSize = 128;

// The user says Yes to the folder-wide change; nothing else is asked.
class YesDialogs : public Dialogs
{
public:
    void critical(const QString &, const QString &text) override
    {
        qFatal("save scenario failed: %s", qPrintable(text));
    }
    bool question(const QString &, const QString &) override { return true; }
    void information(const QString &, const QString &) override {}
    SaveFileChoice saveFileName(const QString &, const QString &, const QStringList &) override
    {
        return {};
    }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
};

QByteArray silentFrames()
{
    QByteArray frame(kFrameSize, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x64';
    return frame.repeated(3);
}

struct Corpus
{
    QString master;    ///< the catalogue as it is before every run
    QString catalogue; ///< the catalogue each run saves into
    QString music;     ///< the folder of the saved files, with its closing "/"
    QList<CatalogueRecord> records;
    std::vector<qsizetype> saved; ///< indexes of the records of the saved folder
};

Corpus makeCorpus(const QString &folder)
{
    Corpus corpus;
    corpus.master = folder + QStringLiteral("/master.mdb");
    corpus.catalogue = cataloguePath(folder);
    corpus.music = folder + QStringLiteral("/music/");
    if (!QDir().mkpath(corpus.music))
        qFatal("cannot make the music folder");
    corpus.records = makeRecords(kRecords);
    for (qsizetype i = 0; i < kFiles; ++i) {
        CatalogueRecord &r = corpus.records[i * kSpread];
        r.percorso = corpus.music;
        r.nome = QStringLiteral("brano %1").arg(i, 3, 10, QChar(u'0'));
        r.info = QStringLiteral("Nessun TAG ID3");
        corpus.saved.push_back(i * kSpread);
    }
    writeCatalogue(corpus.master, corpus.records);
    return corpus;
}

// Every run starts from the same catalogue file and the same tagless MP3 files.
void restore(const Corpus &corpus)
{
    QFile::remove(corpus.catalogue);
    if (!QFile::copy(corpus.master, corpus.catalogue))
        qFatal("cannot copy the benchmark catalogue");
    const QByteArray audio = silentFrames();
    for (qsizetype i : corpus.saved) {
        QFile file(corpus.music + corpus.records[i].nome + QStringLiteral(".mp3"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(audio) != audio.size())
            qFatal("cannot write a benchmark MP3 file");
    }
}

void check(int rc, sqlite3 *db, const char *what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        qFatal("%s: %s", what, sqlite3_errmsg(db));
}

// The plainest doing of the same work: the 500 tag blocks appended with pwrite, the 500 records
// updated in one transaction with the sqlite3 C API, one VACUUM INTO, flush and rename.
void saveWithSqlite(const Corpus &corpus, const std::vector<QByteArray> &blocks,
                    const std::vector<QByteArray> &names)
{
    for (size_t i = 0; i < names.size(); ++i) {
        const int fd = ::open(names[i].constData(), O_RDWR | O_CLOEXEC);
        struct stat info;
        char last[kTagSize];
        if (fd < 0 || ::fstat(fd, &info) != 0)
            qFatal("cannot open a benchmark MP3 file");
        off_t offset = info.st_size;
        if (info.st_size >= kTagSize &&
            ::pread(fd, last, kTagSize, info.st_size - kTagSize) == kTagSize &&
            qstrncmp(last, "TAG", 3) == 0)
            offset -= kTagSize;
        if (::pwrite(fd, blocks[i].constData(), kTagSize, offset) != kTagSize)
            qFatal("cannot write a benchmark tag");
        ::close(fd);
    }

    sqlite3 *db = nullptr;
    const QByteArray path = QFile::encodeName(corpus.catalogue);
    check(sqlite3_open(path.constData(), &db), db, "open");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt *stmt = nullptr;
    check(sqlite3_prepare_v2(db,
                             "UPDATE Mp3 SET titolo = ?, autore = ?, album = ?, anno = ?, "
                             "genere = ?, commento = ?, nome = ?, percorso = ?, dimenzione = ?, "
                             "info = ?, labelD = ? WHERE id = ?",
                             -1, &stmt, nullptr),
          db, "prepare");
    for (qsizetype i : corpus.saved) {
        const CatalogueRecord &r = corpus.records[i];
        const QByteArray fields[11] = {r.titolo.toUtf8(),
                                       "Artista",
                                       "Disco",
                                       r.anno.toUtf8(),
                                       "Jazz",
                                       r.commento.toUtf8(),
                                       r.nome.toUtf8(),
                                       r.percorso.toUtf8(),
                                       r.dimenzione.toUtf8(),
                                       "OK",
                                       r.labelD.toUtf8()};
        for (int f = 0; f < 11; ++f)
            sqlite3_bind_text(stmt, f + 1, fields[f].constData(),
                              static_cast<int>(fields[f].size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(stmt, 12, i + 1);
        check(sqlite3_step(stmt), db, "update");
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    const QByteArray work = QFile::encodeName(QFileInfo(corpus.catalogue).path() + "/Temp.mdb");
    check(sqlite3_exec(db, ("VACUUM INTO '" + work + "'").constData(), nullptr, nullptr, nullptr),
          db, "vacuum");
    sqlite3_close(db);
    const int fd = ::open(work.constData(), O_RDONLY | O_CLOEXEC);
    ::fsync(fd);
    ::close(fd);
    if (std::rename(work.constData(), path.constData()) != 0)
        qFatal("cannot rename the compacted catalogue");
}

} // namespace

void runSave()
{
    QTemporaryDir dir;
    const Corpus corpus = makeCorpus(makeTempFolder(dir));

    std::unique_ptr<CatalogueStore> store;
    std::unique_ptr<CatalogueModel> grid;
    CollectionCounters counters;
    YesDialogs dialogs;
    EditorFields fields;
    SaveReport result;
    const auto prepare = [&] {
        restore(corpus);
        store = std::make_unique<CatalogueStore>(corpus.catalogue);
        grid = std::make_unique<CatalogueModel>();
        if (!store->open() || !caricaDB(*store, *grid, counters))
            qFatal("cannot load the benchmark catalogue");
        // The user edits the folder's first file and gives the folder a new artist and album.
        fields.row = 0;
        for (int c = Title; c <= Comment; ++c)
            fields.texts[c] = grid->cell(0, static_cast<Column>(c));
        fields.texts[Artist] = QStringLiteral("Artista");
        fields.texts[Album] = QStringLiteral("Disco");
        fields.genre = QStringLiteral("Jazz");
        fields.key = grid->cell(0, Key).toLongLong();
        fields.filePath = corpus.music + grid->cell(0, FileName) + QStringLiteral(".mp3");
    };
    const double ms = medianMs(
        [&] {
            TagSaver saver(*grid, *store, dialogs);
            result = saver.save(fields, TagWriting::On);
        },
        prepare);
    if (result.recordsUpdated != kFiles || result.tagsWritten != kFiles)
        qFatal("save scenario saved %d records and %d tags", result.recordsUpdated,
               result.tagsWritten);
    store.reset();

    std::vector<QByteArray> blocks;
    std::vector<QByteArray> names;
    for (qsizetype i : corpus.saved) {
        const CatalogueRecord &r = corpus.records[i];
        blocks.push_back(encodeTagBlock(
            {r.titolo, QStringLiteral("Artista"), QStringLiteral("Disco"), r.anno, r.commento, {}},
            8));
        names.push_back(QFile::encodeName(corpus.music + r.nome + QStringLiteral(".mp3")));
    }
    const double baseline =
        medianMs([&] { saveWithSqlite(corpus, blocks, names); }, [&] { restore(corpus); });
    report("save", kFiles, ms, baseline, QStringLiteral("compactions=%1").arg(result.compactions));
}

} // namespace Bench
