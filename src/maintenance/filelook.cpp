#include "filelook.h"

#include "maintenancetexts.h"
#include "missingfilecheck.h"

#include "grid/cataloguemodel.h"
#include "inspection/recordfile.h"
#include "inspection/statewords.h"
#include "tags/tagblock.h"
#include "utf8text.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <iterator>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

using namespace MaintenanceTexts;

// Reads whether the open file ends in a tag block. A file shorter than a block has no place
// for one and is left as it is.
void lookForTag(int fd, const struct stat &info, FileLook &look)
{
    look.opened = true;
    look.device = info.st_dev;
    look.inode = info.st_ino;
    look.mode = info.st_mode;
    look.tag = TagLook::LeaveAlone;
    if (info.st_size < TagLayout::kBlockSize)
        return;
    char marker[TagLayout::kMarkerWidth];
    const ssize_t n = ::pread(fd, marker, sizeof marker, info.st_size - TagLayout::kBlockSize);
    if (n != static_cast<ssize_t>(sizeof marker)) {
        look.reason = text(kCannotReadFile);
        look.tag = TagLook::Failed;
    } else if (!hasTagMarker(QByteArrayView(marker, sizeof marker))) {
        look.tag = TagLook::NeedsTag;
    }
}

// Looks at the file found under `path` (one that is not the expected name), or notes that it
// cannot be read.
void lookAtFoundFile(const QString &path, FileLook &look)
{
    look.path = path;
    struct stat info;
    const int fd = openRegularFile(QFile::encodeName(path).constData(), info);
    if (fd < 0) {
        look.reason = text(kCannotReadFile);
        look.tag = TagLook::Failed;
        return;
    }
    lookForTag(fd, info, look);
    ::close(fd);
}

RowFile rowFile(const CatalogueModel &model, int row)
{
    return RowFile{model.cellUtf8(row, Folder), model.cellUtf8(row, FileName),
                   model.cellUtf8(row, State)};
}

} // namespace

FileLook lookAtRow(const CatalogueModel &model, int row, LookFor what)
{
    return lookAt(rowFile(model, row), what);
}

FileLook lookAt(const RowFile &row, LookFor what)
{
    FileLook look;
    const QByteArrayView state = row.state;
    const bool onMedium = state == QByteArrayView(StateWords::kCdRom) ||
                          state == QByteArrayView(StateWords::kRemovable);
    const bool askMissing = (int(what) & int(LookFor::Missing)) && !onMedium;
    const bool askTag = (int(what) & int(LookFor::Tag)) && !onMedium &&
                        state != QByteArrayView(StateWords::kReadOnly);
    if (!askMissing && !askTag)
        return look;

    // Nearly always the expected name is the file, and otherwise mostly the name with ".MP3"
    // (findRecordFile's next choice once nothing but a missing or odd entry has the first name):
    // opening it answers both questions. Names are kept as UTF-8, the system's encoding of
    // file names.
    if (askTag) {
        QByteArray path;
        path.reserve(row.folder.size() + row.name.size() + 4);
        path.append(row.folder).append(row.name).append(".mp3");
        struct stat info;
        bool notARegularFile = false;
        int fd = openRegularFile(path.constData(), info, &notARegularFile);
        if (fd < 0 && notARegularFile) {
            path.replace(path.size() - 3, 3, "MP3");
            fd = openRegularFile(path.constData(), info);
            if (fd >= 0)
                look.path = QString::fromUtf8(path);
        }
        if (fd >= 0) {
            lookForTag(fd, info, look);
            ::close(fd);
            return look;
        }
    }
    // The long way: the folder's entries for any other spelling of the extension.
    const QString folder = QString::fromUtf8(row.folder);
    const QString name = QString::fromUtf8(row.name);
    const std::optional<QString> found = findRecordFile(folder, name);
    if (askMissing)
        look.missing = !found && MissingFileCheck::nothingThere(folder, name);
    if (!askTag)
        return look;
    if (found) {
        lookAtFoundFile(*found, look);
    } else {
        look.path = recordFilePath(folder, name);
        look.reason = text(kFileNotFound);
        look.tag = TagLook::Failed;
    }
    return look;
}

std::vector<FileLook> lookAtRows(const CatalogueModel &model, LookFor what)
{
    RowLooker looker(what);
    for (int r = 0; r < model.recordCount(); ++r)
        looker.add(rowFile(model, r));
    return looker.finish();
}

// --- RowLooker ---

namespace {

constexpr int kChunkRows = 256;
constexpr int kLookerThreads = 3; // besides the thread that adds the rows

} // namespace

// Rows copied as they come, a chunk at a time: the texts one after the other in `bytes`.
struct RowLooker::Chunk
{
    struct Row
    {
        qsizetype folder = 0, name = 0, state = 0, end = 0; ///< where each text starts in bytes
    };

    QByteArray bytes;
    std::vector<Row> rows;
    std::vector<FileLook> looks;

    RowFile row(size_t i) const
    {
        const Row &r = rows[i];
        const QByteArrayView all(bytes);
        return RowFile{all.sliced(r.folder, r.name - r.folder),
                       all.sliced(r.name, r.state - r.name), all.sliced(r.state, r.end - r.state)};
    }
};

RowLooker::RowLooker(LookFor what)
    : m_what(what)
{
    for (int t = 0; t < kLookerThreads; ++t) {
        try {
            m_threads.emplace_back([this] { work(); });
        } catch (const std::system_error &) {
            break; // no thread to be had: finish() does the work
        }
    }
}

RowLooker::~RowLooker()
{
    {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
        m_next = m_chunks.size(); // the looks are not wanted any more
    }
    m_ready.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

void RowLooker::add(const RowFile &row)
{
    if (!m_filling) {
        m_filling = std::make_unique<Chunk>();
        m_filling->rows.reserve(kChunkRows);
        m_filling->bytes.reserve(kChunkRows * 96);
    }
    Chunk &chunk = *m_filling;
    Chunk::Row r;
    r.folder = chunk.bytes.size();
    chunk.bytes.append(row.folder);
    r.name = chunk.bytes.size();
    chunk.bytes.append(row.name);
    r.state = chunk.bytes.size();
    chunk.bytes.append(row.state);
    r.end = chunk.bytes.size();
    chunk.rows.push_back(r);
    if (chunk.rows.size() == kChunkRows)
        publish();
}

void RowLooker::publish()
{
    if (!m_filling)
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_chunks.push_back(std::move(m_filling));
    }
    m_ready.notify_one();
}

void RowLooker::work()
{
    for (;;) {
        Chunk *chunk = nullptr;
        {
            std::unique_lock lock(m_mutex);
            m_ready.wait(lock, [this] { return m_next < m_chunks.size() || m_finished; });
            if (m_next == m_chunks.size())
                return;
            chunk = m_chunks[m_next++].get();
        }
        // The chunk is no longer changed by the adding thread, and only this thread looks at it.
        chunk->looks.resize(chunk->rows.size());
        for (size_t i = 0; i < chunk->rows.size(); ++i)
            chunk->looks[i] = lookAt(chunk->row(i), m_what);
        {
            const std::lock_guard lock(m_mutex);
            ++m_done;
        }
        m_ready.notify_all();
    }
}

std::vector<FileLook> RowLooker::finish()
{
    publish();
    {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
    }
    m_ready.notify_all();
    work(); // this thread helps with what is left
    {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return m_done == m_chunks.size(); });
    }
    std::vector<FileLook> looks;
    size_t count = 0;
    for (const auto &chunk : m_chunks)
        count += chunk->looks.size();
    looks.reserve(count);
    for (const auto &chunk : m_chunks)
        std::move(chunk->looks.begin(), chunk->looks.end(), std::back_inserter(looks));
    return looks;
}
