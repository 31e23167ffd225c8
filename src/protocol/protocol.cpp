#include "protocol/protocol.h"

#include "protocol/checksum.h"
#include "protocol/encoding.h"

#include <algorithm>

namespace {

constexpr char frameHeader = 0x77;
constexpr int maximumLength = 255; // LEN travels in one byte

QByteArray header(quint32 address, int len, int code)
{
    QByteArray frame;
    frame.reserve(len + 1);
    frame.append(frameHeader);
    frame.append(char(len));
    for (int shift = 24; shift >= 0; shift -= 8)
        frame.append(char(address >> shift));
    frame.append(char(code));
    return frame;
}

// The frame holds bytes 0..LEN-1 here; the checksum becomes byte LEN.
QByteArray sealed(QByteArray frame)
{
    frame.append(char(Checksum::additive(frame, frame.size())));
    return frame;
}

} // namespace

namespace Protocol {

quint32 parseAddress(const QString &text)
{
    return Encoding::hexValue(text);
}

QByteArray buildAddressQuery()
{
    return QByteArray("\x77\x07\x00\x00\x00\x00\x1f\x26", 8);
}

QByteArray buildFrame(quint32 address, const SensorRequest &request)
{
    // LEN is one byte: data beyond 248 bytes cannot be expressed and is cut.
    const int len = std::min(request.length(), maximumLength);
    return sealed(header(address, len, request.command) + request.data.left(len - 7));
}

QByteArray buildReadbackFrame(quint32 address, const ReadbackRequest &request)
{
    QByteArray frame = header(address, request.shortForm ? 8 : 12, request.command);
    frame.append(char(request.subCode));
    if (!request.shortForm) {
        frame.append(char(request.rangeBegin >> 8));
        frame.append(char(request.rangeBegin & 0xFF));
        frame.append(char(request.rangeEnd >> 8));
        frame.append(char(request.rangeEnd & 0xFF));
    }
    return sealed(frame);
}

} // namespace Protocol
