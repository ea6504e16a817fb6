#pragma once

#include "id3v2reader.h"

/// The ID3v2 reader of the program, through TagLib. The file is opened read only.
class TagLibId3v2Reader : public Id3v2Reader
{
public:
    std::optional<Id3v2Fields> read(const QString &path) const override;
};
