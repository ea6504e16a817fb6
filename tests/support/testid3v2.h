#pragma once

#include "tags/id3v2reader.h"

#include <QString>

/// The text encoding of the frames a test writes.
enum class Id3v2Encoding { Latin1, Utf16, Utf8 };

/// Puts an ID3v2 tag of `version` (3 or 4) with TagLib's writer at the start of the existing
/// file at `path`, one frame per non-empty field of `fields` in `encoding` (the year as TDRC,
/// which TagLib writes as TYER in version 3). Any ID3v1 tag at the end is kept. False (with a
/// warning) when TagLib cannot write it.
bool writeId3v2(const QString &path, int version, Id3v2Encoding encoding,
                const Id3v2Fields &fields);
