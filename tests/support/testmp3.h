#pragma once

#include <QByteArray>
#include <QString>

/// `count` MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, joint stereo, 417 bytes each) whose
/// side information and main data are zero: digital silence any MP3 decoder accepts.
QByteArray mpegFrames(int count);

/// A raw 128-byte ID3v1 block built byte by byte: "TAG", then each field's bytes cut to its width
/// (30, 30, 30, 4, 30) and padded with blanks, then `genreByte`. Pass a field of full width to
/// choose its padding yourself (NULs, for instance).
QByteArray tagBlock(const QByteArray &title, const QByteArray &artist, const QByteArray &album,
                    const QByteArray &year, const QByteArray &comment, quint8 genreByte);

/// Writes `audio` followed by `tag` to `folder`/`fileName`, replacing any file of that name.
/// Returns the file's path, or an empty string (with a warning) when it cannot be written.
QString writeMp3(const QString &folder, const QString &fileName, const QByteArray &audio,
                 const QByteArray &tag = {});
