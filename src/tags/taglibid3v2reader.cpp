#include "taglibid3v2reader.h"

#include <QFile>

#include <taglib/commentsframe.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfilestream.h>

namespace {

QString toQString(const TagLib::String &text)
{
    return QString::fromStdWString(text.toWString());
}

// The values of the first frame `id`.
QStringList frameValues(const TagLib::ID3v2::Tag &tag, const char *id)
{
    QStringList values;
    const TagLib::ID3v2::FrameListMap &map = tag.frameListMap();
    const auto found = map.find(id);
    if (found == map.end() || found->second.isEmpty())
        return values;
    const TagLib::ID3v2::Frame *frame = found->second.front();
    if (const auto *text = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame *>(frame)) {
        for (const TagLib::String &value : text->fieldList())
            values << toQString(value);
    } else {
        values << toQString(frame->toString());
    }
    return values;
}

// Several values of one frame are joined by "/", as tag programs show them.
QString frameText(const TagLib::ID3v2::Tag &tag, const char *id)
{
    return frameValues(tag, id).join(u'/');
}

} // namespace

std::optional<Id3v2Fields> TagLibId3v2Reader::read(const QString &path) const
{
    const QByteArray name = QFile::encodeName(path);
    TagLib::FileStream stream(name.constData(), true);
    if (!stream.isOpen())
        return std::nullopt;
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (!file.isValid() || !file.hasID3v2Tag())
        return std::nullopt;
    const TagLib::ID3v2::Tag *tag = file.ID3v2Tag();
    if (!tag)
        return std::nullopt;
    Id3v2Fields fields;
    fields.title = frameText(*tag, "TIT2");
    fields.artist = frameText(*tag, "TPE1");
    fields.album = frameText(*tag, "TALB");
    // TagLib reads a TYER (and TYE) frame of an older tag as TDRC.
    fields.year = frameText(*tag, "TDRC");
    fields.comment = toQString(tag->comment());
    fields.contentTypes = frameValues(*tag, "TCON");
    return fields;
}
