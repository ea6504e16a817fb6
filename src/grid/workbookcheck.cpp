#include "workbookcheck.h"

#include <QFile>
#include <QXmlStreamReader>
#include <QtEndian>

#include <algorithm>

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
constexpr qsizetype kChunk = 1 << 16;

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

// One part of the workbook as it is unpacked: its size and CRC against the directory's, and an
// XML part read as XML on the way, the rows of the worksheet counted. Read in chunks, so that a
// large sheet is never whole in memory.
class Part
{
public:
    Part(bool isXml, bool isSheet)
        : m_isXml(isXml)
        , m_isSheet(isSheet)
    {}
    void add(QByteArrayView chunk)
    {
        m_crc = crc32(m_crc, reinterpret_cast<const Bytef *>(chunk.data()),
                      static_cast<uInt>(chunk.size()));
        m_size += chunk.size();
        if (!m_isXml)
            return;
        m_xml.addData(chunk.toByteArray());
        while (!m_xml.atEnd()) {
            if (m_xml.readNext() == QXmlStreamReader::StartElement && m_isSheet &&
                m_xml.name() == u"row")
                ++m_rows;
        }
    }
    quint32 crc() const { return m_crc; }
    qsizetype size() const { return m_size; }
    /// False for XML cut short or otherwise not well-formed.
    bool wellFormed() const { return !m_isXml || !m_xml.hasError(); }
    qsizetype rows() const { return m_rows; }

private:
    QXmlStreamReader m_xml;
    bool m_isXml;
    bool m_isSheet;
    quint32 m_crc = crc32(0, nullptr, 0);
    qsizetype m_size = 0;
    qsizetype m_rows = 0;
};

bool unpack(QByteArrayView packed, quint16 method, Part &part)
{
    if (method == kStored) {
        for (qsizetype at = 0; at < packed.size(); at += kChunk)
            part.add(packed.sliced(at, std::min(kChunk, packed.size() - at)));
        return true;
    }
    if (method != kDeflated)
        return false;
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    QByteArray out(kChunk, Qt::Uninitialized);
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef *>(out.data());
        stream.avail_out = static_cast<uInt>(out.size());
        status = inflate(&stream, Z_NO_FLUSH);
        if (status == Z_OK || status == Z_STREAM_END)
            part.add(QByteArrayView(out).first(out.size() - stream.avail_out));
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END;
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
        const bool isSheet = name == QLatin1String(kSheet);
        Part part(name.endsWith(QLatin1String(".xml")) || name.endsWith(QLatin1String(".rels")),
                  isSheet);
        if (!zip.has(start, packedSize) || !unpack(zip.view(start, packedSize), method, part) ||
            part.size() != size || part.crc() != crc) {
            *error = QStringLiteral("zip entry %1 damaged").arg(name);
            return false;
        }
        if (!part.wellFormed()) {
            *error = QStringLiteral("%1 is cut short").arg(name);
            return false;
        }
        if (isSheet)
            sheetRows = part.rows();
    }
    if (sheetRows != rows) {
        *error = QStringLiteral("the sheet holds %1 rows of %2").arg(sheetRows).arg(rows);
        return false;
    }
    return true;
}
