#include "firmware/firmwareupgrade.h"

#include "firmware/tea.h"
#include "protocol/checksum.h"

namespace {

constexpr char loaderHeader = 0x5A;
constexpr quint8 updateResponse = 0x81;
constexpr quint8 acknowledgement = 0x82;
constexpr quint8 written = 1;
constexpr quint8 checksumError = 2;

void appendBigEndian(QByteArray &bytes, quint32 value, int size)
{
    for (int shift = 8 * (size - 1); shift >= 0; shift -= 8)
        bytes.append(char(value >> shift));
}

bool isReply(const QByteArray &reply, quint8 code)
{
    return reply.size() >= 2 && quint8(reply.at(1)) == code;
}

} // namespace

void FirmwareUpgrade::start(const Target &upgrade)
{
    target = upgrade;
    current = Step::Requesting;
    lastReply.clear();
    requestsSent = 0;
    packetIndex = 0;
    waitTicks = 0;
    interval = tickMs;
}

FirmwareUpgrade::Tick FirmwareUpgrade::tick()
{
    Tick tick;
    switch (current) {
    case Step::Requesting:
        tick.send = updateRequest(target.address, target.addressWidth, target.updateCommand);
        tick.notes << Note::RequestSent;
        if (++requestsSent >= 2)
            current = Step::Announcing;
        break;
    case Step::Announcing:
        if (!isReply(lastReply, updateResponse)) {
            interval = announceMs;
            tick.send = announcement(target.image.size(), packetCount());
            tick.notes << Note::RequestSent;
            break;
        }
        lastReply.clear();
        interval = tickMs;
        current = Step::Transferring;
        packetIndex = 0;
        waitTicks = 0;
        tick.send = packet(0);
        tick.notes << Note::ResponseReceived << Note::Progress;
        tick.percent = float(packetIndex + 1) / float(packetCount()) * 100.0f;
        break;
    case Step::Transferring:
        tick = transferTick(tick);
        break;
    default:
        break;
    }
    tick.nextMs = running() ? interval : 0;
    return tick;
}

FirmwareUpgrade::Tick FirmwareUpgrade::transferTick(Tick tick)
{
    ++waitTicks;
    const QByteArray reply = lastReply;
    lastReply.clear();
    if (!isReply(reply, acknowledgement)) {
        if (waitTicks > waitLimit) {
            tick.notes << Note::TimedOutResend;
            tick.send = packet(packetIndex);
            waitTicks = 0;
        }
        return tick;
    }
    // An acknowledgement of another packet (a late one for an earlier repeat) is not this one's.
    if (reply.size() < 5 || (quint8(reply.at(2)) << 8 | quint8(reply.at(3))) != packetIndex)
        return tick;
    switch (quint8(reply.at(4))) {
    case written:
        if (packetIndex + 1 == packetCount()) {
            tick.notes << Note::Written << Note::Completed;
            current = Step::Finished;
            break;
        }
        ++packetIndex;
        tick.send = packet(packetIndex);
        tick.notes << Note::Progress;
        tick.percent = float(packetIndex + 1) / float(packetCount()) * 100.0f;
        waitTicks = 0;
        break;
    case checksumError:
        tick.notes << Note::ChecksumResend;
        tick.send = packet(packetIndex);
        waitTicks = 0;
        break;
    default:
        break;
    }
    return tick;
}

void FirmwareUpgrade::takeReply(const QByteArray &reply)
{
    // Only what the step waits for is kept: the loader answers both update requests, and the
    // second answer must not take the place of the first packet's acknowledgement.
    if (current == Step::Transferring ? isReply(reply, acknowledgement)
                                      : isReply(reply, updateResponse))
        lastReply = reply;
}

void FirmwareUpgrade::cancel()
{
    current = Step::Idle;
    lastReply.clear();
}

int FirmwareUpgrade::packetCount() const
{
    return int((target.image.size() + packetSize - 1) / packetSize);
}

QByteArray FirmwareUpgrade::updateRequest(quint32 address, int width, quint8 command)
{
    QByteArray frame;
    frame.append(char(0x77)).append(char(width + 3));
    appendBigEndian(frame, address, width);
    frame.append(char(command));
    return frame.append(char(Checksum::additive(frame, frame.size())));
}

QByteArray FirmwareUpgrade::announcement(int imageLength, int packets)
{
    QByteArray frame;
    frame.append(loaderHeader).append(char(0x01));
    appendBigEndian(frame, quint32(imageLength), 4);
    appendBigEndian(frame, quint32(packets), 2);
    return frame + Checksum::crc32Bytes(frame, frame.size());
}

QByteArray FirmwareUpgrade::abortFrame(int imageLength)
{
    QByteArray frame;
    frame.append(loaderHeader).append(char(0x03)).append(char(0x01));
    appendBigEndian(frame, quint32(imageLength), 4);
    frame.append(char(0x00));
    return frame + Checksum::crc32Bytes(frame, frame.size());
}

QByteArray FirmwareUpgrade::packet(int index) const
{
    // The last packet carries what is left; every other one a full packet.
    QByteArray frame;
    frame.append(loaderHeader).append(char(0x02));
    appendBigEndian(frame, quint32(index), 2);
    const QByteArray payload = target.image.mid(index * packetSize, packetSize);
    const QByteArray crc = Checksum::crc32Bytes(frame + payload, frame.size() + payload.size());
    return frame + Tea::encrypt(payload) + crc;
}
