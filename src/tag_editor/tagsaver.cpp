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
    std::vector<std::pair<int, GridRow>> rowsBefore; ///< grid rows as they were, to roll back
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
        if (m_grid.cell(r, Folder) == pass.folder && m_grid.cell(r, FileName) != pass.fileName)
            saveRow(pass, r, report);
    }

    if (pass.transaction && !report.databaseFailed && !pass.transaction->commit()) {
        report.databaseFailed = true;
        pass.databaseError = m_store.lastError();
    }
    pass.transaction.reset();
    if (report.databaseFailed) {
        for (auto it = pass.rowsBefore.crbegin(); it != pass.rowsBefore.crend(); ++it) {
            for (int c = 0; c < kColumnCount; ++c)
                m_grid.setCell(it->first, static_cast<Column>(c), it->second[c]);
        }
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
    pass.rowsBefore.emplace_back(row, m_grid.row(row));

    std::array<QString, 6> texts;
    const std::optional<qint64> key = m_grid.key(row);
    QString filePath;
    if (pass.first) {
        texts = pass.edited.texts;
        // The grid shows what the record keeps, which is what the tag reads back.
        for (const auto &[column, width] :
             {std::pair{Title, RecordCuts::kTitle}, std::pair{Artist, RecordCuts::kArtist},
              std::pair{Album, RecordCuts::kAlbum}, std::pair{Year, RecordCuts::kYear},
              std::pair{Comment, RecordCuts::kComment}})
            texts[column] = recordText(texts[column], width);
        for (int c = Title; c <= Comment; ++c)
            m_grid.setCell(row, static_cast<Column>(c), texts[c]);
        filePath = pass.edited.filePath;
    } else {
        for (int c = Title; c <= Comment; ++c)
            texts[c] = m_grid.cell(row, static_cast<Column>(c));
        // The question shows the carried values as the tag block holds them, padded; the
        // rows take them as the tag reads them back.
        texts[Artist] = recordText(pass.artist, RecordCuts::kArtist);
        texts[Album] = recordText(pass.album, RecordCuts::kAlbum);
        filePath = resolveRecordFile(pass.folder, m_grid.cell(row, FileName));
    }

    // The artist and album the question shows and the folder-wide pass carries on.
    QString artist = texts[Artist];
    QString album = texts[Album];
    if (pass.tags == TagWriting::On) {
        if (!pass.first) {
            m_grid.setCell(row, Artist, texts[Artist]);
            m_grid.setCell(row, Album, texts[Album]);
        }
        artist = asInBlock(texts[Artist], TagLayout::kArtistWidth);
        album = asInBlock(texts[Album], TagLayout::kAlbumWidth);

        const TagValues values{texts[Title], texts[Artist],  texts[Album],
                               texts[Year],  texts[Comment], {}};
        const QFileInfo file(filePath);
        QString failure;
        // Root may write into anything: a file whose owner may not write it is left alone
        // whoever runs the program.
        if (file.isFile() && !file.permission(QFile::WriteOwner))
            failure = text(kReadOnlyFile).arg(filePath);
        else
            failure = writeTag(filePath, values, genreByteOf(pass.edited.genre)).errorText;
        if (failure.isEmpty()) {
            ++report.tagsWritten;
        } else {
            qCWarning(lcTagSaver).noquote() << failure;
            report.tagFailures << failure;
        }
    } else {
        m_grid.setCell(row, Artist, artist);
        m_grid.setCell(row, Album, album);
    }

    m_grid.setCell(row, Genre, pass.edited.genre);
    if (!keepsState(m_grid.cell(row, State))) {
        const bool allEmpty = texts[Title].isEmpty() && texts[Artist].isEmpty() &&
                              texts[Album].isEmpty() && texts[Year].isEmpty() &&
                              pass.edited.genre.isEmpty() && texts[Comment].isEmpty();
        m_grid.setCell(row, State, QLatin1String(allEmpty ? StateWords::kNoTag : StateWords::kOk));
    }

    const QString fileName = m_grid.cell(row, FileName);
    const QString folder = m_grid.cell(row, Folder);
    if (pass.first) {
        const bool withTags = pass.tags == TagWriting::On;
        const QString blankLine = QStringLiteral("\n\n");
        QString question = text(kArtistLine) + artist + u'\n' + text(kAlbumLine) + album +
                           blankLine + text(withTags ? kTagWideQuestion : kDbWideQuestion) + u'\n' +
                           folder;
        if (!withTags)
            question += blankLine + text(kTagsUntouched);
        if (m_dialogs.question(text(withTags ? kTagWideTitle : kDbWideTitle), question)) {
            pass.folderWide = true;
            pass.artist = artist;
            pass.album = album;
            pass.folder = folder;
            pass.fileName = fileName;
        }
    }

    if (!pass.transaction) {
        pass.transaction.emplace(m_store);
        if (!pass.transaction->isActive()) {
            report.databaseFailed = true;
            pass.databaseError = m_store.lastError();
            return;
        }
    }
    // The catalogue takes the state word the grid now shows, so the two agree.
    CatalogueRecord record;
    record.titolo = texts[Title];
    record.autore = texts[Artist];
    record.album = texts[Album];
    record.anno = texts[Year];
    record.genere = pass.edited.genre;
    record.commento = texts[Comment];
    record.nome = fileName;
    record.percorso = folder;
    record.dimenzione = m_grid.cell(row, Size);
    record.info = m_grid.cell(row, State);
    record.labelD = m_grid.cell(row, MediumLabel);
    record.id = key.value_or(0);
    const CatalogueStore::WriteResult written =
        key ? ModificaDB(m_store, record) : CatalogueStore::WriteResult::NoSuchRecord;
    switch (written) {
    case CatalogueStore::WriteResult::Done:
        ++report.recordsUpdated;
        break;
    case CatalogueStore::WriteResult::NoSuchRecord:
        report.recordsGone << (key ? QString::number(*key) : QString());
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
