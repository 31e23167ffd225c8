#include "protocol/replyassembler.h"

namespace {

constexpr quint8 sensorHeader = 0x77;
constexpr quint8 firmwareHeader = 0x5A;
constexpr quint8 moduleHeader = 0x4F; // 'O' of "OK+"
constexpr int shortestJudged = 8; // below this only the first byte is judged
constexpr int shortestSensorLength = 6; // LEN 6: byte 6 is both the code and the checksum
constexpr int shortestSensorFrame = shortestSensorLength + 1;
constexpr int firmwareInfoSize = 56; // 5A 81 reply with the version text
constexpr int firmwareAckSize = 9;

bool isReadbackCode(quint8 code)
{
    return code == 0x61 || code == 0x6D;
}

} // namespace

ReplyAssembler::Completion ReplyAssembler::check(const QByteArray &buffer)
{
    const int size = buffer.size();
    if (size == 0)
        return { NeedMore, 0 };
    const quint8 first = quint8(buffer.at(0));
    if (first == moduleHeader)
        return { ModuleText, 0 };
    if (first != sensorHeader && first != firmwareHeader)
        return { Discard, 0 };
    // Below eight bytes only a LEN 6 frame can be whole: its code byte is also its checksum.
    const bool shortFrame = first == sensorHeader && size >= shortestSensorFrame
                            && quint8(buffer.at(1)) == shortestSensorLength
                            && !isReadbackCode(quint8(buffer.at(6)));
    if (size < shortestJudged && !shortFrame)
        return { NeedMore, 0 };

    int expected = 0;
    if (first == firmwareHeader) {
        expected = quint8(buffer.at(1)) == 0x81 ? firmwareInfoSize : firmwareAckSize;
    } else {
        const quint8 len = quint8(buffer.at(1));
        if (isReadbackCode(quint8(buffer.at(6)))) {
            expected = readbackPageSize(len, quint8(buffer.at(2)));
        } else {
            // A shorter length byte cannot hold the reply code; no frame starts here.
            if (len < shortestSensorLength)
                return { Discard, 0 };
            expected = len + 1;
        }
    }
    if (size < expected)
        return { NeedMore, 0 };
    return { Complete, expected };
}

QByteArray ReplyAssembler::takeReply(QByteArray &buffer)
{
    const Completion completion = check(buffer);
    if (completion.kind == Discard)
        buffer.clear();
    if (completion.kind != Complete)
        return QByteArray();
    const QByteArray reply = buffer.left(completion.size);
    buffer.remove(0, completion.size);
    return reply;
}

int ReplyAssembler::readbackPageSize(quint8 records, quint8 flags)
{
    const int recordSize = (flags & 0x80) ? 36 : 24;
    return recordSize * records + 12;
}
