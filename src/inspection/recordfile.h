#pragma once

#include <QString>

#include <optional>

struct stat;

/// The name a record's file is expected under: folder + name + ".mp3", joined as they are (the
/// catalogue keeps the folder with its closing "/" and the name without an extension).
QString recordFilePath(const QString &folder, const QString &name);

/// The record's file as it lies on disk: folder + name + "." + an extension that reads "mp3"
/// in any letter case. Folder and name must match exactly; only the extension's case is free,
/// since the catalogue keeps no extension and files come with ".mp3", ".MP3" or ".Mp3". When
/// several spellings exist, ".mp3" wins, then ".MP3", then the first other one in name order.
/// Only regular files (or links to one) count. nullopt when there is none.
std::optional<QString> findRecordFile(const QString &folder, const QString &name);

/// The path to use for a record's file: the one findRecordFile finds, otherwise the expected
/// name of recordFilePath (which then does not exist as a regular file).
QString resolveRecordFile(const QString &folder, const QString &name);

/// Opens `path` (encoded as the system expects) for reading when it is a regular file, and
/// fills `info` from the open file; -1 otherwise, with `*notARegularFile`, when given, set when
/// nothing is there or what is there opened and is something else (a folder, a FIFO). Never
/// blocks on a FIFO.
int openRegularFile(const char *path, struct stat &info, bool *notARegularFile = nullptr);

/// True when `path` is a regular file that can be opened for reading. Never blocks (a FIFO is
/// refused) and leaves nothing open.
bool opensForReading(const QString &path);
