#include "testid3v2.h"

#include <QFile>
#include <QtDebug>

#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

namespace {

TagLib::String toTagLib(const QString &text)
{
    return TagLib::String(text.toStdWString());
}

} // namespace

bool writeId3v2(const QString &path, int version, Id3v2Encoding encoding, const Id3v2Fields &fields)
{
    const TagLib::String::Type type = encoding == Id3v2Encoding::Latin1  ? TagLib::String::Latin1
                                      : encoding == Id3v2Encoding::Utf16 ? TagLib::String::UTF16
                                                                         : TagLib::String::UTF8;
    TagLib::MPEG::File file(QFile::encodeName(path).constData(), false);
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag(true);
    const auto addText = [&](const char *id, const QStringList &values) {
        if (values.isEmpty() || values.join(QString()).isEmpty())
            return;
        auto *frame = new TagLib::ID3v2::TextIdentificationFrame(id, type);
        TagLib::StringList list;
        for (const QString &value : values)
            list.append(toTagLib(value));
        frame->setText(list);
        tag->addFrame(frame);
    };
    addText("TIT2", {fields.title});
    addText("TPE1", {fields.artist});
    addText("TALB", {fields.album});
    addText("TDRC", {fields.year});
    addText("TCON", fields.contentTypes);
    if (!fields.comment.isEmpty()) {
        auto *comment = new TagLib::ID3v2::CommentsFrame(type);
        comment->setLanguage("ita");
        comment->setText(toTagLib(fields.comment));
        tag->addFrame(comment);
    }
    const bool saved =
        file.isValid() && file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone,
                                    version == 3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4,
                                    TagLib::File::DoNotDuplicate);
    if (!saved)
        qWarning() << "TagLib cannot write an ID3v2 tag into" << path;
    return saved;
}
