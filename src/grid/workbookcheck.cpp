#include "workbookcheck.h"

#include <QFile>
#include <QXmlStreamReader>
#include <QtEndian>

#include <zlib.h>

namespace {

// The zip format's records, as the XLSX library writes them (no ZIP64: its files stay below
// 4 GB).
constexpr quint32 kEndSignature = 0x06054b50;
constexpr quint32 kCentralSignature = 0x02014b50;
constexpr quint32 kLocalSignature = 0x04034b50;
constexpr qsizetype kEndSize = 22;
constexpr qsizetype kCentralSize = 46;
constexpr qsizetype kLocalSize = 30;
constexpr quint16 kStored = 0;
constexpr quint16 kDeflated = 8;
constexpr char kSheet[] = "xl/worksheets/sheet1.xml";

class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_bytes(bytes)
    {}
    bool has(qsizetype at, qsizetype size) const
    {
        return at >= 0 && size >= 0 && at <= m_bytes.size() - size;
    }
    quint16 u16(qsizetype at) const { return qFromLittleEndian<quint16>(m_bytes.constData() + at); }
    quint32 u32(qsizetype at) const { return qFromLittleEndian<quint32>(m_bytes.constData() + at); }
    QByteArrayView view(qsizetype at, qsizetype size) const
    {
        return QByteArrayView(m_bytes).sliced(at, size);
    }

private:
    const QByteArray &m_bytes;
};

bool inflated(QByteArrayView packed, QByteArray &data)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef *>(data.data());
    stream.avail_out = static_cast<uInt>(data.size());
    const int status = inflate(&stream, Z_FINISH);
    const bool whole = status == Z_STREAM_END && stream.avail_out == 0;
    inflateEnd(&stream);
    return whole;
}

// The number of rows of a worksheet's XML (0 for another part), or -1 when it is not
// well-formed.
qsizetype wellFormedRows(const QByteArray &xml, bool countRows)
{
    QXmlStreamReader reader(xml);
    qsizetype rows = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && countRows &&
            reader.name() == u"row")
            ++rows;
    }
    return reader.hasError() ? -1 : rows;
}

} // namespace

bool WorkbookCheck::isComplete(const QString &path, qsizetype rows, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    const Reader zip(bytes);
    qsizetype end = bytes.size() - kEndSize;
    while (end >= 0 && zip.u32(end) != kEndSignature)
        --end;
    if (end < 0) {
        *error = QStringLiteral("no zip directory");
        return false;
    }
    const int entries = zip.u16(end + 10);
    qsizetype at = zip.u32(end + 16);
    qsizetype sheetRows = -1;
    for (int i = 0; i < entries; ++i) {
        if (!zip.has(at, kCentralSize) || zip.u32(at) != kCentralSignature) {
            *error = QStringLiteral("zip directory cut short");
            return false;
        }
        const quint16 method = zip.u16(at + 10);
        const quint32 crc = zip.u32(at + 16);
        const qsizetype packedSize = zip.u32(at + 20);
        const qsizetype size = zip.u32(at + 24);
        const qsizetype nameSize = zip.u16(at + 28);
        const qsizetype local = zip.u32(at + 42);
        if (!zip.has(at + kCentralSize, nameSize) || !zip.has(local, kLocalSize) ||
            zip.u32(local) != kLocalSignature) {
            *error = QStringLiteral("zip entry %1 cut short").arg(i);
            return false;
        }
        const QString name = QString::fromUtf8(zip.view(at + kCentralSize, nameSize));
        at += kCentralSize + nameSize + zip.u16(at + 30) + zip.u16(at + 32);

        const qsizetype start = local + kLocalSize + zip.u16(local + 26) + zip.u16(local + 28);
        QByteArray data(size, Qt::Uninitialized);
        bool read = false;
        if (zip.has(start, packedSize) && method == kStored && packedSize == size) {
            data = zip.view(start, size).toByteArray();
            read = true;
        } else if (zip.has(start, packedSize) && method == kDeflated) {
            read = inflated(zip.view(start, packedSize), data);
        }
        if (!read || crc32(0, reinterpret_cast<const Bytef *>(data.constData()),
                           static_cast<uInt>(data.size())) != crc) {
            *error = QStringLiteral("zip entry %1 damaged").arg(name);
            return false;
        }
        if (!name.endsWith(QLatin1String(".xml")) && !name.endsWith(QLatin1String(".rels")))
            continue;
        const bool isSheet = name == QLatin1String(kSheet);
        const qsizetype counted = wellFormedRows(data, isSheet);
        if (counted < 0) {
            *error = QStringLiteral("%1 is cut short").arg(name);
            return false;
        }
        if (isSheet)
            sheetRows = counted;
    }
    if (sheetRows != rows) {
        *error = QStringLiteral("the sheet holds %1 rows of %2").arg(sheetRows).arg(rows);
        return false;
    }
    return true;
}
