#include "sim/inputparser.h"

#include "protocol/checksum.h"

namespace {

constexpr char sensorHeader = 0x77;
constexpr char loaderHeader = 0x5A;
// The boot-loader entry request has a 1-byte address: 77 04 A C SUM is the shortest frame.
constexpr int shortestSensorLength = 4;
constexpr int loaderFixedSize = 12; // image announcement and abort
constexpr char loaderPacket = 0x02;
constexpr int loaderPayloadSize = 1024;
constexpr int loaderPacketOverhead = 8; // 5A 02, packet index, CRC-32

} // namespace

QVector<InputParser::Unit> InputParser::feed(const QByteArray &bytes)
{
    buffer.append(bytes);
    return drain(false);
}

QVector<InputParser::Unit> InputParser::flush()
{
    return drain(true);
}

void InputParser::clear()
{
    buffer.clear();
    discarded = 0;
}

QVector<InputParser::Unit> InputParser::drain(bool giveUp)
{
    QVector<Unit> units;
    while (!buffer.isEmpty()) {
        Kind kind = SensorFrame;
        int size = 0;
        const Verdict verdict = examine(kind, size);
        if (verdict == Complete) {
            units.append({kind, buffer.left(size)});
            buffer.remove(0, size);
            if (kind == LoaderFrame && units.last().bytes.at(1) != loaderPacket)
                break;
        } else if (verdict == Invalid || giveUp) {
            dropFirstByte();
        } else {
            break;
        }
    }
    return units;
}

InputParser::Verdict InputParser::examine(Kind &kind, int &size) const
{
    switch (buffer.at(0)) {
    case sensorHeader:
        kind = SensorFrame;
        return examineSensorFrame(size);
    case loaderHeader:
        kind = LoaderFrame;
        return examineLoaderFrame(size);
    case 'A':
        kind = CommandLine;
        return examineLine(size);
    default:
        return Invalid;
    }
}

InputParser::Verdict InputParser::examineSensorFrame(int &size) const
{
    if (buffer.size() < 2)
        return NeedMore;
    const int len = quint8(buffer.at(1));
    if (len < shortestSensorLength)
        return Invalid;
    if (buffer.size() < len + 1)
        return NeedMore;
    if (char(Checksum::additive(buffer, len)) != buffer.at(len))
        return Invalid;
    size = len + 1;
    return Complete;
}

InputParser::Verdict InputParser::examineLoaderFrame(int &size) const
{
    if (buffer.size() < 2)
        return NeedMore;
    switch (buffer.at(1)) {
    case 0x01:
    case 0x03:
        size = loaderFixedSize;
        break;
    case loaderPacket: {
        if (buffer.size() < 4)
            return NeedMore;
        const int index = quint8(buffer.at(2)) << 8 | quint8(buffer.at(3));
        const bool last = index == loaderPackets - 1;
        size = (last ? lastLoaderPayload : loaderPayloadSize) + loaderPacketOverhead;
        break;
    }
    default:
        return Invalid;
    }
    return buffer.size() < size ? NeedMore : Complete;
}

InputParser::Verdict InputParser::examineLine(int &size) const
{
    if (buffer.size() < 2)
        return NeedMore;
    if (buffer.at(1) != 'T')
        return Invalid;
    const int end = buffer.indexOf('\n');
    if (end >= 0 && end < longestLine) {
        size = end + 1;
        return Complete;
    }
    return buffer.size() >= longestLine ? Invalid : NeedMore;
}

void InputParser::dropFirstByte()
{
    buffer.remove(0, 1);
    ++discarded;
}
