#pragma once

#include <QByteArrayView>
#include <QString>

#include <sys/types.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CatalogueModel;

/// What the start-up asks of a row's file: whether it is gone, whether it needs a tag block, or
/// both at once (one look per file answers both).
enum class LookFor { Missing = 1, Tag = 2, Both = 3 };

/// What a look found about the tag block of a row's file.
enum class TagLook { NeedsTag, LeaveAlone, Failed, Skipped };

/// One look at a row's file. A look changes nothing on disk.
struct FileLook
{
    /// The file is gone (MissingFileCheck::isMissing). Not asked for rows on CDs or removable
    /// disks nor for rows without a key.
    bool missing = false;
    /// Skipped for rows in the states "Solo Lettura", "CDROM" and "Disco Rimovibile".
    TagLook tag = TagLook::Skipped;
    QString path;        ///< the file looked at when not recordFilePath's name, else empty
    QString reason;      ///< why the tag look failed
    bool opened = false; ///< the file was opened: device, inode and mode are its own
    dev_t device = 0;
    ino_t inode = 0;
    mode_t mode = 0;
};

/// What a look needs of a grid row: its folder, file name and state word as UTF-8, as the grid
/// shows them.
struct RowFile
{
    QByteArrayView folder;
    QByteArrayView name;
    QByteArrayView state;
};

/// Looks at the file of a row.
FileLook lookAt(const RowFile &row, LookFor what);

/// Looks at the file of grid row `row`.
FileLook lookAtRow(const CatalogueModel &model, int row, LookFor what);

/// Looks at the file of every grid row, several at once; the looks come in grid order.
std::vector<FileLook> lookAtRows(const CatalogueModel &model, LookFor what);

/// Looks at the files of rows while they are still being added, for a load that hands over its
/// rows one by one: each row is copied as it comes, and a few threads look at the files of the
/// rows added so far, a chunk at a time. On a cold cache each look waits on the disk, and
/// several looks at once keep it busy; on a warm one the looks share the processors with the
/// load. Rows are added from one thread. The threads bring the start-up below the plain load
/// followed by the looks one by one (`tracklodge-bench startup`, `plain_ms`).
class RowLooker
{
public:
    explicit RowLooker(LookFor what);
    ~RowLooker();
    RowLooker(const RowLooker &) = delete;
    RowLooker &operator=(const RowLooker &) = delete;

    /// Adds a row; its texts are copied.
    void add(const RowFile &row);
    /// The look of every row added, in the order added, once all are done (the calling thread
    /// helps). Call once, after the last add.
    std::vector<FileLook> finish();

private:
    struct Chunk;

    void publish();
    void work();

    const LookFor m_what;
    std::unique_ptr<Chunk> m_filling; ///< the chunk rows are added to, not yet handed over
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::vector<std::unique_ptr<Chunk>> m_chunks; ///< handed over, in order
    size_t m_next = 0;                            ///< first chunk no thread has taken
    size_t m_done = 0;                            ///< chunks looked at
    bool m_finished = false;                      ///< no more chunks will come
    std::vector<std::thread> m_threads;
};
