#include "sim/bootloader.h"

#include "firmware/tea.h"
#include "protocol/checksum.h"

#include <algorithm>

namespace {

constexpr char header = 0x5A;
enum Type : quint8 {
    Announcement = 0x01,
    Packet = 0x02,
    Abort = 0x03,
    Response = 0x81,
    Acknowledgement = 0x82,
};
constexpr int crcSize = 4;
constexpr int packetHeaderSize = 4; // 5A 02 and the index
constexpr int defaultBootDelayMs = 300;

quint32 be(const QByteArray &data, int at, int bytes)
{
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | quint8(data.at(at + i));
    return value;
}

QByteArray withCrc(const QByteArray &bytes)
{
    return bytes + Checksum::crc32Bytes(bytes, bytes.size());
}

} // namespace

BootLoader::BootLoader(QObject *parent)
    : QObject(parent)
{
    bootTimer.setSingleShot(true);
    bootTimer.setInterval(defaultBootDelayMs);
    connect(&bootTimer, &QTimer::timeout, this, &BootLoader::start);
}

void BootLoader::setAddressWidth(int bytes)
{
    width = std::clamp(bytes, 1, 4);
}

bool BootLoader::takeUpdateRequest(const QByteArray &frame, quint32 address)
{
    // 77, LEN = width + 3, the address in `width` bytes, the command, the checksum.
    if (frame.size() != width + 4 || quint8(frame.at(1)) != width + 3
        || quint8(frame.at(width + 2)) != command)
        return false;
    const quint32 mask = width == 4 ? ~0u : (1u << 8 * width) - 1;
    if (be(frame, 2, width) != (address & mask))
        return false;
    if (started) {
        emit updateResponse(response());
    } else {
        ++waiting; // the host repeats its request while the loader is starting
        if (!bootTimer.isActive())
            bootTimer.start();
    }
    return true;
}

QByteArray BootLoader::receive(const QByteArray &frame, bool refused)
{
    if (frame.size() < 2 + crcSize || frame.at(0) != header)
        return QByteArray();
    const quint8 type = quint8(frame.at(1));
    if (type == Packet)
        return takePacket(frame, refused);
    const int checked = frame.size() - crcSize;
    if (Checksum::crc32Bytes(frame, checked) != frame.mid(checked) || frame.size() != 12)
        return QByteArray();
    if (type == Announcement) {
        announce(be(frame, 2, 4), int(be(frame, 6, 2)));
    } else if (type == Abort) {
        ++aborts;
        announce(0, 0);
    }
    return QByteArray();
}

int BootLoader::packetIndex(const QByteArray &frame)
{
    if (frame.size() < packetHeaderSize || frame.at(0) != header || frame.at(1) != Packet)
        return -1;
    return int(be(frame, 2, 2));
}

int BootLoader::lastPayloadSize() const
{
    return packets == 0 ? packetSize : length - (packets - 1) * packetSize;
}

QByteArray BootLoader::receivedImage() const
{
    return packets > 0 && written.size() == packets ? image : QByteArray();
}

void BootLoader::reset()
{
    bootTimer.stop();
    started = false;
    waiting = 0;
    announce(0, 0);
}

void BootLoader::start()
{
    started = true;
    for (; waiting > 0; --waiting)
        emit updateResponse(response());
}

void BootLoader::announce(quint32 imageLength, int packetCount)
{
    // An announcement that does not add up (or none, 0 and 0) leaves no transfer to take.
    const bool fits = imageLength > 0 && packetCount == int((imageLength - 1) / packetSize + 1);
    length = fits ? int(imageLength) : 0;
    packets = fits ? packetCount : 0;
    image = QByteArray(length, '\0');
    written.clear();
    arrived.clear();
    writes = 0;
    acks = 0;
}

QByteArray BootLoader::takePacket(const QByteArray &frame, bool refused)
{
    const int index = packetIndex(frame);
    if (index < 0 || index >= packets)
        return QByteArray(); // no transfer, or not part of it
    arrived.insert(index);
    const int size = index == packets - 1 ? lastPayloadSize() : packetSize;
    const QByteArray payload = Tea::decrypt(frame.mid(packetHeaderSize, size));
    // The CRC covers the header and the payload as they were before encryption.
    const QByteArray plain = frame.left(packetHeaderSize) + payload;
    const bool good = !refused && frame.size() == packetHeaderSize + size + crcSize
        && Checksum::crc32Bytes(plain, plain.size()) == frame.right(crcSize);
    if (good) {
        image.replace(index * packetSize, size, payload);
        ++writes;
        const bool fresh = !written.contains(index);
        written.insert(index);
        if (fresh && written.size() == packets)
            emit imageComplete(image);
    }
    ++acks;
    QByteArray ack;
    ack.append(header).append(char(Acknowledgement)).append(frame.mid(2, 2));
    ack.append(char(good ? Written : ChecksumError));
    return withCrc(ack);
}

QByteArray BootLoader::response() const
{
    QByteArray bytes;
    bytes.append(header).append(char(Response));
    bytes.append(versionText.leftJustified(versionSize, '\0', true));
    return withCrc(bytes);
}
