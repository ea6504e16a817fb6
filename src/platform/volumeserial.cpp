#include "volumeserial.h"

namespace {

constexpr qsizetype kSectorSize = 2048;

std::optional<quint64> parseHex(QByteArrayView digits, qsizetype count)
{
    if (digits.size() != count)
        return std::nullopt;
    quint64 value = 0;
    for (const char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = (value << 4) | quint64(digit);
    }
    return value;
}

qint32 toSigned(quint32 value)
{
    return qint32(value);
}

bool isJoliet(QByteArrayView sector)
{
    // Escape sequences of the three UCS-2 levels, at the start of the escape-sequence field.
    const QByteArrayView escapes = sector.sliced(88, 3);
    return escapes == "%/@" || escapes == "%/C" || escapes == "%/E";
}

} // namespace

namespace VolumeSerial {

std::optional<qint32> fromProbe(const ProbeResult &probe)
{
    if (probe.type == "iso9660" && probe.isoDescriptor.size() == kSectorSize)
        return fromIsoDescriptor(probe.isoDescriptor);
    if (probe.uuid.isEmpty())
        return std::nullopt;
    if (probe.type == "vfat" || probe.type == "exfat" || probe.type == "msdos") {
        if (const auto serial = fromVolumeId(probe.uuid))
            return serial;
    }
    if (probe.type == "ntfs") {
        if (const auto serial = fromNtfsSerial(probe.uuid))
            return serial;
    }
    if (const auto serial = fromUuid128(probe.uuid))
        return serial;
    return toSigned(fnv1a32(QByteArray("U:" + probe.uuid)));
}

std::optional<qint32> fromVolumeId(QByteArrayView uuid)
{
    if (uuid.size() != 9 || uuid[4] != '-')
        return std::nullopt;
    const auto high = parseHex(uuid.first(4), 4);
    const auto low = parseHex(uuid.sliced(5), 4);
    if (!high || !low)
        return std::nullopt;
    return toSigned(quint32((*high << 16) | *low));
}

std::optional<qint32> fromNtfsSerial(QByteArrayView uuid)
{
    const auto value = parseHex(uuid, 16);
    if (!value)
        return std::nullopt;
    return toSigned(quint32(*value & 0xffffffffU));
}

std::optional<qint32> fromUuid128(QByteArrayView uuid)
{
    // 8-4-4-4-12 hexadecimal digits.
    if (uuid.size() != 36 || uuid[8] != '-' || uuid[13] != '-' || uuid[18] != '-' ||
        uuid[23] != '-')
        return std::nullopt;
    QByteArray digits;
    for (const char c : uuid) {
        if (c != '-')
            digits += c;
    }
    quint32 result = 0;
    for (int word = 0; word < 4; ++word) {
        quint32 value = 0;
        for (int byte = 0; byte < 4; ++byte) {
            const auto part = parseHex(QByteArrayView(digits).sliced(word * 8 + byte * 2, 2), 2);
            if (!part)
                return std::nullopt;
            value |= quint32(*part) << (8 * byte);
        }
        result ^= value;
    }
    return toSigned(result);
}

qint32 fromIsoDescriptor(QByteArrayView descriptor)
{
    quint8 lanes[4] = {0, 0, 0, 0};
    for (qsizetype i = 0; i < descriptor.size(); ++i)
        lanes[i & 3] = quint8(lanes[i & 3] + quint8(descriptor[i]));
    return toSigned((quint32(lanes[0]) << 24) | (quint32(lanes[1]) << 16) |
                    (quint32(lanes[2]) << 8) | quint32(lanes[3]));
}

QByteArray isoDescriptorOf(QByteArrayView descriptorSet)
{
    QByteArrayView primary;
    for (qsizetype offset = 0; offset + kSectorSize <= descriptorSet.size();
         offset += kSectorSize) {
        const QByteArrayView sector = descriptorSet.sliced(offset, kSectorSize);
        if (sector.sliced(1, 5) != "CD001")
            break;
        const quint8 kind = quint8(sector[0]);
        if (kind == 255) // set terminator
            break;
        if (kind == 1 && primary.isEmpty())
            primary = sector;
        if (kind == 2 && isJoliet(sector))
            return sector.toByteArray();
    }
    return primary.toByteArray();
}

qint32 fromFsid(quint32 val0, quint32 val1)
{
    return toSigned(val0 ^ val1);
}

qint32 fromMountIdentity(const QString &fileSystemType, const QString &source,
                         const QString &mountPoint)
{
    // NUL cannot occur in any of the three, so the joined text is unambiguous.
    QByteArray identity = fileSystemType.toUtf8();
    identity += '\0';
    identity += source.toUtf8();
    identity += '\0';
    identity += mountPoint.toUtf8();
    return toSigned(fnv1a32(identity));
}

quint32 fnv1a32(QByteArrayView bytes)
{
    quint32 hash = 2166136261U;
    for (const char c : bytes) {
        hash ^= quint8(c);
        hash *= 16777619U;
    }
    return hash;
}

QString text(qint32 serial)
{
    return QString::number(serial);
}

} // namespace VolumeSerial
