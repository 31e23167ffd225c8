#include "protocol/reply.h"

#include "protocol/checksum.h"
#include "protocol/encoding.h"

namespace {

constexpr quint8 sensorHeader = 0x77;
constexpr quint8 firmwareHeader = 0x5A;
constexpr int shortestSensorReply = 7;
constexpr int shortestFirmwareReply = 8;

quint8 byteAt(const QByteArray &frame, int index)
{
    return index >= 0 && index < frame.size() ? quint8(frame.at(index)) : 0;
}

// The byte at index LEN holds the sum of bytes 1 to LEN - 1.
bool checksumPasses(const QByteArray &frame)
{
    const int len = byteAt(frame, 1);
    return len < frame.size() && Checksum::additive(frame, len) == byteAt(frame, len);
}

// The last four bytes hold the CRC-32 of everything before them.
bool crcPasses(const QByteArray &frame)
{
    const int n = frame.size() - 4;
    return n >= 0 && Checksum::crc32Bytes(frame, n) == frame.mid(n);
}

bool isSetAckCode(quint8 code)
{
    switch (code) {
    case 0x69:
    case 0x85:
    case 0x8A:
    case 0x8C:
    case 0x8E:
    case 0x42:
    case 0x65:
    case 0x6A:
    case 0x6B:
        return true;
    default:
        return false;
    }
}

Reply sensorReply(const QByteArray &frame)
{
    Reply reply;
    const quint8 len = byteAt(frame, 1);
    reply.code = byteAt(frame, 6);

    if (len == 0x0B && reply.code == 0x1F) {
        // The reply's own address bytes (2-5) are never compared.
        if (frame.size() > 11 && Checksum::additive(frame, 11) == byteAt(frame, 11)) {
            reply.kind = Reply::Address;
            reply.address = Encoding::addressText(frame, 7);
        }
        return reply;
    }
    if (reply.code == 0x8F || reply.code == 0x8B || isSetAckCode(reply.code)) {
        if (checksumPasses(frame)) {
            reply.kind = reply.code == 0x8F ? Reply::SetAddressAck
                : reply.code == 0x8B        ? Reply::BaudAck
                                            : Reply::SetAck;
        }
        return reply;
    }
    if (len == 0x0D && reply.code == 0x66) {
        // Shown even with a wrong checksum: the sensor's date reply has always been taken as is.
        reply.kind = Reply::DateTime;
        for (int i = 7; i <= 12; ++i)
            reply.dateTime.append(QString::asprintf("%02x", byteAt(frame, i)));
        return reply;
    }

    switch (reply.code) {
    case 0x56:
    case 0x53:
    case 0x57: {
        // Some sensors form this checksum with the code 0x10 lower; either sum is accepted.
        QByteArray reduced = frame;
        reduced[6] = char(reply.code - 0x10);
        if (checksumPasses(frame) || checksumPasses(reduced)) {
            if (reply.code == 0x57) {
                reply.kind = Reply::SleepQuery;
                reply.sleepText = QString::number((byteAt(frame, 7) << 8) | byteAt(frame, 8), 16);
            } else {
                reply.kind = Reply::MotionOrSleepAck;
            }
        }
        break;
    }
    case 0x8D:
        if (checksumPasses(frame)) {
            const int index = frame.size() > 7 ? int(qint8(frame.at(7))) : 0;
            // Any other value names no item of the combo box: the reply is not taken.
            if (index == 0 || index == 1 || index == -1) {
                reply.kind = Reply::ZeroMode;
                reply.zeroModeIndex = index == -1 ? 1 : index;
            }
        }
        break;
    case 0x83:
        if (checksumPasses(frame))
            reply.kind = Reply::LiveData;
        break;
    case 0x61:
    case 0x6D:
        reply.kind = crcPasses(frame) ? Reply::ReadbackPage : Reply::ReadbackPageBadCrc;
        break;
    case 0x63:
        if (checksumPasses(frame))
            reply.kind = Reply::DeleteAck;
        break;
    default:
        break;
    }
    return reply;
}

} // namespace

Reply classifyReply(const QByteArray &frame)
{
    const quint8 first = byteAt(frame, 0);
    if (first == sensorHeader && frame.size() >= shortestSensorReply)
        return sensorReply(frame);
    Reply reply;
    if (first == firmwareHeader && frame.size() >= shortestFirmwareReply) {
        reply.code = byteAt(frame, 1);
        if (crcPasses(frame)) {
            reply.kind = Reply::FirmwareReply;
            reply.firmwareInfo = reply.code == 0x81;
        }
    }
    return reply;
}
