#include "tagsaver.h"

#include "tageditortexts.h"

#include "catalogue/cataloguestore.h"
#include "catalogue/modificadb.h"
#include "catalogue/recordcuts.h"
#include "grid/cataloguemodel.h"
#include "inspection/recordfile.h"
#include "inspection/statewords.h"
#include "platform/dialogs.h"
#include "tags/genretable.h"
#include "tags/tagblock.h"
#include "tags/tagfile.h"

#include "utf8text.h"

#include <QFileInfo>
#include <QLoggingCategory>

#include <optional>
#include <utility>
#include <vector>

Q_LOGGING_CATEGORY(lcTagSaver, "tracklodge.tageditor.save")

namespace {

using namespace TagEditorTexts;

// At most this many files are named in the message of tags not written.
constexpr qsizetype kListedFailures = 15;

// A text as the tag block holds it: cut to the field and padded with blanks.
QString asInBlock(const QString &value, qsizetype width)
{
    const QString cut = firstCharacters(value, width);
    return cut + QString(width - cut.toUcs4().size(), u' ');
}

// States that describe the medium or the file rather than the tag; a save keeps them.
bool keepsState(const QString &state)
{
    for (const char *word : {StateWords::kRemovable, StateWords::kCorrupt, StateWords::kReadOnly,
                             StateWords::kCdRom}) {
        if (state == QLatin1String(word))
            return true;
    }
    return false;
}

} // namespace

struct TagSaver::Pass
{
    Pass(const EditorFields &editedFields, TagWriting tagWriting)
        : edited(editedFields)
        , tags(tagWriting)
    {}

    const EditorFields &edited;
    TagWriting tags;
    bool first = true;       ///< saving the edited record itself
    bool folderWide = false; ///< the user asked to treat the whole folder
    QString folder;          ///< the edited record's folder
    QString fileName;        ///< the edited record's file name
    QString artist;          ///< artist given to the other rows
    QString album;           ///< album given to the other rows
    std::optional<CatalogueStore::Transaction> transaction;
    std::vector<std::pair<int, CatalogueRecord>> rowsBefore; ///< grid rows as they were
    QString databaseError;
};

TagSaver::TagSaver(CatalogueModel &grid, CatalogueStore &store, Dialogs &dialogs)
    : m_grid(grid)
    , m_store(store)
    , m_dialogs(dialogs)
{}

SaveReport TagSaver::save(const EditorFields &fields, TagWriting tags)
{
    SaveReport report;
    // Another window may have reloaded or reordered the grid since the editor opened it: the
    // row is the one that still shows the edited key.
    const qint64 key = fields.key;
    const int row = m_grid.key(fields.row) == key ? fields.row : m_grid.rowOfKey(key);
    if (row < 0) {
        m_dialogs.critical(QString(), text(kRecordNotShown));
        return report;
    }

    Pass pass(fields, tags);
    saveRow(pass, row, report);
    pass.first = false;
    // The folder-wide pass visits the grid in its order; it never treats the edited record
    // again, nor a second entry of the same file.
    for (int r = 0; pass.folderWide && !report.databaseFailed && r < m_grid.recordCount(); ++r) {
        const CatalogueRecord record = m_grid.record(r);
        if (record.percorso == pass.folder && record.nome != pass.fileName)
            saveRow(pass, r, report);
    }

    if (pass.transaction && !report.databaseFailed && !pass.transaction->commit()) {
        report.databaseFailed = true;
        pass.databaseError = m_store.lastError();
    }
    pass.transaction.reset();
    if (report.databaseFailed) {
        for (auto it = pass.rowsBefore.crbegin(); it != pass.rowsBefore.crend(); ++it)
            m_grid.setRecord(it->first, it->second);
        report.recordsUpdated = 0;
    }
    reportProblems(report, pass.databaseError);
    if (report.recordsUpdated > 0) {
        CompattaDB(m_store, m_dialogs, m_busy);
        report.compactions = 1;
    }
    return report;
}

void TagSaver::saveRow(Pass &pass, int row, SaveReport &report)
{
    const CatalogueRecord before = m_grid.record(row);
    pass.rowsBefore.emplace_back(row, before);

    // The row takes what the record keeps, which is what the tag reads back.
    CatalogueRecord record = before;
    QString filePath;
    if (pass.first) {
        const auto &texts = pass.edited.texts;
        record.titolo = recordText(texts[Title], RecordCuts::kTitle);
        record.autore = recordText(texts[Artist], RecordCuts::kArtist);
        record.album = recordText(texts[Album], RecordCuts::kAlbum);
        record.anno = recordText(texts[Year], RecordCuts::kYear);
        record.commento = recordText(texts[Comment], RecordCuts::kComment);
        filePath = pass.edited.filePath;
    } else {
        record.autore = recordText(pass.artist, RecordCuts::kArtist);
        record.album = recordText(pass.album, RecordCuts::kAlbum);
        filePath = resolveRecordFile(pass.folder, record.nome);
    }
    record.genere = pass.edited.genre;
    if (!keepsState(record.info)) {
        const bool allEmpty = record.titolo.isEmpty() && record.autore.isEmpty() &&
                              record.album.isEmpty() && record.anno.isEmpty() &&
                              record.genere.isEmpty() && record.commento.isEmpty();
        record.info = QLatin1String(allEmpty ? StateWords::kNoTag : StateWords::kOk);
    }
    m_grid.setRecord(row, storedByModificaDB(record));

    if (pass.tags == TagWriting::On)
        writeTagOf(record, filePath, report);
    if (pass.first)
        askFolderWide(pass, record);
    writeRecord(pass, record, report);
}

void TagSaver::writeTagOf(const CatalogueRecord &record, const QString &filePath,
                          SaveReport &report)
{
    const TagValues values{record.titolo, record.autore,   record.album,
                           record.anno,   record.commento, {}};
    const QFileInfo file(filePath);
    QString failure;
    // Root may write into anything: a file whose owner may not write it is left alone whoever
    // runs the program.
    if (file.isFile() && !file.permission(QFile::WriteOwner))
        failure = text(kReadOnlyFile).arg(filePath);
    else
        failure = writeTag(filePath, values, genreByteOf(record.genere)).errorText;
    if (failure.isEmpty()) {
        ++report.tagsWritten;
    } else {
        qCWarning(lcTagSaver).noquote() << failure;
        report.tagFailures << failure;
    }
}

void TagSaver::askFolderWide(Pass &pass, const CatalogueRecord &record)
{
    // The question shows the artist and album as the tag block holds them, padded, and the
    // folder-wide pass carries them on; the rows take them as the tag reads them back.
    const bool withTags = pass.tags == TagWriting::On;
    const QString artist =
        withTags ? asInBlock(record.autore, TagLayout::kArtistWidth) : record.autore;
    const QString album = withTags ? asInBlock(record.album, TagLayout::kAlbumWidth) : record.album;
    const QString blankLine = QStringLiteral("\n\n");
    QString question = text(kArtistLine) + artist + u'\n' + text(kAlbumLine) + album + blankLine +
                       text(withTags ? kTagWideQuestion : kDbWideQuestion) + u'\n' +
                       record.percorso;
    if (!withTags)
        question += blankLine + text(kTagsUntouched);
    if (m_dialogs.question(text(withTags ? kTagWideTitle : kDbWideTitle), question)) {
        pass.folderWide = true;
        pass.artist = artist;
        pass.album = album;
        pass.folder = record.percorso;
        pass.fileName = record.nome;
    }
}

void TagSaver::writeRecord(Pass &pass, const CatalogueRecord &record, SaveReport &report)
{
    if (!pass.transaction) {
        pass.transaction.emplace(m_store);
        if (!pass.transaction->isActive()) {
            report.databaseFailed = true;
            pass.databaseError = m_store.lastError();
            return;
        }
    }
    switch (ModificaDB(m_store, record)) {
    case CatalogueStore::WriteResult::Done:
        ++report.recordsUpdated;
        break;
    case CatalogueStore::WriteResult::NoSuchRecord:
        report.recordsGone << QString::number(record.id);
        break;
    case CatalogueStore::WriteResult::Failed:
        report.databaseFailed = true;
        pass.databaseError = m_store.lastError();
        break;
    }
}

void TagSaver::reportProblems(const SaveReport &report, const QString &databaseError)
{
    if (!report.tagFailures.isEmpty()) {
        QStringList lines =
            report.tagFailures.first(std::min(report.tagFailures.size(), kListedFailures));
        if (report.tagFailures.size() > kListedFailures)
            lines << text(kMoreFiles).arg(report.tagFailures.size() - kListedFailures);
        m_dialogs.critical(QString(), text(kTagsNotWritten) + u'\n' + lines.join(u'\n'));
    }
    if (report.databaseFailed)
        m_dialogs.critical(QString(), text(kDatabaseFailed).arg(databaseError));
    else if (!report.recordsGone.isEmpty())
        m_dialogs.critical(QString(), text(kRecordsGone).arg(report.recordsGone.join(u", ")));
}
